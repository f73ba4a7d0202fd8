#include "model/fileio.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace kelvary {

Result<QByteArray> readWholeFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return Error(QStringLiteral("无法打开文件“%1”：%2")
                         .arg(QFileInfo(path).fileName(), file.errorString()));
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return Error(QStringLiteral("无法读取文件“%1”：%2")
                         .arg(QFileInfo(path).fileName(), file.errorString()));
    }
    return bytes;
}

Result<void> writeWholeFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    const auto failure = [&] {
        return Error(QStringLiteral("无法写入文件“%1”：%2")
                         .arg(QFileInfo(path).fileName(), file.errorString()));
    };
    if (!file.open(QIODevice::WriteOnly))
        return failure();
    if (file.write(bytes) != bytes.size()) {
        const Error error = failure();
        file.cancelWriting();
        return error;
    }
    if (!file.commit())
        return failure();
    return {};
}

} // namespace kelvary
