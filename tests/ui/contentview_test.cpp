#include "uitestsupport.h"

#include "app/projectdocument.h"
#include "app/sessionviewmodel.h"
#include "mainwindow/exportformatpicker.h"
#include "mainwindow/sessionreportdropmodifier.h"
#include "mainwindow/sessionreportupdatedialog.h"
#include "mainwindow/sidebar.h"
#include "routingmatrix/trackroutingmatrixview.h"
#include "shell/appcommands.h"
#include "tracklist/tracklistview.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QMessageBox>
#include <QMimeData>
#include <QSettings>
#include <QSpinBox>
#include <QTest>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace kelvary::ui {
namespace {

// main-show-tabs.txt: 10 inputs, 3 aux, 2 groups, 3 matrices; 5s and 9s are stereo.
const QString mainShow = fixture(u"main-show-tabs.txt"_s);

TEST(MainWindow, TitleAndToolbarFollowTheSessionAndTheDisplayMode)
{
    MainWindowFixture f;
    ContentView &w = f.window;
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    const auto enabled = [&] {
        return QList<bool>{
            w.undoAction()->isEnabled(),          w.redoAction()->isEnabled(),
            w.restoreColorsAction()->isEnabled(), w.displayModeAction()->isEnabled(),
            w.exportPDFAction()->isEnabled(),     w.exportTemplateAction()->isEnabled(),
            w.appearanceAction()->isEnabled()};
    };
    EXPECT_EQ(enabled(), (QList<bool>{false, false, false, false, false, false, true}));
    w.viewModel()->importSessionReportAt(mainShow);
    EXPECT_EQ(w.titleLabel()->text(), u"通道列表(10/18)");
    EXPECT_EQ(enabled(), (QList<bool>{false, false, true, true, true, true, true}));
    // Nothing included: no export; the exclusion itself can be undone, and redone by either key.
    w.viewModel()->setTracksIncluded(false, DigicoChannelType::input);
    const QList<bool> excluded{true, false, true, true, false, false, true};
    for (const QKeySequence &redo : {QKeySequence(u"Ctrl+Shift+Z"_s), QKeySequence(u"Ctrl+Y"_s)}) {
        EXPECT_EQ(enabled(), excluded);
        QTest::keySequence(&w, QKeySequence::Undo);
        EXPECT_EQ(enabled(), (QList<bool>{false, true, true, true, true, true, true}));
        QTest::keySequence(&w, redo);
    }
    EXPECT_EQ(enabled(), excluded);
    w.undoAction()->trigger();

    // The matrix takes the list's place beside the sidebar.
    w.displayModeAction()->trigger();
    EXPECT_EQ(w.titleLabel()->text(), u"路由矩阵");
    EXPECT_TRUE(w.sidebar()->isVisible());
    ASSERT_TRUE(w.trackListView()->routingMatrix());

    // A session without tracks is named; it cannot leave the window stuck in the matrix.
    ProjectDocumentSnapshot document;
    document.session.sessionName = u"Main Show"_s;
    writeBytes(f.path(u"empty.kvp"_s), writeProjectDocument(document));
    w.viewModel()->openFile(f.path(u"empty.kvp"_s));
    EXPECT_EQ(w.titleLabel()->text(), u"Main Show");
    EXPECT_EQ(w.displayMode(), TrackListDisplayMode::list);
}

TEST(MainWindow, SidebarShowsTheSessionFactsAndTheStereoSwitchSplitsUndoably)
{
    MainWindowFixture f;
    SessionViewModel *viewModel = f.window.viewModel();
    Sidebar *sidebar = f.window.sidebar();
    QCheckBox *stereo = sidebar->stereoSwitch();
    EXPECT_FALSE(stereo->isEnabled());

    viewModel->importSessionReportAt(mainShow);
    EXPECT_EQ(sidebar->sessionFact(u"来源文件"_s)->fullText(), u"main-show-tabs.txt");
    EXPECT_EQ(sidebar->statusLabel()->text(), u"已加载 18 条通道 · 1 个音频输入设备");

    ASSERT_TRUE(stereo->isEnabled());
    stereo->click();
    EXPECT_EQ(f.window.titleLabel()->text(), u"通道列表(12/22)");
    // An undo puts the switch back with the tracks.
    f.window.undoAction()->trigger();
    EXPECT_FALSE(stereo->isChecked());

    // Playback is a show setting with its offset; only Reaper and Ardour carry it.
    sidebar->playbackSwitch()->click();
    sidebar->playbackOffset()->setValue(8);
    EXPECT_EQ(viewModel->playbackOutputs(), (PlaybackOutputs{true, 8}));
    viewModel->setExportFormat(TemplateExportFormat::proToolsSession);
    EXPECT_FALSE(sidebar->playbackSwitch()->isEnabled());
    f.window.undoAction()->trigger();
    EXPECT_EQ(sidebar->playbackOffset()->value(), 0);
}

// The capture ports and the sample rate suit the computer and its interface, not the show: a new
// window starts with what the last export chose; a damaged setting falls back to the default.
TEST(MainWindow, ArdourExportSettingsOutliveTheWindow)
{
    const struct {
        QVariant storedRate;
        qint64 shownRate;
    } cases[] = {
        {88200, 88200}, {u"fast"_s, defaultArdourSampleRate}, {44, defaultArdourSampleRate}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.storedRate.toString().toStdString());
        QSettings().setValue(u"ardourSampleRate"_s, c.storedRate);
        {
            MainWindowFixture f;
            EXPECT_EQ(f.window.viewModel()->ardourSampleRate(), c.shownRate);
            f.window.viewModel()->setArdourSampleRate(96000);
        }
        MainWindowFixture next;
        EXPECT_EQ(next.window.viewModel()->ardourSampleRate(), 96000);
    }
    QSettings().remove(u"ardourSampleRate"_s);
}

