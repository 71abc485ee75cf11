// Fuzz target for the favourites record value "name&address": splitting any
// stored value, and names and addresses of any text coming back whole.
#include "store/FavRecord.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// As in the record file target: with CORVANE_FUZZ_REPEAT set each input is
// repeated to about 128K characters so a super-linear cost times out.
constexpr qsizetype kRepeatedChars = qsizetype(1) << 17;
const bool g_repeat = std::getenv("CORVANE_FUZZ_REPEAT") != nullptr;

void require(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "fuzz_favrecord: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // UTF-8 keeps '&' and '%' one byte wide, easy for the fuzzer to place.
    QString value = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    if (g_repeat && !value.isEmpty()) {
        value = value.repeated(kRepeatedChars / value.size() + 1);
        FavRecord::split(value, nullptr, nullptr);
        QString name;
        FavRecord::split(value, &name, nullptr);
        FavRecord::decodeName(value);
        FavRecord::encodeName(value);
        return 0;
    }

    // Any stored value: split at the first '&', the address kept verbatim.
    QString name;
    QString address;
    const qsizetype separator = value.indexOf(QLatin1Char('&'));
    require(FavRecord::split(value, &name, &address) == (separator >= 0), "split result");
    if (separator >= 0) {
        require(address == value.mid(separator + 1), "address changed");
        require(name == FavRecord::decodeName(value.left(separator)), "name differs");
        require(name.size() <= separator, "decoded name grew");
    }

    // Any name and address come back whole; the stored name has no '&'.
    const QString stored = FavRecord::encodeName(value);
    require(!stored.contains(QLatin1Char('&')), "encoded name holds a separator");
    require(FavRecord::decodeName(stored) == value, "name does not decode back");
    QString backName;
    QString backAddress;
    require(FavRecord::split(FavRecord::join(value, value), &backName, &backAddress),
            "joined record does not split");
    require(backName == value && backAddress == value, "joined record differs");
    return 0;
}
