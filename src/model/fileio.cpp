#include "model/fileio.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace kelvary {

QString fileErrorReason(QFileDevice::FileError error, int systemError, const QString &systemText)
{
    switch (systemError) {
    case ENOENT:
        return u"文件或文件夹不存在。"_s;
    case EACCES:
    case EPERM:
        return u"没有访问权限。"_s;
    case EISDIR:
        return u"这是一个文件夹，不是文件。"_s;
    case ENOSPC:
    case EDQUOT:
        return u"磁盘空间已满。"_s;
    case EROFS:
        return u"所在的文件系统是只读的。"_s;
    case ENOTDIR:
        return u"路径中有一项不是文件夹。"_s;
    case ENAMETOOLONG:
        return u"文件名过长。"_s;
    default:
        break;
    }
    if (error == QFileDevice::PermissionsError)
        return u"没有访问权限。"_s;
    if (error == QFileDevice::ResourceError)
        return u"磁盘空间已满。"_s;
    if (systemText.isEmpty())
        return u"系统报告了错误。"_s;
    return u"系统报告了错误（%1）。"_s.arg(systemText);
}

QString fileErrorReason(const QFileDevice &file, const QString &path, int systemError)
{
    // Qt refuses a folder by its own check, which leaves no error number to go by.
    if (QFileInfo(path).isDir())
        return fileErrorReason(file.error(), EISDIR, file.errorString());
    // With the path at hand, "no such file or folder" can say which of the two is missing.
    if (systemError == ENOENT) {
        const QDir folder = QFileInfo(path).absoluteDir();
        if (!folder.exists())
            return u"文件夹“%1”不存在。"_s.arg(QDir::toNativeSeparators(folder.path()));
        return u"文件不存在。"_s;
    }
    return fileErrorReason(file.error(), systemError, file.errorString());
}

QString fileWriteErrorReason(const QFileDevice &file, const QString &path, int systemError)
{
    if (systemError == ENOTDIR) {
        // Some folder on the way is a file: the nearest one that exists is the culprit.
        QFileInfo step(QFileInfo(path).absolutePath());
        while (!step.exists() && !step.isRoot())
            step = QFileInfo(step.path());
        if (step.exists() && !step.isDir())
            return u"“%1”不是文件夹。"_s.arg(QDir::toNativeSeparators(step.filePath()));
    }
    return fileErrorReason(file, path, systemError);
}

QString errorMessage(FileReadError error)
{
    switch (error) {
    case FileReadError::tooLarge:
        return u"文件过大。"_s;
    }
    Q_UNREACHABLE();
    return {};
}

Result<QByteArray> readWholeFile(const QString &path, std::optional<qint64> maximumSize)
{
    QFile file(path);
    const auto failure = [&](const char16_t *text, int systemError) {
        return Error(QString::fromUtf16(text).arg(QFileInfo(path).fileName(),
                                                  fileErrorReason(file, path, systemError)));
    };
    if (!file.open(QIODevice::ReadOnly))
        return failure(u"无法打开文件“%1”：%2", errno);
    if (maximumSize && file.size() > *maximumSize)
        return FileReadError::tooLarge;
    // A device, a pipe or a file of /proc tells no size; only they are read up to the limit.
    const bool sizeUnknown = file.isSequential() || file.size() == 0;
    QByteArray bytes = maximumSize && sizeUnknown ? file.read(*maximumSize + 1) : file.readAll();
    if (file.error() != QFileDevice::NoError)
        return failure(u"无法读取文件“%1”：%2", errno);
    if (maximumSize && bytes.size() > *maximumSize)
        return FileReadError::tooLarge;
    return bytes;
}

std::optional<int> writeCompletely(QFileDevice &file, const QByteArray &bytes)
{
    errno = 0;
    const qint64 written = file.write(bytes);
    if (written == bytes.size())
        return std::nullopt;
    // A write the file system cut short sets no error of Qt's; the errno of the write that got
    // nothing more tells why, and a disk that filled up is all that leaves no errno behind.
    return errno != 0 ? errno : ENOSPC;
}

Result<void> writeWholeFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    const auto failure = [&](int systemError) {
        return Error(u"无法写入文件“%1”：%2"_s.arg(
            QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()),
            fileWriteErrorReason(file, path, systemError)));
    };
    // NOTE: unbuffered, so that a full disk shows in write()'s count. Buffered, the bytes reach
    // the disk only inside commit(), which then renames a cut-off file over the old one and still
    // reports success.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failure(errno);
    if (const std::optional<int> systemError = writeCompletely(file, bytes)) {
        const Error error = failure(*systemError);
        file.cancelWriting();
        return error;
    }
    // commit() syncs too but ignores what the sync says; a file system that only finds out then
    // that the blocks are not there must not get to replace the old file.
    if (::fsync(file.handle()) != 0 && errno != EINVAL) {
        const Error error = failure(errno);
        file.cancelWriting();
        return error;
    }
    errno = 0;
    if (!file.commit())
        return failure(errno);
    return {};
}

} // namespace kelvary
