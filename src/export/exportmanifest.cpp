#include "export/exportmanifest.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStringList>

namespace kelvary {

namespace {

using namespace Qt::StringLiterals;

// QJsonObject keeps its keys sorted, so the encoded text lists them in ascending order.
QByteArray indentedJSON(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}

void insertColor(QJsonObject &object, const std::optional<QString> &colorHex)
{
    // Absent, not null or empty: the scripts treat a present key as a colour to apply.
    if (colorHex)
        object.insert(u"colorHex"_s, *colorHex);
}

} // namespace

ProToolsExportManifest ProToolsExportManifest::makeManifest(const TrackList &tracks,
                                                            const QString &sessionName,
                                                            const QString &parentDirectory,
                                                            const QString &consoleName)
{
    ProToolsExportManifest manifest;
    manifest.sessionName = sessionName;
    manifest.parentDirectory = parentDirectory;
    manifest.consoleName = consoleName;
    for (const TrackChannel &track : tracks) {
        if (!track.isIncluded)
            continue;
        manifest.tracks.append({manifestTrackName(track), track.isStereoConsoleChannel(),
                                trackComment(track), track.channelLabel,
                                channelTypeText(track.channelType), hexString(track.color)});
    }
    return manifest;
}

QJsonObject ProToolsExportManifest::toJSON() const
{
    QJsonArray trackArray;
    for (const Track &track : tracks) {
        QJsonObject object{
            {u"name"_s, track.name},
            {u"stereo"_s, track.stereo},
            {u"comment"_s, track.comment},
            {u"channelLabel"_s, track.channelLabel},
            {u"channelType"_s, track.channelType},
        };
        insertColor(object, track.colorHex);
        trackArray.append(object);
    }
    return {
        {u"sessionName"_s, sessionName}, {u"parentDirectory"_s, parentDirectory},
        {u"sampleRate"_s, sampleRate},   {u"bitDepth"_s, bitDepth},
        {u"consoleName"_s, consoleName}, {u"tracks"_s, trackArray},
    };
}

QByteArray ProToolsExportManifest::encoded() const
{
    return indentedJSON(toJSON());
}

LogicExportManifest LogicExportManifest::makeManifest(const TrackList &tracks,
                                                      const QString &sessionName,
                                                      const QString &outputPath,
                                                      const QString &consoleName)
{
    LogicExportManifest manifest;
    manifest.sessionName = sessionName;
    manifest.outputPath = outputPath;
    manifest.consoleName = consoleName;
    for (const TrackChannel &track : tracks) {
        if (!track.isIncluded)
            continue;
        manifest.tracks.append({manifestTrackName(track), track.isStereoConsoleChannel(),
                                track.channelLabel, channelTypeText(track.channelType),
                                hexString(track.color)});
    }
    return manifest;
}

QJsonObject LogicExportManifest::toJSON() const
{
    QJsonArray trackArray;
    for (const Track &track : tracks) {
        QJsonObject object{
            {u"name"_s, track.name},
            {u"stereo"_s, track.stereo},
            {u"channelLabel"_s, track.channelLabel},
            {u"channelType"_s, track.channelType},
        };
        insertColor(object, track.colorHex);
        trackArray.append(object);
    }
    return {
        {u"sessionName"_s, sessionName},
        {u"outputPath"_s, outputPath},
        {u"consoleName"_s, consoleName},
        {u"tracks"_s, trackArray},
    };
}

QByteArray LogicExportManifest::encoded() const
{
    return indentedJSON(toJSON());
}

QString manifestTrackName(const TrackChannel &track)
{
    if (track.channelType == DigicoChannelType::input)
        return track.name;
    return track.channelLabel + u' ' + track.name;
}

QString trackComment(const TrackChannel &track)
{
    QStringList parts{u"Kelvary"_s, u"Digico "_s + channelTypeText(track.channelType) + u' ' +
                                        track.channelLabel};
    if (!track.inputRoute.isEmpty())
        parts.append(u"route="_s + track.inputRoute);
    if (!track.extraInfo.isEmpty())
        parts.append(track.extraInfo);
    if (const std::optional<QString> hex = hexString(track.color))
        parts.append(u"color="_s + *hex);
    return parts.join(u" | "_s);
}

QString sanitizedSessionName(const QString &sessionName, const QString &destinationPath)
{
    QString name = sessionName;
    if (name.isEmpty())
        name = QFileInfo(destinationPath).completeBaseName();
    // NOTE: a destination such as "/" or ".ptx" names nothing; a workstation cannot create a
    // session without a name, so it gets the name the save dialog proposes for an unnamed one.
    if (name.isEmpty())
        name = u"Kelvary"_s;
    for (QChar &c : name) {
        if (c == u'/' || c == u':' || c == u'\\')
            c = u'-';
    }
    return name;
}

} // namespace kelvary
