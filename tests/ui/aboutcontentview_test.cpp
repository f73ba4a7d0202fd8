#include "about/aboutcontentview.h"
#include "mainwindow/contentview.h"
#include "shell/appcommands.h"
#include "shell/kelvaryapp.h"
#include "support/printers.h"

#include <QAction>
#include <QApplication>
#include <QLabel>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace kelvary::ui {
namespace {

TEST(AboutVersion, ShowsTheBuildOnlyWhenItDiffersFromTheVersion)
{
    EXPECT_EQ(aboutVersionText({u"1.2"_s, u"7"_s}), u"版本 1.2 (7)");
    EXPECT_EQ(aboutVersionText({u"1.2"_s, u"1.2"_s}), u"版本 1.2");
    EXPECT_EQ(aboutVersionText({u"1.2"_s, std::nullopt}), u"版本 1.2");
    EXPECT_EQ(aboutVersionText({std::nullopt, std::nullopt}), u"版本 —");
    EXPECT_EQ(aboutVersionText({std::nullopt, u"7"_s}), u"版本 — (7)");
}

TEST(AboutWindow, OneFixedWindowShowsTheVersionAndBuildAndIsRaisedWhenOpenedAgain)
{
    KelvaryApp app;
    // The standard dialogs speak Chinese too.
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), u"取消");
    QAction *about = app.mainWindow()->commands()->aboutAction();

    about->trigger();
    AboutWindow *window = app.aboutWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    const BundleVersion version = applicationBundleVersion();
    EXPECT_EQ(version.shortVersion, u"0.1.0");
    ASSERT_TRUE(version.build.has_value());
    EXPECT_EQ(window->content()->versionLabel()->text(), aboutVersionText(version));

    about->trigger();
    EXPECT_EQ(app.aboutWindow(), window);
    int aboutWindows = 0;
    for (QWidget *widget : QApplication::topLevelWidgets())
        aboutWindows += qobject_cast<AboutWindow *>(widget) ? 1 : 0;
    EXPECT_EQ(aboutWindows, 1);

    // Closing it ends it; the next request makes a new one.
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(app.aboutWindow(), nullptr);
    about->trigger();
    EXPECT_NE(app.aboutWindow(), nullptr);
}

} // namespace
} // namespace kelvary::ui
