#pragma once

#include "model/result.h"

#include <QByteArray>
#include <QFileDevice>
#include <QString>

#include <optional>

namespace kelvary {

// Why a file operation failed, in Kelvary's own words, chosen by the system's error number and
// else by Qt's kind of error. A reason of no known kind keeps the system's text in parentheses.
QString fileErrorReason(QFileDevice::FileError error, int systemError, const QString &systemText);

// The reason for the failure `file` had at `path`, with the errno read right after it. A missing
// file reads "文件不存在。", a missing folder is named: "文件夹“/x/y”不存在。".
QString fileErrorReason(const QFileDevice &file, const QString &path, int systemError);

// The reason a file could not be created at `path`: as fileErrorReason, except that a file on the
// way that should be a folder is named: "“/x/y”不是文件夹。".
QString fileWriteErrorReason(const QFileDevice &file, const QString &path, int systemError);

enum class FileReadError { tooLarge };
QString errorMessage(FileReadError error);

// The whole content of a file. One larger than `maximumSize` is refused with tooLarge before more
// than that is read, whatever size it claims (a device or a pipe claims none). Any other failure
// names the file and says why in Kelvary's words.
Result<QByteArray> readWholeFile(const QString &path,
                                 std::optional<qint64> maximumSize = std::nullopt);

// Writes all of `bytes` to an open, unbuffered `file`; the errno of the failure when the count
// falls short, ENOSPC when the file system gave none.
std::optional<int> writeCompletely(QFileDevice &file, const QByteArray &bytes);

// Replaces the file at `path` with `bytes` only once they are completely on disk, so a failed
// write leaves an earlier file as it was. A failure names the file by its whole path and says why.
Result<void> writeWholeFile(const QString &path, const QByteArray &bytes);

} // namespace kelvary
