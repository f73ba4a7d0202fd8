#include "app/commandlinehelp.h"

#include <unicode/uchar.h>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace kelvary {

qsizetype displayWidth(QStringView text)
{
    qsizetype width = 0;
    for (const char32_t c : text.toUcs4()) {
        const int category = u_charType(c);
        if (category == U_NON_SPACING_MARK || category == U_ENCLOSING_MARK ||
            category == U_FORMAT_CHAR || category == U_CONTROL_CHAR) {
            continue;
        }
        const int eastAsianWidth = u_getIntPropertyValue(c, UCHAR_EAST_ASIAN_WIDTH);
        width += eastAsianWidth == U_EA_WIDE || eastAsianWidth == U_EA_FULLWIDTH ? 2 : 1;
    }
    return width;
}

QString helpTable(const QList<HelpRow> &rows)
{
    qsizetype termWidth = 0;
    for (const HelpRow &row : rows)
        termWidth = std::max(termWidth, displayWidth(row.term));
    const QString indent(2, u' ');
    const QString continuation(indent.size() + termWidth + 2, u' ');

    QString table;
    for (const HelpRow &row : rows) {
        const QStringList lines = row.description.split(u'\n');
        table += indent + row.term;
        table += QString(termWidth - displayWidth(row.term) + 2, u' ') + lines.front() + u'\n';
        for (qsizetype i = 1; i < lines.size(); ++i)
            table += continuation + lines[i] + u'\n';
    }
    return table;
}

QString versionText(const QString &program)
{
    return program + u' ' + QStringLiteral(KELVARY_PROJECT_VERSION) +
           u"\n"
           "Copyright (C) 2026 Kelvary developers\n"
           "许可证 GPLv3+：GNU GPL 第 3 版或更高版本 <https://gnu.org/licenses/gpl.html>。\n"
           "本软件是自由软件：您可以自由地修改和重新发布它。\n"
           "在法律允许的范围内，不提供任何担保。\n"_s;
}

} // namespace kelvary
