#pragma once

#include "model/result.h"
#include "model/trackchannel.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace kelvary {

enum class DigicoParseError {
    unreadableFile,
    emptyReport,
    noChannelsFound,
    reportTooLarge,
    richTextNestedTooDeep,
    notAReport,
};
QString errorMessage(DigicoParseError error);

// Reads a DiGiCo Session Report: five header facts and one track per channel row. Tolerant of
// how rows are separated (tabs, runs of spaces, single spaces); keeps no state between calls.
class DigicoSessionParser {
public:
    // Session Reports are well under a megabyte; a file this large is not one, and is refused
    // before it is read.
    static constexpr qint64 maximumReportSize = 64 * 1024 * 1024;

    // Reading the file can fail with the file system's own error, passed on unchanged. A read
    // report puts its unread lines in `unreadLines`, when given: lines of a channel list, or of
    // the whole report when it is read without sections, that start with a channel label but
    // hold no name ("5 DANTE 5"). They are skipped; the user is told about them.
    Result<ParsedSession> parse(const QString &path, QStringList *unreadLines = nullptr) const;

    // A report already in memory; `fileName` stands for the file's last path component.
    Result<ParsedSession> parseData(const QByteArray &bytes, const QString &fileName,
                                    QStringList *unreadLines = nullptr) const;

    // A report already turned into text.
    Result<ParsedSession> parseText(const QString &text, const QString &fileName,
                                    QStringList *unreadLines = nullptr) const;
};

// The bytes of the file at `path`, refused with reportTooLarge (saying how large) when there are
// more than maximumReportSize of them; any other failure is the file system's own.
Result<QByteArray> readReportFile(const QString &path);

} // namespace kelvary
