#pragma once

#include "export/ardoursessionexporter.h"
#include "export/logiclogicxexporter.h"
#include "export/protoolsptxexporter.h"
#include "export/reapertemplateexporter.h"

namespace kelvary {

// One exporter per template format. None keeps state between exports, so one value serves every
// export; the Reaper writer carries how it numbers the inputs, the Ardour writer its capture
// port pattern and sample rate.
struct TemplateExporter {
    ReaperTemplateExporter reaper;
    ArdourSessionExporter ardour;
    ProToolsPTXExporter proToolsPTX;
    LogicLogicXExporter logicLogicX;

    bool operator==(const TemplateExporter &) const = default;
};

} // namespace kelvary
