#pragma once

#include "app/filepanels.h"

namespace kelvary {

// The kinds of file Kelvary's open and save panels offer.
// Every file a console's channel list is imported from: DiGiCo Session Reports, X32/M32 scenes,
// WING snapshots and channel lists saved from a spreadsheet.
inline const FileType consoleFileType{QStringLiteral("调音台文件"),
                                      {QStringLiteral("rtf"), QStringLiteral("txt"),
                                       QStringLiteral("scn"), QStringLiteral("snap"),
                                       QStringLiteral("csv"), QStringLiteral("tsv")}};
inline const FileType projectFileType{QStringLiteral("Kelvary 工程"), {QStringLiteral("kvp")}};
inline const FileType reaperTemplateFileType{QStringLiteral("Reaper 轨道模版"),
                                             {QStringLiteral("RTrackTemplate")}};
inline const FileType pdfFileType{QStringLiteral("PDF"), {QStringLiteral("pdf")}};
// The Ardour export makes a folder, not a file: the name chosen becomes the folder and the
// session file in it. No extensions: every name is offered.
inline const FileType ardourSessionFolderType{
    QStringLiteral("Ardour 会话文件夹（内含同名 .ardour 会话文件）"), {}};

} // namespace kelvary
