#include "model/fileio.h"

#include <QFile>
#include <QFileInfo>

namespace kelvary {

Result<QByteArray> readWholeFile(const QString &path) {
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

} // namespace kelvary
