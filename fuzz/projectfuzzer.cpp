// Project file bytes through the reader; whatever it accepts must survive a save and a reopen.

#include "fuzzcheck.h"

#include "app/projectdocument.h"

#include <cstddef>
#include <cstdint>

using namespace kelvary;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const Result<ProjectDocumentSnapshot> document = readProjectDocument(bytes);
    if (!document) {
        KELVARY_FUZZ_CHECK(!document.error().message().isEmpty());
        return 0;
    }

    // What was opened is saved; the saved file opens again and saves to the very same bytes, so
    // an open and save cycle never drifts or loses a track.
    const QByteArray saved = writeProjectDocument(*document);
    const Result<ProjectDocumentSnapshot> reopened = readProjectDocument(saved);
    KELVARY_FUZZ_CHECK(reopened.ok());
    KELVARY_FUZZ_CHECK(reopened->session.tracks.size() == document->session.tracks.size());
    KELVARY_FUZZ_CHECK(writeProjectDocument(*reopened) == saved);
    return 0;
}
