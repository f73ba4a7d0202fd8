#include "shell/dialogfilepanels.h"
#include "support/printers.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QTemporaryDir>
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

TEST(DialogFilePanels, SavePanelSuggestsTheNameWithThePromptAndGivesTheChosenPath)
{
    QTemporaryDir directory;
    DialogFilePanels panels;
    QString accept;
    whenDialogOpens([&](QFileDialog *dialog) {
        accept = dialog->labelText(QFileDialog::Accept);
        dialog->setDirectory(directory.path());
        static_cast<QDialog *>(dialog)->accept();
    });
    const auto chosen = panels.chooseSaveLocation(
        {u"保存 Kelvary 工程"_s, u"保存"_s, u"Main Show.kvp"_s, {{u"Kelvary 工程"_s, {u"kvp"_s}}}});
    EXPECT_EQ(accept, u"保存");
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(QFileInfo(*chosen).fileName(), u"Main Show.kvp");
}

} // namespace
} // namespace kelvary::ui
