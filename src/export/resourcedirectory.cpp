#include "export/resourcedirectory.h"

#include <QCoreApplication>
#include <QDir>

namespace kelvary {

QString resourceDirectory()
{
    if (!QCoreApplication::instance())
        return {};
    return QDir::cleanPath(QCoreApplication::applicationDirPath() +
                           QStringLiteral("/../share/kelvary"));
}

} // namespace kelvary
