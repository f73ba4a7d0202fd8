#include "export/textfilewriter.h"

#include "model/fileio.h"

namespace kelvary {

Result<void> writeTextFile(const QString &filePath, const QString &text)
{
    return writeWholeFile(filePath, text.toUtf8());
}

} // namespace kelvary
