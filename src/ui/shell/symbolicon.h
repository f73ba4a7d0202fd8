#pragma once

#include <QIcon>
#include <QString>

namespace kelvary::ui {

// An icon named by its symbol ("doc.text", "sun.max"). It comes from the desktop's icon theme
// when `preferTheme` is set and the theme has it, else from the bundled line drawing, painted in
// the current palette's text colour so that it stays visible in light and dark. `QIcon::name()`
// gives the symbol back.
QIcon symbolIcon(const QString &symbol, bool preferTheme);

} // namespace kelvary::ui
