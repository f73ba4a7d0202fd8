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
    EXPECT_EQ(aboutVersionText({std::nullopt, std::nullopt}), u"版本 —");
}

TEST(AboutWindow, OneFixedWindowShowsTheVersionAndBuildAndIsRaisedWhenOpenedAgain)
{
    KelvaryApp app;
    QAction *about = app.mainWindow()->commands()->aboutAction();

    about->trigger();
    AboutWindow *window = app.aboutWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    ASSERT_TRUE(applicationBundleVersion().build.has_value());
    EXPECT_EQ(window->content()->versionLabel()->text(),
              aboutVersionText(applicationBundleVersion()));
    about->trigger();
    EXPECT_EQ(app.aboutWindow(), window);

    // Closing it ends it; the next request makes a new one.
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(app.aboutWindow(), nullptr);
    about->trigger();
    EXPECT_NE(app.aboutWindow(), nullptr);
}

} // namespace
} // namespace kelvary::ui
