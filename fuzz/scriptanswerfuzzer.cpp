// An export script's answer text through the decoders and the failure mapping of both exports.

#include "fuzzcheck.h"

#include "export/exportscriptbridge.h"
#include "export/logiclogicxexporter.h"
#include "export/protoolsptxexporter.h"

#include <cstddef>
#include <cstdint>

using namespace kelvary;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size))
            .trimmed();

    const std::optional<ScriptFailure> failure = decodeScriptJSON<ScriptFailure>(text);
    const auto proTools = decodeScriptJSON<ProToolsPTXExporter::ScriptSuccess>(text);
    const auto logic = decodeScriptJSON<LogicLogicXExporter::ScriptSuccess>(text);
    // Every answer the decoders accept is one JSON object.
    if (failure || proTools || logic)
        KELVARY_FUZZ_CHECK(scriptJSONObject(text).has_value());

    for (const ExportScriptSetup &setup :
         {ProToolsPTXExporter().scriptSetup(), LogicLogicXExporter().scriptSetup()}) {
        const ScriptRun onStandardOutput{1, false, text, {}};
        const ScriptRun onStandardError{1, false, {}, text};
        const Error first = failedRunError(setup, onStandardOutput);
        const Error second = failedRunError(setup, onStandardError);
        // The answer is read the same from either output.
        KELVARY_FUZZ_CHECK(first.message() == second.message());
    }
    return 0;
}
