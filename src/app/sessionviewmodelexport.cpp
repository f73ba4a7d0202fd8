// Export: the recording template in the chosen format and the PDF channel sheet.

#include "app/filetypes.h"
#include "app/sessionviewmodel.h"
#include "export/sessionpdfexporter.h"
#include "export/textfilewriter.h"
#include "model/recordingcheck.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace kelvary {

namespace {

// The workstation's name as the export panel's title gives it.
QString shortName(TemplateExportFormat format)
{
    switch (format) {
    case TemplateExportFormat::reaperTrackTemplate:
        return u"Reaper"_s;
    case TemplateExportFormat::ardourSession:
        return u"Ardour"_s;
    case TemplateExportFormat::proToolsSession:
        return u"Pro Tools"_s;
    case TemplateExportFormat::logicProject:
        return u"Logic Pro"_s;
    }
    Q_UNREACHABLE();
    return {};
}

// "“a:b” → “a-b”" for each renamed track, the first three of them.
QString renamedTracksText(const QList<std::pair<QString, QString>> &renamed)
{
    QStringList shown;
    for (qsizetype i = 0; i < renamed.size() && i < 3; ++i)
        shown.append(u"“%1” → “%2”"_s.arg(renamed[i].first, renamed[i].second));
    return shown.join(u"、"_s) + (renamed.size() > 3 ? u" 等"_s : QString());
}

} // namespace

void SessionViewModel::setExportFormat(TemplateExportFormat format)
{
    if (m_exportFormat == format)
        return;
    m_exportFormat = format;
    Q_EMIT exportFormatChanged();
}

void SessionViewModel::setPlaybackOutputs(const PlaybackOutputs &playback)
{
    if (playback.offset < 0) {
        setErrorMessage(u"回放输出的偏移量不能为负数。"_s);
        return;
    }
    if (playback == m_playbackOutputs)
        return;
    recordUndoSnapshotIfNeeded();
    setPlaybackOutputsValue(playback);
}

TrackList SessionViewModel::includedTracks() const
{
    TrackList tracks;
    for (const TrackChannel &track : m_session.tracks) {
        if (track.isIncluded)
            tracks.append(track);
    }
    return tracks;
}

QString SessionViewModel::suggestedFileName(const QString &extension) const
{
    QString name = m_session.sessionName.isEmpty() ? u"Kelvary"_s : m_session.sessionName;
    name.replace(u'/', u'-');
    return name + u'.' + extension;
}

QString SessionViewModel::suggestedBaseName() const
{
    QString name = m_session.sessionName.isEmpty() ? u"Kelvary"_s : m_session.sessionName;
    for (const QChar c : {u'/', u'\\', u':', u';'})
        name.replace(c, u'-');
    return name;
}

QString SessionViewModel::defaultExportFileName() const
{
    return suggestedFileName(fileExtension(m_exportFormat));
}

QString SessionViewModel::reaperExportSummary(const QString &location,
                                              const TrackList &tracks) const
{
    QStringList lines{u"已导出至 "_s + QFileInfo(location).fileName()};
    const QList<AudioInputDevice> &devices = m_audioInputCatalog.devices();
    if (const std::optional<QString> device = dominantDeviceName(tracks, devices)) {
        lines.append(u"模版已写入录音设备："_s + *device);
        if (m_exporter.reaper.inputNumbering == InputNumbering::global) {
            lines.append(u"各轨道 REC 含全机硬件输入索引；在 Reaper 中插入模版即可应用。"_s);
        } else {
            lines.append(
                u"各轨道 REC 为录音设备上的输入序号；在 Reaper 中选用该设备并插入模版即可应用。"_s);
            // Counted over all devices, the inputs belong to one combined device: nothing to warn.
            if (const qsizetype elsewhere = tracksBesideDominantDevice(tracks, devices))
                lines.append(
                    u"注意：有 %1 条轨道分配在录音设备之外的设备上，Reaper 只从一个设备录音。"_s
                        .arg(elsewhere));
        }
    }
    lines.append(recordingCheckLines(checkRecording(tracks, devices), tracks, devices));
    return lines.join(u'\n');
}

void SessionViewModel::exportTemplate()
{
    setErrorMessage(std::nullopt);
    // NOTE: the availability test comes before the track test, so choosing a format that is not
    // offered yet says so even in an empty session.
    if (m_exportFormat == TemplateExportFormat::ardourSession) {
        exportArdourSession();
        return;
    }
    if (m_exportFormat != TemplateExportFormat::reaperTrackTemplate) {
        setErrorMessage(u"该导出格式将在下个版本开放。"_s);
        return;
    }
    const TrackList tracks = includedTracks();
    if (tracks.isEmpty()) {
        setErrorMessage(Error(TemplateExportError::noTracksSelected).message());
        return;
    }

    const std::optional<QString> location =
        m_filePanels->chooseSaveLocation({u"导出 "_s + shortName(m_exportFormat) + u" 模版"_s,
                                          QString(),
                                          defaultExportFileName(),
                                          {reaperTemplateFileType}});
    if (!location)
        return;

    ReaperTemplateExporter reaper = m_exporter.reaper;
    reaper.playbackOutputs = m_playbackOutputs;
    const QString text = reaper.makeTemplate(tracks, m_audioInputCatalog.devices());
    if (const Result<void> written = writeTextFile(*location, text); !written) {
        setErrorMessage(written.error().message());
        return;
    }
    setStatusMessage(reaperExportSummary(*location, tracks));
}

