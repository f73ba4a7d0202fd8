#include "app/projectdocument.h"
#include "app/sessionviewmodel.h"
#include "support/fakeaudiohardware.h"
#include "support/printers.h"
#include "support/scriptedfilepanels.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kelvary;
using namespace Qt::StringLiterals;

namespace {

const QString mainShow = QStringLiteral(KELVARY_TEST_DATA "/reports/main-show-tabs.txt");

class ExportActions : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        hardware->devices = {FakeAudioHardware::device(u"ufx"_s, u"UFX"_s, {16})};
        model = std::make_unique<SessionViewModel>(AudioInputDeviceEnumerator(hardware), panels);
    }

    QString path(const QString &name) const { return dir.filePath(name); }

    // Opens a project holding one input track under the given session name.
    void openSessionNamed(const QString &sessionName)
    {
        ProjectDocumentSnapshot document;
        document.session.sessionName = sessionName;
        TrackChannel kick;
        kick.channelLabel = u"1"_s;
        kick.name = u"Kick"_s;
        document.session.tracks = {kick};
        const QString file = path(u"named.kvp"_s);
        writeBytes(file, writeProjectDocument(document));
        model->openProjectAt(file);
        ASSERT_EQ(model->errorMessage(), std::nullopt);
    }

    QTemporaryDir dir;
    std::shared_ptr<FakeAudioHardware> hardware = std::make_shared<FakeAudioHardware>();
    std::shared_ptr<ScriptedFilePanels> panels = std::make_shared<ScriptedFilePanels>();
    std::unique_ptr<SessionViewModel> model;
};

} // namespace

