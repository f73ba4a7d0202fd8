#pragma once

#include "app/filepanels.h"

namespace kelvary {

// The kinds of file Kelvary's open and save panels offer.
inline const FileType sessionReportFileType{QStringLiteral("DiGiCo Session Report"),
                                            {QStringLiteral("rtf"), QStringLiteral("txt")}};
inline const FileType projectFileType{QStringLiteral("Kelvary 工程"), {QStringLiteral("kvp")}};
inline const FileType reaperTemplateFileType{QStringLiteral("Reaper 轨道模版"),
                                             {QStringLiteral("RTrackTemplate")}};
inline const FileType pdfFileType{QStringLiteral("PDF"), {QStringLiteral("pdf")}};

} // namespace kelvary
