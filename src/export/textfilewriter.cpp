#include "export/textfilewriter.h"

#include <QSaveFile>

namespace kelvary {

Result<void> writeTextFile(const QString &filePath, const QString &text)
{
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly))
        return Error(file.errorString());
    const QByteArray bytes = text.toUtf8();
    if (file.write(bytes) != bytes.size()) {
        const QString message = file.errorString();
        file.cancelWriting();
        return Error(message);
    }
    if (!file.commit())
        return Error(file.errorString());
    return {};
}

} // namespace kelvary