TEST(MainWindow, ErrorAlertShowsTheTextAndDismissingItClearsTheError)
{
    MainWindowFixture f;
    SessionViewModel *viewModel = f.window.viewModel();
    // A picture is read by its content, whatever it is called.
    writeBytes(f.path(u"Show.rtf"_s), "\x89PNG\r\n\x1A\n\0\0\0\rIHDR");
    viewModel->openFile(f.path(u"Show.rtf"_s));
    QMessageBox *alert = f.window.errorAlert();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->text(), u"这不是 Session Report 文件。"_s);
    QTest::mouseClick(alert->buttons().constFirst(), Qt::LeftButton);
    EXPECT_EQ(viewModel->errorMessage(), std::nullopt);
    EXPECT_EQ(f.window.errorAlert(), nullptr);
}

TEST(MainWindow, DropsTakeFilesOnlyAndOpenTheFirstOfThem)
{
    MainWindowFixture f;
    f.window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f.window));
    SessionReportDropModifier *drop = f.window.dropModifier();
    const QPoint centre = f.window.rect().center();
    const auto enter = [&](const QMimeData &data) {
        QDragEnterEvent event(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        event.setAccepted(false);
        QCoreApplication::sendEvent(&f.window, &event);
        return event.isAccepted();
    };

    QMimeData text;
    text.setText(u"Kick In"_s);
    EXPECT_FALSE(enter(text));
    QMimeData files;
    const QString scene = QStringLiteral(KELVARY_TEST_DATA "/consoles/sunday.scn");
    files.setUrls({QUrl::fromLocalFile(scene), QUrl::fromLocalFile(mainShow)});
    EXPECT_TRUE(enter(files));
    EXPECT_TRUE(drop->overlay()->isVisible());
    QDropEvent dropped(centre, Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&f.window, &dropped);
    EXPECT_FALSE(drop->overlay()->isVisible());
    QCoreApplication::processEvents(); // the file is opened once the drop is over
    EXPECT_EQ(f.window.viewModel()->session().sourceFileName, u"sunday.scn");
    EXPECT_EQ(f.window.titleLabel()->text(), u"通道列表(20/64)");
    EXPECT_EQ(f.window.viewModel()->projectFileURL(), std::nullopt);
}

