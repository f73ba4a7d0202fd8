#include "app/projectdocument.h"
#include "support/testfiles.h"
#include "viewmodelharness.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

using namespace kelvary;
using namespace Qt::StringLiterals;

namespace {

const QRegularExpression generatedAtLine(uR"(\n *"generatedAt": "[^"]*",)"_s);

// Colours travel as #RRGGBB text, so they come back as the nearest 8-bit value.
ParsedSession asStored(ParsedSession session)
{
    for (TrackChannel &track : session.tracks)
        track.color = colorFromHex(hexString(track.color).value_or(u"#FFFFFF"_s));
    return session;
}

QByteArray withoutGeneratedAt(const QByteArray &document)
{
    return QString::fromUtf8(document).remove(generatedAtLine).toUtf8();
}

using ProjectFile = ViewModelTest;

} // namespace

TEST_F(ProjectFile, ReportSavedOpenedAndSavedAgainIsTheSameFileButItsTimestamp)
{
    vm.importSessionReportAt(mainShow);
    vm.setTracksIncluded(true, DigicoChannelType::aux);
    vm.setSplitStereoChannels(true);
    vm.renameTrack(u"Kick / Sub"_s, idOf(u"1"_s));
    vm.setTrackColor(RGBColor{0.2, 0.4, 0.6, 1.0}, idOf(u"A1"_s));
    vm.setSelectedTrackIDs({idOf(u"1"_s), idOf(u"5 L"_s), idOf(u"A4"_s)});
    vm.assignSequentially(u"madi"_s, 4);
    ASSERT_EQ(vm.errorMessage(), std::nullopt);
    const qsizetype undoCount = vm.undoSnapshots().size();

    const QString first = path(u"Show.kvp"_s);
    panels->saveLocation = first;
    vm.saveProjectAs();
    EXPECT_EQ(vm.errorMessage(), std::nullopt);
    EXPECT_EQ(vm.statusMessage(), u"工程已保存：Show.kvp"_s);
    EXPECT_EQ(vm.projectFileURL(), first);
    EXPECT_EQ(vm.undoSnapshots().size(), undoCount);
    const QByteArray saved = fileBytes(first);
    EXPECT_TRUE(QString::fromUtf8(saved).contains(generatedAtLine));

    const auto reopened =
        std::make_unique<SessionViewModel>(AudioInputDeviceEnumerator(hardware), panels);
    reopened->openProjectAt(first);
    ASSERT_EQ(reopened->errorMessage(), std::nullopt);
    EXPECT_EQ(reopened->session(), asStored(vm.session()));
    EXPECT_EQ(reopened->selectedTrackIDs(), vm.selectedTrackIDs());
    EXPECT_TRUE(reopened->splitStereoChannels());
    EXPECT_TRUE(reopened->undoSnapshots().isEmpty());

    // A plain save goes to the file it came from without asking.
    const qsizetype panelsShown = panels->saveRequests.size();
    reopened->saveProject();
    EXPECT_EQ(panels->saveRequests.size(), panelsShown);
    EXPECT_EQ(reopened->statusMessage(), u"工程已保存：Show.kvp"_s);
    EXPECT_EQ(withoutGeneratedAt(fileBytes(first)), withoutGeneratedAt(saved));
}

TEST_F(ProjectFile, FailedSaveKeepsTheFileTheLocationAndTheState)
{
    // The project's name fits, the temporary file's longer name beside it does not: every save
    // over it fails after the file exists.
    vm.importSessionReportAt(mainShow);
    const QByteArray earlier = vm.makeProjectData();
    const QString longName = path(QString(251, u'a') + u".kvp"_s);
    writeBytes(longName, earlier);
    vm.openProjectAt(longName);
    ASSERT_EQ(vm.errorMessage(), std::nullopt);
    vm.renameTrack(u"Renamed"_s, vm.tracks().first().id);
    const ParsedSession edited = vm.session();
    const std::optional<QString> status = vm.statusMessage();

    vm.saveProject();
    ASSERT_TRUE(vm.errorMessage());
    EXPECT_TRUE(vm.errorMessage()->startsWith(u"保存失败：无法写入文件“"_s + longName))
        << vm.errorMessage()->toStdString();
    EXPECT_EQ(fileBytes(longName), earlier);
    EXPECT_EQ(vm.projectFileURL(), longName);
    EXPECT_EQ(vm.session(), edited);
    EXPECT_EQ(vm.statusMessage(), status);
    EXPECT_TRUE(vm.isModified());
}

TEST_F(ProjectFile, ModifiedMarkFollowsTheStateAgainstWhatWasLastLoadedOrSaved)
{
    const QString show = path(u"Show.kvp"_s);
    const auto saveAs = [&](const QString &location) {
        panels->saveLocation = location;
        vm.saveProjectAs();
    };
    const auto first = [&] { return vm.tracks()[0].id; };
    const std::tuple<const char *, std::function<void()>, bool> steps[] = {
        {"import", [&] { vm.importSessionReportAt(mainShow); }, false},
        {"rename", [&] { vm.renameTrack(u"Kick"_s, first()); }, true},
        {"undo to the import", [&] { vm.undo(); }, false},
        {"redo", [&] { vm.redo(); }, true},
        {"save as failed", [&] { saveAs(path(u"missing/Show.kvp"_s)); }, true},
        {"save as", [&] { saveAs(show); }, false},
        {"stereo switch", [&] { vm.setSplitStereoChannels(true); }, true},
        {"undo to the save", [&] { vm.undo(); }, false},
        {"undo past it", [&] { vm.undo(); }, true},
        {"redo to the save", [&] { vm.redo(); }, false},
        {"a step that changes nothing", [&] { vm.setIncluded(true, first()); }, false},
        {"planned interface", [&] { vm.addPlannedAudioDevice(u"Stage Box"_s, 32); }, true},
        {"save", [&] { vm.saveProject(); }, false},
        {"60 steps, 60 undos: the save fell off the history",
         [&] {
             for (int i = 0; i < 60; ++i)
                 vm.renameTrack(QString::number(i), vm.tracks()[i % 2].id);
             for (int i = 0; i < 60; ++i)
                 vm.undo();
         },
         true},
        {"open", [&] { vm.openProjectAt(show); }, false},
        {"delete", [&] { vm.deleteTrack(first()); }, true},
        {"failed open", [&] { vm.openProjectAt(path(u"absent.kvp"_s)); }, true},
        {"import over it", [&] { vm.importSessionReportAt(mainShow); }, false},
    };
    for (const auto &[what, step, modified] : steps) {
        step();
        EXPECT_EQ(vm.isModified(), modified) << what;
    }
}

TEST_F(ProjectFile, FailedOpenNamesWhatIsWrongAndKeepsTheSession)
{
    vm.importSessionReportAt(mainShow);
    const ParsedSession imported = vm.session();
    QJsonObject withoutSession = QJsonDocument::fromJson(vm.makeProjectData()).object();
    withoutSession.remove(u"session"_s);
    const QString broken = path(u"broken.kvp"_s);
    writeBytes(broken, QJsonDocument(withoutSession).toJson());
    for (const QString &file : {broken, path(u"absent.kvp"_s)}) {
        vm.openProjectAt(file);
        ASSERT_TRUE(vm.errorMessage());
        EXPECT_TRUE(vm.errorMessage()->startsWith(u"打开失败："_s));
        EXPECT_TRUE(vm.errorMessage()->contains(file == broken ? u"session"_s : u"absent.kvp"_s))
            << vm.errorMessage()->toStdString();
        EXPECT_EQ(vm.session(), imported);
        EXPECT_EQ(vm.projectFileURL(), std::nullopt);
    }
}
