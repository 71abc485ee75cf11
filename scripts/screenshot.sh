#!/usr/bin/env bash
# Makes docs/screenshot.png: the real Corvane window under Xvfb, in a
# throwaway application and home folder, showing the welcome page that this
# script serves itself on loopback (so the address box names no folder of
# this machine), opened from the command line.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
scripts/setup-deps.sh xvfb xauth x11-apps imagemagick xdotool python3
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target corvane

work=$(mktemp -d)
port=8731
page="http://127.0.0.1:$port/welcome.html"
mkdir -p "$work/app" "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
cp build/corvane build/corvane-browser build/corvane-engine.so "$work/app/"
printf '"%s"\r\n' "$page" > "$work/app/Hpage.dat"
printf '"http://www.example.org/"\r\n"https://www.debian.org"\r\n' > "$work/app/WebHis.dat"

# Xvfb picks a free display and writes its number.
Xvfb -displayfd 3 -screen 0 1000x700x24 -nolisten tcp 3>"$work/display" &
xvfb=$!
browser=""
trap 'kill $browser $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
display=:$(cat "$work/display")

# The page server and the browser share one network (as root a private one
# that holds only loopback); stopping the shell stops both.
inner='ip link set lo up 2>/dev/null || true
(cd "$1" && exec python3 -m http.server "$2" --bind 127.0.0.1) >/dev/null 2>&1 &
server=$!
for i in $(seq 50); do
  python3 -c "import socket,sys; socket.create_connection((\"127.0.0.1\", int(sys.argv[1])))" "$2" 2>/dev/null && break
  sleep 0.1
done
shift 2
"$@" &
program=$!
trap "kill $program $server 2>/dev/null" TERM
wait $program'
flags="--disable-background-networking --disable-component-update"
[ "$(id -u)" -eq 0 ] && flags="$flags --no-sandbox"
run=(sh -c "$inner" sh "$root/docs" $port
     env DISPLAY=$display QT_QPA_PLATFORM=xcb HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime"
     XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
     QTWEBENGINE_CHROMIUM_FLAGS="$flags" "$work/app/corvane" "$page")
if [ "$(id -u)" -eq 0 ]; then
  unshare -n -- "${run[@]}" &
else
  "${run[@]}" &
fi
browser=$!

# The window's caption carries the page's title once the page has loaded.
for _ in $(seq 120); do
  DISPLAY=$display xdotool search --name "Welcome to Corvane" >/dev/null 2>&1 && break
  sleep 0.5
done
sleep 2
xwd -root -display $display -silent | convert xwd:- -trim +repage docs/screenshot.png
echo "wrote docs/screenshot.png"