bool SessionViewModel::setArdourCapturePortPattern(const QString &pattern)
{
    if (const std::optional<QString> problem = capturePortPatternProblem(pattern)) {
        setErrorMessage(*problem);
        return false;
    }
    if (m_exporter.ardour.capturePortPattern != pattern) {
        m_exporter.ardour.capturePortPattern = pattern;
        Q_EMIT ardourCapturePortPatternChanged();
    }
    return true;
}

bool SessionViewModel::setArdourSampleRate(qint64 rate)
{
    if (std::find(ardourSampleRates.cbegin(), ardourSampleRates.cend(), rate) ==
        ardourSampleRates.cend())
        return false;
    if (m_exporter.ardour.sampleRate != rate) {
        m_exporter.ardour.sampleRate = rate;
        Q_EMIT ardourSampleRateChanged();
    }
    return true;
}

void SessionViewModel::exportArdourSession()
{
    setErrorMessage(std::nullopt);
    const auto tracks = includedTracks();
    if (tracks.isEmpty()) {
        setErrorMessage(Error(TemplateExportError::noTracksSelected).message());
        return;
    }
    const QList<AudioInputDevice> &devices = m_audioInputCatalog.devices();
    const std::optional<AudioInputDevice> device = dominantDevice(tracks, devices);

    // PipeWire names the capture ports after the device: offer that next to the ALSA/JACK name.
    QStringList suggestions{defaultArdourCapturePortPattern};
    if (device)
        suggestions.append(device->name + u":capture_AUX%i"_s);
    QStringList rates;
    for (const qint64 rate : ardourSampleRates)
        rates.append(sampleRateText(rate));
    const qsizetype currentRate =
        std::find(ardourSampleRates.cbegin(), ardourSampleRates.cend(), ardourSampleRate()) -
        ardourSampleRates.cbegin();
    const std::optional<SavePanelChoice> choice = m_filePanels->chooseSaveLocationWithOption(
        {u"导出 Ardour 会话"_s, u"导出"_s, suggestedBaseName(), {ardourSessionFolderType}},
        {u"采集端口："_s, suggestions, m_exporter.ardour.capturePortPattern},
        {u"采样率："_s, rates, currentRate});
    if (!choice || !setArdourCapturePortPattern(choice->optionText))
        return;
    if (choice->listIndex >= 0 && choice->listIndex < qsizetype(ardourSampleRates.size()))
        setArdourSampleRate(ardourSampleRates[choice->listIndex]);

    ArdourSessionExporter ardour = m_exporter.ardour;
    ardour.playbackOutputs = m_playbackOutputs;
    QList<ArdourTrack> ardourTracks;
    QStringList wanted;
    for (const auto &track : tracks) {
        ardourTracks.append(ardour.ardourTrack(track, devices));
        wanted.append(ardourTracks.back().name);
    }
    const QStringList names = ardourTrackNames(wanted);
    QList<std::pair<QString, QString>> renamed;
    for (qsizetype i = 0; i < ardourTracks.size(); ++i) {
        if (names[i] != wanted[i])
            renamed.append({wanted[i], names[i]});
        ardourTracks[i].name = names[i];
    }
    if (const Result<void> written = ardour.writeSession(choice->location, ardourTracks);
        !written) {
        setErrorMessage(written.error().message());
        return;
    }

    QStringList lines{u"已导出 Ardour 会话至 %1 · %2 条轨道"_s
                          .arg(QFileInfo(QDir::cleanPath(choice->location)).fileName())
                          .arg(ardourTracks.size())};
    if (device) {
        lines.append(u"输入已连接到录音设备 %1 的采集端口 %2"_s.arg(
            device->name, m_exporter.ardour.capturePortPattern));
        if (const qsizetype elsewhere = tracksBesideDominantDevice(tracks, devices))
            lines.append(
                u"注意：有 %1 条轨道分配在录音设备之外的设备上，其输入仍按录音设备的端口连接。"_s
                    .arg(elsewhere));
    }
    lines.append(recordingCheckLines(checkRecording(tracks, devices), tracks, devices));
    if (!renamed.isEmpty())
        lines.append(u"%1 条轨道名已按 Ardour 的要求改写：%2"_s.arg(renamed.size())
                         .arg(renamedTracksText(renamed)));
    setStatusMessage(lines.join(u'\n'));
}

void SessionViewModel::exportPDF()
{
    setErrorMessage(std::nullopt);
    const TrackList tracks = includedTracks();
    if (tracks.isEmpty()) {
        setErrorMessage(Error(SessionPDFExportError::noTracks).message());
        return;
    }

    const std::optional<QString> location = m_filePanels->chooseSaveLocation(
        {u"导出 PDF"_s, u"导出"_s, suggestedFileName(u"pdf"_s), {pdfFileType}});
    if (!location)
        return;

    SessionPDFExporter sheet;
    if (m_playbackOutputs.enabled) {
        QHash<QUuid, QString> outputs;
        for (const TrackChannel &track : tracks) {
            const QString label =
                playbackOutputLabel(track, m_audioInputCatalog.devices(), m_playbackOutputs);
            if (!label.isEmpty())
                outputs.insert(track.id, label);
        }
        sheet.addPlaybackColumn(outputs);
    }
    const Result<void> written =
        sheet.exportPDF(m_session, tracks, m_audioInputCatalog.deviceNameByUID(),
                        m_audioInputCatalog.channelLabelByID(), *location);
    if (!written) {
        setErrorMessage(written.error().message());
        return;
    }
    setStatusMessage(u"已导出 PDF 至 "_s + QFileInfo(*location).fileName());
}

} // namespace kelvary