TEST(MainWindow, CommandsAskThroughThePanelsAndSaveAsksOnlyTheFirstTime)
{
    MainWindowFixture f;
    f.window.show();
    f.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f.window));
    AppCommands *commands = f.window.commands();

    // Ctrl+O imports a report while nothing is loaded, and then opens a project.
    f.panels->openAnswers = {mainShow};
    QTest::keyClick(&f.window, Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(f.window.viewModel()->tracks().size(), 18);
    QTest::keyClick(&f.window, Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(f.panels->openRequests.size(), 2);
    EXPECT_EQ(f.panels->openRequests.at(0).title, u"导入调音台文件");
    EXPECT_EQ(f.panels->openRequests.at(1).title, u"打开 Kelvary 工程");
    EXPECT_EQ(f.window.viewModel()->tracks().size(), 18) << "a cancelled panel changes nothing";

    const QString project = f.path(u"Main Show.kvp"_s);
    f.panels->saveLocation = project;
    commands->saveProjectAsAction()->trigger();
    EXPECT_EQ(f.window.viewModel()->projectFileURL(), project);
    ASSERT_TRUE(QFile::remove(project));
    commands->saveProjectAction()->trigger();
    EXPECT_EQ(f.panels->saveRequests.size(), 1);
    EXPECT_TRUE(QFile::exists(project));

    // The picker sets the format; one still to come says it is not ready instead of asking
    // where to save.
    ExportFormatPicker *picker = f.window.sidebar()->exportFormatPicker();
    QTest::keyClick(picker, Qt::Key_Down);
    QTest::keyClick(picker, Qt::Key_Down);
    EXPECT_EQ(f.window.viewModel()->exportFormat(), TemplateExportFormat::proToolsSession);
    f.window.exportTemplateAction()->trigger();
    ASSERT_NE(f.window.errorAlert(), nullptr);
    EXPECT_EQ(f.window.errorAlert()->text(), u"该导出格式将在下个版本开放。"_s);
    EXPECT_EQ(f.panels->saveRequests.size(), 1);
}

TEST(MainWindow, UnsavedChangesAreAskedAboutBeforeTheShowIsClosedOrReplaced)
{
    MainWindowFixture f;
    ContentView &w = f.window;
    SessionViewModel *vm = w.viewModel();
    AppCommands *menu = w.commands();
    QStringList asked;
    QMessageBox::StandardButton answer = QMessageBox::NoButton;
    w.setSaveQuestion([&](const QString &name) {
        asked << name;
        return answer;
    });
    f.panels->openAnswers = {mainShow};
    menu->importReportAction()->trigger(); // nothing unsaved, no question
    EXPECT_EQ(w.windowTitle(), u"Main Show[*]"_s);

    const auto drop = [&] { // the other report each time, so that a drop that goes on shows
        const bool club = vm->session().sourceFileName == u"club-tabs.rtf";
        Q_EMIT w.dropModifier()->fileDropped(club ? mainShow : fixture(u"club-tabs.rtf"_s));
        QCoreApplication::processEvents();
    };
    const std::function<void()> requests[] = {drop, [&] { menu->importReportAction()->trigger(); },
                                              [&] { menu->openProjectAction()->trigger(); },
                                              [&] { w.close(); },
                                              [&] { menu->quitAction()->trigger(); }};
    // Cancelling, or cancelling the save panel, stops each one; not saving or saving lets it on.
    using Answer = std::tuple<QMessageBox::StandardButton, std::optional<QString>, bool>;
    for (const auto &[button, saveLocation, goesOn] :
         {Answer{QMessageBox::Cancel, {}, false}, Answer{QMessageBox::Save, {}, false},
          Answer{QMessageBox::Discard, {}, true},
          Answer{QMessageBox::Save, f.path(u"Show.kvp"_s), true}}) {
        for (const auto &request : requests) {
            w.show();
            vm->renameTrack(u"Kick %1"_s.arg(asked.size()), vm->tracks()[0].id);
            ASSERT_TRUE(w.isWindowModified());
            const auto outcome = [&] {
                return std::tuple(f.panels->openRequests.size(), w.isVisible(),
                                  vm->session().sourceFileName);
            };
            const auto before = outcome();
            const QStringList question = asked + QStringList{vm->displayName()};
            answer = button;
            f.panels->saveLocation = saveLocation;
            request();
            EXPECT_EQ(asked, question);
            EXPECT_EQ(outcome() != before, goesOn) << button << " after " << asked.size();
        }
    }
    EXPECT_EQ(std::pair(w.windowTitle(), w.isWindowModified()), std::pair(u"Show.kvp[*]"_s, false));
}

TEST(MainWindow, RevisedReportIsShownFirstAndTakenOnlyWhenConfirmed)
{
    MainWindowFixture f;
    QAction *update = f.window.commands()->updateFromReportAction();
    f.window.viewModel()->importSessionReportAt(mainShow);

    const QString revised = f.path(u"revised.txt"_s);
    writeBytes(revised, fileBytes(mainShow).replace("1\tKick In", "0\tClick\tLocal 8\n1\tKick In"));
    QList<bool> answers{false, true};
    QStringList shown;
    f.window.setUpdateConfirmation(
        [&](const SessionReportUpdate &changes, bool changesAnything, const QString &reportName) {
            shown = SessionReportUpdateDialog(changes, changesAnything, reportName).shownText();
            return answers.takeFirst();
        });
    const ParsedSession before = f.window.viewModel()->session();
    f.panels->openAnswers = {revised, revised};
    update->trigger();
    EXPECT_EQ(f.window.viewModel()->session(), before);
    EXPECT_EQ(shown.mid(1, 4),
              (QStringList{u"新增（1）"_s, u"  0 Click"_s, u"删除（0）"_s, u"  无"_s}));

    update->trigger();
    EXPECT_EQ(f.window.viewModel()->tracks().first().name, u"Click"_s);
}

} // namespace
} // namespace kelvary::ui
