#include "import/consolefilereader.h"

#include "import/channellistreader.h"
#include "import/digicosessionparser.h"
#include "import/reporttext.h"
#include "import/wingsnapshotreader.h"
#include "import/x32scenereader.h"

#include <QFileInfo>

namespace kelvary {

Result<ParsedSession> readConsoleFile(const QByteArray &bytes, const QString &fileName,
                                      QStringList *unreadLines)
{
    if (isJsonObjectText(bytes))
        return readWingSnapshot(bytes, fileName);
    // Scenes and spreadsheets are decoded as reports are: UTF-8, UTF-16 or Windows-1252.
    const Result<QString> text = reportText(bytes);
    if (!text)
        return text.error();
    if (isX32Scene(*text))
        return readX32Scene(*text, fileName);
    if (isChannelList(*text))
        return readChannelList(*text, fileName);
    return DigicoSessionParser().parseText(*text, fileName, unreadLines);
}

Result<ParsedSession> readConsoleFileAt(const QString &path, QStringList *unreadLines)
{
    const Result<QByteArray> bytes = readReportFile(path);
    if (!bytes)
        return bytes.error();
    return readConsoleFile(*bytes, QFileInfo(path).fileName(), unreadLines);
}

} // namespace kelvary
