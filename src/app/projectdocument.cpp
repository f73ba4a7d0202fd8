#include "app/projectdocument.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

using namespace Qt::StringLiterals;

namespace kelvary {

QString errorMessage(ProjectDocumentError error)
{
    switch (error) {
    case ProjectDocumentError::notJson:
        return u"文件不是有效的 JSON。"_s;
    case ProjectDocumentError::missingKey:
        return u"缺少必需的键。"_s;
    case ProjectDocumentError::wrongType:
        return u"键的类型不正确。"_s;
    case ProjectDocumentError::invalidID:
        return u"轨道 id 不是有效的 UUID。"_s;
    case ProjectDocumentError::duplicateID:
        return u"有两条轨道使用同一个 id。"_s;
    case ProjectDocumentError::outOfRange:
        return u"数值超出允许的范围。"_s;
    }
    Q_UNREACHABLE();
    return {};
}

QString projectTimestamp(const QDateTime &moment)
{
    return moment.toUTC().toString(Qt::ISODate);
}

namespace {

QJsonObject trackObject(const TrackChannel &track)
{
    QJsonObject object{
        {u"id"_s, uuidText(track.id)},
        {u"channelLabel"_s, track.channelLabel},
        {u"channelNumber"_s, track.channelNumber},
        {u"name"_s, track.name},
        {u"channelType"_s, channelTypeText(track.channelType)},
        {u"inputRoute"_s, track.inputRoute},
        {u"extraInfo"_s, track.extraInfo},
        {u"colorHex"_s, hexString(track.color).value_or(u"#FFFFFF"_s)},
        {u"isIncluded"_s, track.isIncluded},
    };
    if (track.audioInputDeviceUID)
        object.insert(u"audioInputDeviceUID"_s, *track.audioInputDeviceUID);
    if (track.audioInputChannelID)
        object.insert(u"audioInputChannelID"_s, *track.audioInputChannelID);
    if (track.stereoSourceLabel)
        object.insert(u"stereoSourceLabel"_s, *track.stereoSourceLabel);
    if (track.stereoSide)
        object.insert(u"stereoSide"_s, stereoSideText(*track.stereoSide));
    return object;
}

// Reads the keys of one JSON object and says precisely what is wrong with it.
class ObjectReader {
public:
    ObjectReader(const QJsonObject &object, QString where)
        : m_object(object)
        , m_where(std::move(where))
    {
    }

    std::optional<Error> error() const { return m_error; }

    QString string(const QString &key) { return required(key, QJsonValue::String).toString(); }
    bool boolean(const QString &key) { return required(key, QJsonValue::Bool).toBool(); }
    QJsonObject object(const QString &key) { return required(key, QJsonValue::Object).toObject(); }
    QJsonArray array(const QString &key) { return required(key, QJsonValue::Array).toArray(); }

    qint64 integer(const QString &key)
    {
        const QJsonValue value = required(key, QJsonValue::Double);
        if (m_error)
            return 0;
        // toInteger() reads integers beyond 2^53 exactly, and answers its default for a fraction
        // and for a number beyond 64 bits, where converting the double would be undefined.
        const qint64 integer = value.toInteger(0);
        if (integer == 0 && value.toInteger(1) == 1) {
            fail(ProjectDocumentError::wrongType, key, u"整数"_s);
            return 0;
        }
        return integer;
    }

    // Missing and null both read as none.
    std::optional<QString> optionalString(const QString &key)
    {
        const QJsonValue value = m_object.value(key);
        if (value.isUndefined() || value.isNull())
            return std::nullopt;
        if (!value.isString()) {
            fail(ProjectDocumentError::wrongType, key, u"字符串"_s);
            return std::nullopt;
        }
        return value.toString();
    }