TEST_F(ExportActions, RefusalsComeBeforeAnyPanel)
{
    // The format is tested first, even in an empty session.
    model->setExportFormat(TemplateExportFormat::logicProject);
    model->exportTemplate();
    EXPECT_EQ(model->errorMessage(), u"该导出格式将在下个版本开放。"_s);

    model->importSessionReportAt(mainShow);
    model->setExportFormat(TemplateExportFormat::reaperTrackTemplate);
    model->setTracksIncluded(false, DigicoChannelType::input);
    panels->saveLocation = path(u"Show.RTrackTemplate"_s);
    model->exportTemplate();
    EXPECT_EQ(model->errorMessage(), u"请至少选择一条要导出的轨道。"_s);
    model->exportPDF();
    EXPECT_EQ(model->errorMessage(), u"没有选中的通道可导出。"_s);

    EXPECT_TRUE(panels->saveRequests.isEmpty());
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST_F(ExportActions, PanelsSuggestTheSessionNameAsAFileName)
{
    openSessionNamed(u"FOH/Main"_s);
    model->exportTemplate();
    model->exportPDF();
    openSessionNamed(QString());
    model->exportTemplate();
    model->exportPDF();

    const FileType reaper{u"Reaper 轨道模版"_s, {u"RTrackTemplate"_s}};
    const FileType pdf{u"PDF"_s, {u"pdf"_s}};
    EXPECT_TRUE(panels->saveRequests ==
                (QList<SavePanelRequest>{
                    {u"导出 Reaper 模版"_s, QString(), u"FOH-Main.RTrackTemplate"_s, {reaper}},
                    {u"导出 PDF"_s, u"导出"_s, u"FOH-Main.pdf"_s, {pdf}},
                    {u"导出 Reaper 模版"_s, QString(), u"Kelvary.RTrackTemplate"_s, {reaper}},
                    {u"导出 PDF"_s, u"导出"_s, u"Kelvary.pdf"_s, {pdf}},
                }));
    model->setExportFormat(TemplateExportFormat::logicProject);
    EXPECT_EQ(model->defaultExportFileName(), u"Kelvary.logicx"_s);
}

TEST_F(ExportActions, TemplateHoldsTheIncludedTracksWhateverTheSelection)
{
    model->importSessionReportAt(mainShow);
    // A selected but excluded aux stays out; the unselected inputs go in.
    const TrackChannel wedge =
        *std::find_if(model->tracks().cbegin(), model->tracks().cend(),
                      [](const TrackChannel &track) { return track.channelLabel == u"A1"; });
    model->setSelectedTrackIDs({wedge.id});
    panels->saveLocation = path(u"Show.RTrackTemplate"_s);
    model->exportTemplate();

    ASSERT_EQ(model->errorMessage(), std::nullopt);
    const QString text = QString::fromUtf8(fileBytes(path(u"Show.RTrackTemplate"_s)));
    EXPECT_EQ(text.count(u"<TRACK"_s), 10);
    EXPECT_TRUE(text.contains(u"NAME \"Kick In\""_s));
    EXPECT_FALSE(text.contains(u"Wedge 1"_s));
    EXPECT_EQ(model->statusMessage(),
              u"已导出至 Show.RTrackTemplate\n提示：未设置输入设备，轨道将使用默认 Input 1。"_s);
}

TEST_F(ExportActions, StatusNamesTheRecordingDeviceOfTheTracks)
{
    model->importSessionReportAt(mainShow);
    QSet<QUuid> included;
    for (const TrackChannel &track : model->includedTracks())
        included.insert(track.id);
    model->setSelectedTrackIDs(included);
    model->assignSelectedToDevice(u"ufx"_s);
    ASSERT_EQ(model->errorMessage(), std::nullopt);

    panels->saveLocation = path(u"Show.RTrackTemplate"_s);
    model->exportTemplate();
    EXPECT_EQ(model->statusMessage(),
              u"已导出至 Show.RTrackTemplate\n模版已写入录音设备：UFX\n"
              "各轨道 REC 含全机硬件输入索引；在 Reaper 中插入模版即可应用。"_s);
    EXPECT_TRUE(fileBytes(path(u"Show.RTrackTemplate"_s))
                    .startsWith("; Kelvary recording_device=\"UFX\"\n"));
}

TEST_F(ExportActions, ExportChangesNothingButTheTexts)
{
    model->importSessionReportAt(mainShow);
    model->renameTrack(u"Kick"_s, model->tracks().first().id);
    model->setSelectedTrackIDs({model->tracks()[1].id, model->tracks()[12].id});
    const ParsedSession session = model->session();
    const QSet<QUuid> selection = model->selectedTrackIDs();
    const qsizetype undoCount = model->undoSnapshots().size();

    QSignalSpy sessionSpy(model.get(), &SessionViewModel::sessionChanged);
    QSignalSpy selectionSpy(model.get(), &SessionViewModel::selectedTrackIDsChanged);
    QSignalSpy undoSpy(model.get(), &SessionViewModel::undoSnapshotsChanged);
    QSignalSpy projectSpy(model.get(), &SessionViewModel::projectFileURLChanged);

    // A cancelled panel writes nothing and leaves the earlier status.
    const std::optional<QString> loaded = model->statusMessage();
    model->setErrorMessage(u"earlier failure"_s);
    model->exportTemplate();
    EXPECT_EQ(model->errorMessage(), std::nullopt);
    EXPECT_EQ(model->statusMessage(), loaded);
    EXPECT_TRUE(QDir(dir.path()).isEmpty());

    panels->saveLocation = path(u"Show.RTrackTemplate"_s);
    model->exportTemplate();
    panels->saveLocation = path(u"Show.pdf"_s);
    model->exportPDF();

    EXPECT_EQ(model->errorMessage(), std::nullopt);
    EXPECT_EQ(model->statusMessage(), u"已导出 PDF 至 Show.pdf"_s);
    EXPECT_TRUE(fileBytes(path(u"Show.pdf"_s)).startsWith("%PDF-"));
    EXPECT_EQ(model->session(), session);
    EXPECT_EQ(model->selectedTrackIDs(), selection);
    EXPECT_EQ(model->undoSnapshots().size(), undoCount);
    EXPECT_EQ(model->projectFileURL(), std::nullopt);
    EXPECT_EQ(sessionSpy.count() + selectionSpy.count() + undoSpy.count() + projectSpy.count(), 0);
}

TEST_F(ExportActions, FailedWriteShowsTheReasonAndKeepsTheEarlierFile)
{
    model->importSessionReportAt(mainShow);
    const std::optional<QString> loaded = model->statusMessage();

    // A folder that is a regular file refuses every writer, whatever its privileges.
    writeBytes(path(u"plain"_s), "not a folder");
    panels->saveLocation = path(u"plain/Show.RTrackTemplate"_s);
    model->exportTemplate();
    ASSERT_TRUE(model->errorMessage());
    EXPECT_TRUE(model->errorMessage()->startsWith(u"无法写入文件“Show.RTrackTemplate”："_s))
        << model->errorMessage()->toStdString();
    EXPECT_EQ(model->statusMessage(), loaded);

    // The destination's name fits, the temporary file's longer name beside it does not: the write
    // fails once an earlier file is there, and that file stays as it was.
    const QString longName = path(QString(240, u'a') + u".RTrackTemplate"_s);
    writeBytes(longName, "earlier template");
    panels->saveLocation = longName;
    model->exportTemplate();
    EXPECT_TRUE(model->errorMessage());
    EXPECT_EQ(fileBytes(longName), "earlier template");

    const QString longPdf = path(QString(246, u'a') + u".pdf"_s);
    writeBytes(longPdf, "earlier sheet");
    panels->saveLocation = longPdf;
    model->exportPDF();
    EXPECT_EQ(model->errorMessage(), u"无法写入 PDF 文件。"_s);
    EXPECT_EQ(fileBytes(longPdf), "earlier sheet");
    EXPECT_EQ(model->statusMessage(), loaded);
}
