// The project file: the whole edited state written to a .kvp document.

#include "app/filetypes.h"
#include "app/projectdocument.h"
#include "app/sessionviewmodel.h"
#include "model/fileio.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace kelvary {

QByteArray SessionViewModel::makeProjectData() const
{
    return makeProjectData(QDateTime::currentDateTimeUtc());
}

QByteArray SessionViewModel::makeProjectData(const QDateTime &moment) const
{
    ProjectDocumentSnapshot document;
    document.generatedAt = projectTimestamp(moment);
    document.splitStereoChannels = m_splitStereoChannels;
    for (const QUuid &id : m_selectedTrackIDs)
        document.selectedTrackIDs.append(uuidText(id));
    document.session = m_session;
    document.plannedAudioDevices = projectAudioDevices();
    document.playbackOutputs = m_playbackOutputs;
    return writeProjectDocument(document);
}

void SessionViewModel::saveProject()
{
    setErrorMessage(std::nullopt);
    const QByteArray data = makeProjectData();
    if (!m_projectFileURL) {
        saveProjectThroughPanel(data, u"保存失败："_s);
        return;
    }
    if (const Result<void> written = writeWholeFile(*m_projectFileURL, data); !written) {
        setErrorMessage(u"保存失败："_s + written.error().message());
        return;
    }
    markSaved();
    setStatusMessage(u"工程已保存："_s + QFileInfo(*m_projectFileURL).fileName());
}

void SessionViewModel::saveProjectAs()
{
    setErrorMessage(std::nullopt);
    saveProjectThroughPanel(makeProjectData(), u"另存为失败："_s);
}

void SessionViewModel::saveProjectThroughPanel(const QByteArray &data, const QString &failurePrefix)
{
    const std::optional<QString> location = m_filePanels->chooseSaveLocation(
        {u"另存工程"_s, u"保存"_s, suggestedFileName(u"kvp"_s), {projectFileType}});
    if (!location)
        return;
    if (const Result<void> written = writeWholeFile(*location, data); !written) {
        setErrorMessage(failurePrefix + written.error().message());
        return;
    }
    setProjectFileURL(*location);
    markSaved();
    setStatusMessage(u"工程已保存："_s + QFileInfo(*location).fileName());
}

} // namespace kelvary