    void fail(ProjectDocumentError code, const QString &key, const QString &expected = {})
    {
        if (m_error)
            return;
        QString message;
        switch (code) {
        case ProjectDocumentError::missingKey:
            message = u"%1缺少键“%2”。"_s.arg(m_where, key);
            break;
        case ProjectDocumentError::wrongType:
            message = u"%1键“%2”应为%3。"_s.arg(m_where, key, expected);
            break;
        case ProjectDocumentError::invalidID:
            message = u"%1键“%2”不是有效的 UUID。"_s.arg(m_where, key);
            break;
        default:
            message = m_where + errorMessage(code);
            break;
        }
        m_error = Error(code, message);
    }

private:
    static QString typeName(QJsonValue::Type type)
    {
        switch (type) {
        case QJsonValue::String:
            return u"字符串"_s;
        case QJsonValue::Bool:
            return u"布尔值"_s;
        case QJsonValue::Double:
            return u"整数"_s;
        case QJsonValue::Object:
            return u"对象"_s;
        case QJsonValue::Array:
            return u"数组"_s;
        default:
            return u"其他类型"_s;
        }
    }

    QJsonValue required(const QString &key, QJsonValue::Type type)
    {
        if (m_error)
            return {};
        const QJsonValue value = m_object.value(key);
        if (value.isUndefined()) {
            fail(ProjectDocumentError::missingKey, key);
            return {};
        }
        if (value.type() != type) {
            fail(ProjectDocumentError::wrongType, key, typeName(type));
            return {};
        }
        return value;
    }

