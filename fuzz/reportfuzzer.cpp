// Session Report bytes through text extraction, the rich text tokenizer and the parser together.

#include "fuzzcheck.h"

#include "import/digicosessionparser.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

using namespace kelvary;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // A copy, as a file read gives one: Qt may rely on the terminating NUL of its own buffers.
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const Result<ParsedSession> session =
        DigicoSessionParser().parseData(bytes, QStringLiteral("fuzz.rtf"));
    if (!session) {
        // Every refusal names its reason to the user.
        KELVARY_FUZZ_CHECK(!session.error().message().isEmpty());
        return 0;
    }
    KELVARY_FUZZ_CHECK(!session->tracks.isEmpty());
    for (const TrackChannel &track : session->tracks) {
        KELVARY_FUZZ_CHECK(!track.channelLabel.isEmpty());
        KELVARY_FUZZ_CHECK(!track.name.isEmpty());
        KELVARY_FUZZ_CHECK(!track.id.isNull());
        // Whatever the bytes were, the text handed on is well-formed UTF-16.
        KELVARY_FUZZ_CHECK(track.name.isValidUtf16());
        KELVARY_FUZZ_CHECK(track.inputRoute.isValidUtf16());
        KELVARY_FUZZ_CHECK(std::none_of(track.name.begin(), track.name.end(),
                                        [](QChar c) { return c < u' ' && c != u'\t'; }));
    }
    return 0;
}
