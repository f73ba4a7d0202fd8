// Revised reports: the console file changed during rehearsals, the engineer's work stays.

#include "app/filetypes.h"
#include "app/sessionviewmodel.h"
#include "import/consolefilereader.h"

using namespace Qt::StringLiterals;

namespace kelvary {

std::optional<QString> SessionViewModel::chooseRevisedReport()
{
    return m_filePanels->chooseFileToOpen({u"用新报告更新"_s, {consoleFileType}});
}

std::optional<SessionReportUpdate>
SessionViewModel::previewSessionReportUpdate(const QString &location)
{
    setErrorMessage(std::nullopt);
    QStringList unreadLines;
    Result<ParsedSession> revised = readConsoleFileAt(location, &unreadLines);
    if (!revised) {
        setErrorMessage(revised.error().message());
        return std::nullopt;
    }
    SessionReportUpdate update = updateSession(m_session, *revised, m_splitStereoChannels);
    update.unreadLines = unreadLines;
    return update;
}

void SessionViewModel::applySessionReportUpdate(const SessionReportUpdate &update)
{
    if (update.session == m_session) {
        setStatusMessage(u"新报告与当前工程一致，无需更新。"_s +
                         unreadLinesNote(update.unreadLines));
        return;
    }
    recordUndoSnapshotIfNeeded();
    setSession(update.session);
    // Tracks that went drop out of the selection.
    setSelectedTrackIDs(m_selectedTrackIDs);
    setStatusMessage(update.summary() + unreadLinesNote(update.unreadLines));
}

void SessionViewModel::updateFromSessionReportAt(const QString &location)
{
    if (const std::optional<SessionReportUpdate> update = previewSessionReportUpdate(location))
        applySessionReportUpdate(*update);
}

} // namespace kelvary