    QJsonObject m_object;
    QString m_where;
    std::optional<Error> m_error;
};

bool isUuidText(const QString &text)
{
    // The 36-character form with hyphens; either letter case is accepted on reading.
    return text.size() == 36 && !QUuid::fromString(text).isNull();
}

Result<TrackChannel> readTrack(const QJsonValue &value, qsizetype index)
{
    const QString where = u"第 %1 条轨道："_s.arg(index + 1);
    if (!value.isObject())
        return Error(ProjectDocumentError::wrongType, where + u"应为对象。"_s);
    ObjectReader reader(value.toObject(), where);

    TrackChannel track;
    const QString id = reader.string(u"id"_s);
    track.channelLabel = reader.string(u"channelLabel"_s);
    track.channelNumber = reader.integer(u"channelNumber"_s);
    track.name = reader.string(u"name"_s);
    const QString type = reader.string(u"channelType"_s);
    track.inputRoute = reader.string(u"inputRoute"_s);
    track.extraInfo = reader.string(u"extraInfo"_s);
    const QString color = reader.string(u"colorHex"_s);
    track.isIncluded = reader.boolean(u"isIncluded"_s);
    track.audioInputDeviceUID = reader.optionalString(u"audioInputDeviceUID"_s);
    track.audioInputChannelID = reader.optionalString(u"audioInputChannelID"_s);
    track.stereoSourceLabel = reader.optionalString(u"stereoSourceLabel"_s);
    const std::optional<QString> side = reader.optionalString(u"stereoSide"_s);
    if (!reader.error() && !isUuidText(id))
        reader.fail(ProjectDocumentError::invalidID, u"id"_s);
    if (const std::optional<Error> error = reader.error())
        return *error;

    track.id = QUuid::fromString(id);
    // Texts of a newer or older Kelvary that this one does not know read as the default.
    track.channelType = channelTypeFromText(type).value_or(DigicoChannelType::other);
    track.color = colorFromHex(color);
    track.stereoSide = side ? stereoSideFromText(*side) : std::nullopt;
    return track;
}

QJsonObject plannedDeviceObject(const PlannedAudioDevice &device)
{
    return {{u"id"_s, device.id},
            {u"inputChannelCount"_s, device.inputChannelCount},
            {u"name"_s, device.name}};
}

Result<QList<PlannedAudioDevice>> readPlannedDevices(const QJsonArray &entries)
{
    QList<PlannedAudioDevice> devices;
    QSet<QString> seen;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QString where = u"plannedAudioDevices 第 %1 项："_s.arg(i + 1);
        if (!entries[i].isObject())
            return Error(ProjectDocumentError::wrongType, where + u"应为对象。"_s);
        ObjectReader reader(entries[i].toObject(), where);
        PlannedAudioDevice device;
        device.id = reader.string(u"id"_s);
        device.inputChannelCount = reader.integer(u"inputChannelCount"_s);
        device.name = reader.string(u"name"_s);
        if (const std::optional<Error> error = reader.error())
            return *error;
        if (device.inputChannelCount < 1 || device.inputChannelCount > maximumPlannedInputCount) {
            return Error(ProjectDocumentError::outOfRange,
                         where + u"键“inputChannelCount”应为 1 到 %1 之间的整数。"_s.arg(
                                     maximumPlannedInputCount));
        }
        if (seen.contains(device.id)) {
            return Error(ProjectDocumentError::duplicateID,
                         where + u"id“%1”已被前面的设备使用。"_s.arg(device.id));
        }
        seen.insert(device.id);
        devices.append(device);
    }
    return devices;
}

QJsonArray recorderPatchArray(const ConsoleRecorderPatch &patch)
{
    QJsonArray recorders;
    for (const ConsoleRecorder &recorder : patch) {
        QJsonArray channels;
        for (const QList<RecorderTrackRef> &carried : recorder.channels) {
            QJsonArray refs;
            for (const RecorderTrackRef &ref : carried) {
                QJsonObject object{{u"label"_s, ref.label}};
                if (ref.side)
                    object.insert(u"side"_s, stereoSideText(*ref.side));
                refs.append(object);
            }
            channels.append(refs);
        }
        recorders.append(QJsonObject{
            {u"id"_s, recorder.id}, {u"name"_s, recorder.name}, {u"channels"_s, channels}});
    }
    return recorders;
}

Result<ConsoleRecorderPatch> readRecorderPatch(const QJsonValue &value)
{
    if (!value.isArray())
        return Error(ProjectDocumentError::wrongType, u"键“recorderPatch”应为数组。"_s);
    ConsoleRecorderPatch patch;
    const QJsonArray recorders = value.toArray();
    for (qsizetype i = 0; i < recorders.size(); ++i) {
        const QString where = u"recorderPatch 第 %1 项："_s.arg(i + 1);
        if (!recorders[i].isObject())
            return Error(ProjectDocumentError::wrongType, where + u"应为对象。"_s);
        ObjectReader reader(recorders[i].toObject(), where);
        ConsoleRecorder recorder;
        recorder.id = reader.string(u"id"_s);
        recorder.name = reader.string(u"name"_s);
        const QJsonArray channels = reader.array(u"channels"_s);
        if (const std::optional<Error> error = reader.error())
            return *error;
        for (qsizetype k = 0; k < channels.size(); ++k) {
            const QString at = where + u"第 %1 路："_s.arg(k + 1);
            if (!channels[k].isArray())
                return Error(ProjectDocumentError::wrongType, at + u"应为数组。"_s);
            QList<RecorderTrackRef> carried;
            for (const QJsonValue &entry : channels[k].toArray()) {
                if (!entry.isObject())
                    return Error(ProjectDocumentError::wrongType, at + u"应为对象的数组。"_s);
                ObjectReader refReader(entry.toObject(), at);
                RecorderTrackRef ref;
                ref.label = refReader.string(u"label"_s);
                const std::optional<QString> side = refReader.optionalString(u"side"_s);
                if (const std::optional<Error> error = refReader.error())
                    return *error;
                if (side) {
                    ref.side = stereoSideFromText(*side);
                    if (!ref.side)
                        return Error(ProjectDocumentError::outOfRange,
                                     at + u"键“side”应为“L”或“R”。"_s);
                }
                carried.append(ref);
            }
            recorder.channels.append(carried);
        }
        patch.append(std::move(recorder));
    }
    return patch;
}

} // namespace

