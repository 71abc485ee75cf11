// Fuzz target for the session file reader: any bytes read as a session or
// as damaged, never a crash, and a session read writes back to the same.
#include "store/SessionFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {
void require(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "fuzz_sessionfile: %s\n", what);
        std::abort();
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Raw bytes seldom pass the checksum: also wrap them as a payload, so
    // the fuzzer reaches the tab records.
    const QByteArray raw(reinterpret_cast<const char *>(data), qsizetype(size));
    SessionFile::Status status = SessionFile::Status::Ok;
    if (const auto session = SessionFile::decode(raw, &status)) {
        require(status == SessionFile::Status::Ok, "status of a session read");
        require(SessionFile::decode(SessionFile::encode(*session)) == *session, "round trip");
    }
    Session wrapped;
    wrapped.tabs = {{QString::fromUtf8(raw), QString::fromLatin1(raw), int(size), raw}};
    const QByteArray bytes = SessionFile::encode(wrapped);
    require(SessionFile::decode(bytes) == wrapped, "wrapped round trip");
    // The payload's own bytes, as a file carrying them would.
    const auto again = SessionFile::decode(bytes.left(bytes.size() - qsizetype(size % 7)));
    require(size % 7 == 0 ? bool(again) : !again, "shortened file");
    return 0;
}
