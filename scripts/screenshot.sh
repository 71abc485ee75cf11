#!/usr/bin/env bash
# Makes docs/screenshot.png: the real Corvane window under Xvfb, showing the
# local welcome page, in a throwaway application and home folder.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
scripts/setup-deps.sh xvfb xauth x11-apps imagemagick
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target corvane

work=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$work/app" "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
cp build/corvane "$work/app/"
printf '"file://%s/docs/welcome.html"\r\n' "$root" > "$work/app/Hpage.dat"
printf '"http://www.example.org/"\r\n"https://www.debian.org"\r\n' > "$work/app/WebHis.dat"

display=:77
Xvfb $display -screen 0 1000x700x24 -nolisten tcp &
xvfb=$!
sleep 1
flags="--disable-background-networking --disable-component-update"
[ "$(id -u)" -eq 0 ] && flags="$flags --no-sandbox"
run=(env DISPLAY=$display QT_QPA_PLATFORM=xcb HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime"
     XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
     QTWEBENGINE_CHROMIUM_FLAGS="$flags" "$work/app/corvane")
if [ "$(id -u)" -eq 0 ]; then
  unshare -n -- sh -c 'ip link set lo up && exec "$@"' sh "${run[@]}" &
else
  "${run[@]}" &
fi
browser=$!
sleep 6
xwd -root -display $display -silent | convert xwd:- -trim +repage docs/screenshot.png
kill $browser 2>/dev/null || true
wait $browser 2>/dev/null || true
echo "wrote docs/screenshot.png"