QByteArray writeProjectDocument(const ProjectDocumentSnapshot &document)
{
    const ParsedSession &session = document.session;
    QJsonArray tracks;
    for (const TrackChannel &track : session.tracks)
        tracks.append(trackObject(track));
    QStringList selection = document.selectedTrackIDs;
    selection.sort();

    QJsonObject root{
        {u"formatVersion"_s, document.formatVersion},
        {u"app"_s, document.app},
        {u"generatedAt"_s, document.generatedAt},
        {u"splitStereoChannels"_s, document.splitStereoChannels},
        {u"selectedTrackIDs"_s, QJsonArray::fromStringList(selection)},
        {u"session"_s, QJsonObject{{u"sessionName"_s, session.sessionName},
                                   {u"consoleName"_s, session.consoleName},
                                   {u"sourceFileName"_s, session.sourceFileName},
                                   {u"saveTime"_s, session.saveTime},
                                   {u"softwareVersion"_s, session.softwareVersion}}},
        {u"tracks"_s, tracks},
    };
    if (!document.plannedAudioDevices.isEmpty()) {
        QJsonArray planned;
        for (const PlannedAudioDevice &device : document.plannedAudioDevices)
            planned.append(plannedDeviceObject(device));
        root.insert(u"plannedAudioDevices"_s, planned);
    }
    if (!session.recorderPatch.isEmpty())
        root.insert(u"recorderPatch"_s, recorderPatchArray(session.recorderPatch));
    if (document.playbackOutputs.enabled)
        root.insert(u"playbackOutputs"_s,
                    QJsonObject{{u"offset"_s, document.playbackOutputs.offset}});
    // QJsonObject keeps its keys sorted, and the writer leaves "/" unescaped.
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

namespace {

// What the JSON reader found wrong, in the words of the rest of the app.
QString jsonErrorText(QJsonParseError::ParseError error)
{
    switch (error) {
    case QJsonParseError::UnterminatedObject:
        return u"对象缺少结尾的“}”"_s;
    case QJsonParseError::MissingNameSeparator:
        return u"键后缺少“:”"_s;
    case QJsonParseError::UnterminatedArray:
        return u"数组缺少结尾的“]”"_s;
    case QJsonParseError::MissingValueSeparator:
        return u"值之间缺少“,”"_s;
    case QJsonParseError::IllegalValue:
        return u"此处的值无效"_s;
    case QJsonParseError::TerminationByNumber:
        return u"文件在数字中间结束"_s;
    case QJsonParseError::IllegalNumber:
        return u"数字无效"_s;
    case QJsonParseError::IllegalEscapeSequence:
        return u"转义序列无效"_s;
    case QJsonParseError::IllegalUTF8String:
        return u"文本不是有效的 UTF-8"_s;
    case QJsonParseError::UnterminatedString:
        return u"字符串缺少结尾的引号"_s;
    case QJsonParseError::MissingObject:
        return u"应为对象"_s;
    case QJsonParseError::DeepNesting:
        return u"嵌套层数过多"_s;
    case QJsonParseError::DocumentTooLarge:
        return u"文件过大"_s;
    case QJsonParseError::GarbageAtEnd:
        return u"内容结束后还有多余的字符"_s;
    case QJsonParseError::NoError:
        break;
    }
    return u"格式无效"_s;
}

} // namespace

Result<ProjectDocumentSnapshot> readProjectDocument(const QByteArray &data)
{
    QJsonParseError parseError;
    const QJsonDocument json = QJsonDocument::fromJson(data, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        // The line and column where the reader stopped: the byte offset means nothing to a user.
        const QByteArray before =
            data.first(std::clamp<qsizetype>(parseError.offset, 0, data.size()));
        const qsizetype line = before.count('\n') + 1;
        const qsizetype column =
            QString::fromUtf8(before.sliced(before.lastIndexOf('\n') + 1)).size() + 1;
        return Error(ProjectDocumentError::notJson,
                     u"工程文件已损坏：第 %1 行第 %2 列%3。"_s.arg(line).arg(column).arg(
                         jsonErrorText(parseError.error)));
    }
    if (!json.isObject())
        return Error(ProjectDocumentError::wrongType, u"文件的顶层应为对象。"_s);

    ObjectReader root(json.object(), QString());
    ProjectDocumentSnapshot document;
    document.formatVersion = root.integer(u"formatVersion"_s);
    document.app = root.string(u"app"_s);
    document.generatedAt = root.string(u"generatedAt"_s);
    document.splitStereoChannels = root.boolean(u"splitStereoChannels"_s);
    const QJsonArray selection = root.array(u"selectedTrackIDs"_s);
    const QJsonObject sessionObject = root.object(u"session"_s);
    const QJsonArray tracks = root.array(u"tracks"_s);
    if (const std::optional<Error> error = root.error())
        return *error;

    for (const QJsonValue &id : selection) {
        if (!id.isString()) {
            return Error(ProjectDocumentError::wrongType,
                         u"键“selectedTrackIDs”应为字符串数组。"_s);
        }
        document.selectedTrackIDs.append(id.toString());
    }

    ObjectReader session(sessionObject, u"session："_s);
    document.session.sessionName = session.string(u"sessionName"_s);
    document.session.consoleName = session.string(u"consoleName"_s);
    document.session.sourceFileName = session.string(u"sourceFileName"_s);
    document.session.saveTime = session.string(u"saveTime"_s);
    document.session.softwareVersion = session.string(u"softwareVersion"_s);
    if (const std::optional<Error> error = session.error())
        return *error;

    if (const QJsonValue planned = json.object().value(u"plannedAudioDevices"_s);
        !planned.isUndefined()) {
        if (!planned.isArray())
            return Error(ProjectDocumentError::wrongType, u"键“plannedAudioDevices”应为数组。"_s);
        Result<QList<PlannedAudioDevice>> devices = readPlannedDevices(planned.toArray());
        if (!devices)
            return devices.error();
        document.plannedAudioDevices = std::move(devices).value();
    }

    if (const QJsonValue playback = json.object().value(u"playbackOutputs"_s);
        !playback.isUndefined() && !playback.isNull()) {
        if (!playback.isObject())
            return Error(ProjectDocumentError::wrongType, u"键“playbackOutputs”应为对象。"_s);
        ObjectReader reader(playback.toObject(), u"playbackOutputs："_s);
        const qint64 offset = reader.integer(u"offset"_s);
        if (const std::optional<Error> error = reader.error())
            return *error;
        if (offset < 0)
            return Error(ProjectDocumentError::outOfRange,
                         u"playbackOutputs：“offset”不能为负数。"_s);
        document.playbackOutputs = {true, offset};
    }

    if (const QJsonValue patch = json.object().value(u"recorderPatch"_s); !patch.isUndefined()) {
        Result<ConsoleRecorderPatch> recorders = readRecorderPatch(patch);
        if (!recorders)
            return recorders.error();
        document.session.recorderPatch = std::move(recorders).value();
    }

    // Selection and undo find tracks by id: two tracks with one id cannot be told apart.
    QSet<QUuid> seen;
    for (qsizetype i = 0; i < tracks.size(); ++i) {
        Result<TrackChannel> track = readTrack(tracks[i], i);
        if (!track)
            return track.error();
        if (seen.contains(track->id)) {
            return Error(
                ProjectDocumentError::duplicateID,
                u"第 %1 条轨道：id %2 已被前面的轨道使用。"_s.arg(i + 1).arg(uuidText(track->id)));
        }
        seen.insert(track->id);
        document.session.tracks.append(std::move(track).value());
    }
    return document;
}

} // namespace kelvary
