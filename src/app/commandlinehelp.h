#pragma once

#include <QList>
#include <QString>
#include <QStringView>

namespace kelvary {

// The columns a terminal gives the text: East Asian wide and fullwidth characters take two,
// combining marks and other zero-width characters none, everything else one.
qsizetype displayWidth(QStringView text);

// One row of a help table: what is typed, and what it does. A description may go on over more
// lines, separated by '\n'; they start in its column too.
struct HelpRow {
    QString term;
    QString description;
};

// The rows as two columns lined up by display width, each line indented by two columns and
// ending in '\n'.
QString helpTable(const QList<HelpRow> &rows);

// A program's --version in GNU's form: "kelvary-cli 0.1.0" with the version the project is built
// as, then the copyright and the licence.
QString versionText(const QString &program);

} // namespace kelvary
