#include "app/projectdocument.h"
#include "app/sessionviewmodel.h"
#include "support/fakeaudiohardware.h"
#include "support/printers.h"
#include "support/scriptedfilepanels.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

using namespace kelvary;
using namespace Qt::StringLiterals;

namespace {

const QString mainShow = QStringLiteral(KELVARY_TEST_DATA "/reports/main-show-tabs.txt");
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

class ProjectFile : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        hardware->devices = {FakeAudioHardware::device(u"ufx"_s, u"UFX"_s, {16})};
        model = makeModel();
    }

    std::unique_ptr<SessionViewModel> makeModel()
    {
        return std::make_unique<SessionViewModel>(AudioInputDeviceEnumerator(hardware), panels);
    }

    QString path(const QString &name) const { return dir.filePath(name); }

    const TrackChannel &track(const QString &label) const
    {
        return *std::find_if(model->tracks().cbegin(), model->tracks().cend(),
                             [&](const TrackChannel &t) { return t.channelLabel == label; });
    }

    QTemporaryDir dir;
    std::shared_ptr<FakeAudioHardware> hardware = std::make_shared<FakeAudioHardware>();
    std::shared_ptr<ScriptedFilePanels> panels = std::make_shared<ScriptedFilePanels>();
    std::unique_ptr<SessionViewModel> model;
};

} // namespace

TEST_F(ProjectFile, ReportSavedOpenedAndSavedAgainIsTheSameFileButItsTimestamp)
{
    model->importSessionReportAt(mainShow);
    model->setTracksIncluded(true, DigicoChannelType::aux);
    model->setSplitStereoChannels(true);
    model->renameTrack(u"Kick / Sub"_s, track(u"1"_s).id);
    model->setTrackColor(RGBColor{0.2, 0.4, 0.6, 1.0}, track(u"A1"_s).id);
    model->setSelectedTrackIDs({track(u"1"_s).id, track(u"5 L"_s).id, track(u"A4"_s).id});
    model->assignSequentially(u"ufx"_s, 4);
    ASSERT_EQ(model->errorMessage(), std::nullopt);
    const qsizetype undoCount = model->undoSnapshots().size();

    const QString first = path(u"Show.kvp"_s);
    panels->saveLocation = first;
    model->saveProjectAs();
    EXPECT_EQ(model->errorMessage(), std::nullopt);
    EXPECT_EQ(model->statusMessage(), u"工程已保存：Show.kvp"_s);
    EXPECT_EQ(model->projectFileURL(), first);
    EXPECT_EQ(model->undoSnapshots().size(), undoCount);
    const QByteArray saved = fileBytes(first);
    EXPECT_TRUE(QString::fromUtf8(saved).contains(generatedAtLine));
    EXPECT_TRUE(saved.contains("\"name\": \"Kick / Sub\""));

    const auto reopened = makeModel();
    reopened->openProjectAt(first);
    ASSERT_EQ(reopened->errorMessage(), std::nullopt);
    EXPECT_EQ(reopened->session(), asStored(model->session()));
    EXPECT_EQ(reopened->selectedTrackIDs(), model->selectedTrackIDs());
    EXPECT_TRUE(reopened->splitStereoChannels());
    EXPECT_TRUE(reopened->undoSnapshots().isEmpty());

    // A plain save goes to the file it came from without asking.
    const qsizetype panelsShown = panels->saveRequests.size();
    reopened->saveProject();
    EXPECT_EQ(panels->saveRequests.size(), panelsShown);
    EXPECT_EQ(reopened->statusMessage(), u"工程已保存：Show.kvp"_s);
    EXPECT_EQ(withoutGeneratedAt(fileBytes(first)), withoutGeneratedAt(saved));
    EXPECT_NE(withoutGeneratedAt(saved), saved);

    const QDateTime moment(QDate(2026, 12, 5), QTime(11, 18, 37, 912), QTimeZone(8 * 3600));
    EXPECT_TRUE(model->makeProjectData(moment).contains(
        "\n    \"generatedAt\": \"2026-12-05T03:18:37Z\",\n"));
}

TEST_F(ProjectFile, SavePanelSuggestsTheSessionNameAndCancelChangesNothing)
{
    ProjectDocumentSnapshot document;
    document.session.sessionName = u"Band/Live"_s;
    const QString band = path(u"band.kvp"_s);
    writeBytes(band, writeProjectDocument(document));
    model->openProjectAt(band);
    ASSERT_EQ(model->errorMessage(), std::nullopt);

    model->saveProjectAs();
    ASSERT_EQ(panels->saveRequests.size(), 1);
    const SavePanelRequest &request = panels->saveRequests[0];
    EXPECT_EQ(request.title, u"另存工程"_s);
    EXPECT_EQ(request.prompt, u"保存"_s);
    EXPECT_EQ(request.suggestedName, u"Band-Live.kvp"_s);
    ASSERT_EQ(request.types.size(), 1);
    EXPECT_EQ(request.types[0].extensions, QStringList{u"kvp"_s});
    EXPECT_EQ(model->statusMessage(), u"已打开工程：band.kvp"_s);
    EXPECT_EQ(model->projectFileURL(), band);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{u"band.kvp"_s});

    // Nothing opened yet: a plain save asks too, with the fallback name.
    const auto fresh = makeModel();
    fresh->saveProject();
    ASSERT_EQ(panels->saveRequests.size(), 2);
    EXPECT_EQ(panels->saveRequests[1].suggestedName, u"Kelvary.kvp"_s);
    EXPECT_EQ(fresh->statusMessage(), std::nullopt);
    EXPECT_EQ(fresh->projectFileURL(), std::nullopt);
}

