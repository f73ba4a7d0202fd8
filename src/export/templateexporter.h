#pragma once

#include "export/logiclogicxexporter.h"
#include "export/protoolsptxexporter.h"
#include "export/reapertemplateexporter.h"

namespace kelvary {

// One exporter per template format. None keeps state between exports, so one value serves every
// export; the Reaper writer only carries how it numbers the inputs.
struct TemplateExporter {
    ReaperTemplateExporter reaper;
    ProToolsPTXExporter proToolsPTX;
    LogicLogicXExporter logicLogicX;

    bool operator==(const TemplateExporter &) const = default;
};

} // namespace kelvary
