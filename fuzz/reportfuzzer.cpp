// Console file bytes through the Session Report's text extraction, rich text tokenizer and
// parser, and through the entry point that tells scenes, snapshots and channel lists apart.

#include "fuzzcheck.h"

#include "import/consolefilereader.h"
#include "import/digicosessionparser.h"

#include <QSet>

#include <algorithm>
#include <cstddef>
#include <cstdint>

using namespace kelvary;

namespace {

// Every refusal names its reason; every track that comes out is one the app can hold.
void checkSession(const Result<ParsedSession> &session, bool namesRequired)
{
    if (!session) {
        KELVARY_FUZZ_CHECK(!session.error().message().isEmpty());
        return;
    }
    KELVARY_FUZZ_CHECK(!session->tracks.isEmpty());
    QSet<QUuid> ids;
    for (const TrackChannel &track : session->tracks) {
        KELVARY_FUZZ_CHECK(!track.channelLabel.isEmpty());
        KELVARY_FUZZ_CHECK(!namesRequired || !track.name.isEmpty());
        KELVARY_FUZZ_CHECK(!track.id.isNull() && !ids.contains(track.id));
        ids.insert(track.id);
        // Whatever the bytes were, the text handed on is well-formed UTF-16.
        KELVARY_FUZZ_CHECK(track.name.isValidUtf16());
        KELVARY_FUZZ_CHECK(track.inputRoute.isValidUtf16());
        KELVARY_FUZZ_CHECK(std::none_of(track.name.begin(), track.name.end(),
                                        [](QChar c) { return c < u' ' && c != u'\t'; }));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // A copy, as a file read gives one: Qt may rely on the terminating NUL of its own buffers.
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const Result<ParsedSession> report =
        DigicoSessionParser().parseData(bytes, QStringLiteral("fuzz.rtf"));
    checkSession(report, true);
    checkSession(readConsoleFile(bytes, QStringLiteral("fuzz.scn")), false);
    return 0;
}