TEST_F(ProjectFile, FailedSaveKeepsTheFileTheLocationAndTheState)
{
    // The project's name fits, the temporary file's longer name beside it does not: every save
    // over it fails after the file exists.
    model->importSessionReportAt(mainShow);
    const QByteArray earlier = model->makeProjectData();
    const QString longName = path(QString(251, u'a') + u".kvp"_s);
    writeBytes(longName, earlier);
    model->openProjectAt(longName);
    ASSERT_EQ(model->errorMessage(), std::nullopt);
    model->renameTrack(u"Renamed"_s, model->tracks().first().id);
    const ParsedSession edited = model->session();
    const std::optional<QString> status = model->statusMessage();

    model->saveProject();
    ASSERT_TRUE(model->errorMessage());
    EXPECT_TRUE(model->errorMessage()->startsWith(u"保存失败：无法写入文件“aaaa"_s))
        << model->errorMessage()->toStdString();
    EXPECT_EQ(fileBytes(longName), earlier);
    EXPECT_EQ(model->projectFileURL(), longName);
    EXPECT_EQ(model->session(), edited);
    EXPECT_EQ(model->statusMessage(), status);

    // A folder that is a regular file refuses every writer, whatever its privileges.
    writeBytes(path(u"plain"_s), "not a folder");
    panels->saveLocation = path(u"plain/Show.kvp"_s);
    model->saveProjectAs();
    ASSERT_TRUE(model->errorMessage());
    EXPECT_TRUE(model->errorMessage()->startsWith(u"另存为失败：无法写入文件“Show.kvp”："_s))
        << model->errorMessage()->toStdString();
    EXPECT_EQ(model->projectFileURL(), longName);

    const auto fresh = makeModel();
    fresh->saveProject();
    ASSERT_TRUE(fresh->errorMessage());
    EXPECT_TRUE(fresh->errorMessage()->startsWith(u"保存失败："_s));
    EXPECT_EQ(fresh->projectFileURL(), std::nullopt);
}

TEST_F(ProjectFile, ReadOnlyFolderRefusesTheSave)
{
    const QString folder = path(u"locked"_s);
    ASSERT_TRUE(QDir().mkdir(folder));
    ASSERT_TRUE(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    {
        QFile probe(folder + u"/probe"_s);
        if (probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            GTEST_SKIP() << "this user writes into read-only folders (root); the folder that is a "
                            "regular file stands in for it in FailedSaveKeepsTheFile…";
        }
    }
    model->importSessionReportAt(mainShow);
    panels->saveLocation = folder + u"/Show.kvp"_s;
    model->saveProjectAs();
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ASSERT_TRUE(model->errorMessage());
    EXPECT_TRUE(model->errorMessage()->startsWith(u"另存为失败："_s));
    EXPECT_FALSE(QFile::exists(folder + u"/Show.kvp"_s));
    EXPECT_EQ(model->projectFileURL(), std::nullopt);
}

TEST_F(ProjectFile, FailedOpenNamesWhatIsWrongAndKeepsTheSession)
{
    model->importSessionReportAt(mainShow);
    const ParsedSession imported = model->session();
    const QJsonObject root = QJsonDocument::fromJson(model->makeProjectData()).object();
    const QJsonArray tracks = root[u"tracks"_s].toArray();

    QJsonObject withoutSession = root;
    withoutSession.remove(u"session"_s);
    // Two tracks with one id would confuse selection and undo.
    QJsonObject duplicated = root;
    QJsonArray twins = tracks;
    QJsonObject third = twins[2].toObject();
    third[u"id"_s] = twins[0].toObject()[u"id"_s];
    twins[2] = third;
    duplicated[u"tracks"_s] = twins;

    const std::pair<QJsonObject, QString> cases[] = {
        {withoutSession, u"session"_s},
        {duplicated, u"第 3 条轨道"_s},
    };
    for (const auto &[document, named] : cases) {
        const QString file = path(u"broken.kvp"_s);
        writeBytes(file, QJsonDocument(document).toJson());
        model->openProjectAt(file);
        ASSERT_TRUE(model->errorMessage());
        EXPECT_TRUE(model->errorMessage()->startsWith(u"打开失败："_s));
        EXPECT_TRUE(model->errorMessage()->contains(named)) << model->errorMessage()->toStdString();
        EXPECT_EQ(model->session(), imported);
        EXPECT_EQ(model->projectFileURL(), std::nullopt);
    }
}
