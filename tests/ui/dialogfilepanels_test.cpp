#include "shell/dialogfilepanels.h"
#include "support/printers.h"

#include <QApplication>
#include <QFileDialog>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace Qt::StringLiterals;

namespace kelvary::ui {
namespace {

// Runs `inspect` on the file dialog once it is open, which then answers for the user.
void whenDialogOpens(std::function<void(QFileDialog *)> inspect)
{
    QTimer::singleShot(0, [inspect = std::move(inspect)] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        inspect(dialog);
    });
}

TEST(DialogFilePanels, OpenPanelOffersBothCasesOfEachTypeAndCancellingGivesNothing)
{
    DialogFilePanels panels;
    QString title;
    QStringList filters;
    whenDialogOpens([&](QFileDialog *dialog) {
        title = dialog->windowTitle();
        filters = dialog->nameFilters();
        dialog->reject();
    });
    const auto chosen = panels.chooseFileToOpen(
        {u"导入 DiGiCo Session Report"_s, {{u"DiGiCo Session Report"_s, {u"rtf"_s, u"txt"_s}}}});
    EXPECT_EQ(chosen, std::nullopt);
    EXPECT_EQ(title, u"导入 DiGiCo Session Report");
    EXPECT_EQ(filters, QStringList{u"DiGiCo Session Report (*.rtf *.RTF *.txt *.TXT)"_s});
    EXPECT_EQ(nameFilters({{u"Reaper"_s, {u"RTrackTemplate"_s}}}),
              QStringList{u"Reaper (*.rtracktemplate *.RTRACKTEMPLATE)"_s});
}

} // namespace
} // namespace kelvary::ui
