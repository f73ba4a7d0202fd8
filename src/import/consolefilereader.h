#pragma once

#include "model/result.h"
#include "model/trackchannel.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace kelvary {

// A console's channel list from any file Kelvary reads one from, the kind told by the content
// and never by the name: a WING snapshot (JSON), an X32/M32 scene (its "#4.0#" header), a
// channel list typed in a spreadsheet (a header row naming its columns), and otherwise a DiGiCo
// Session Report with that reader's own messages. `fileName` stands for the file's last path
// component. Every track has a fresh id; those that start included say so. A Session Report
// puts the lines it could not read as channels in `unreadLines`, when given.
Result<ParsedSession> readConsoleFile(const QByteArray &bytes, const QString &fileName,
                                      QStringList *unreadLines = nullptr);

// The file at `path`, refused before it is read when it is larger than any report.
Result<ParsedSession> readConsoleFileAt(const QString &path, QStringList *unreadLines = nullptr);

} // namespace kelvary
