#include "export/ardoursessionexporter.h"

#include "model/fileio.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QUuid>
#include <QXmlStreamWriter>

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace kelvary {

namespace {

using namespace Qt::StringLiterals;

// The session format Ardour 7 writes; Ardour 8 and later read it too.
const QString formatVersion = u"7002"_s;

// NOTE: Ardour numbers the objects it makes before it reads a session (click, auditioner, ...)
// from 1 on and keeps those numbers; ours start far above them so that no two objects share one.
constexpr qint64 firstObjectID = 10000;

// The names of Ardour 7's own ports and buses, which it renames a track away from, or which make
// a session fail to load when a track takes them.
const QSet<QString> &reservedNames()
{
    static const QSet<QString> names = [] {
        const QStringList list =
            u"Master|Monitor|Click|Control|auditioner|Mackie|x-virtual-keyboard|"
            "MIDI Tracer 1|MIDI Tracer 2|MIDI Tracer 3|MIDI Tracer 4|"
            "FaderPort Recv|FaderPort Send|FaderPort2 Recv|FaderPort2 Send|"
            "FaderPort8 Recv|FaderPort8 Send|FaderPort16 Recv|FaderPort16 Send"_s.split(u'|');
        return QSet<QString>(list.cbegin(), list.cend());
    }();
    return names;
}

constexpr qsizetype maximumNameBytes = 128;

QString acceptableCharacters(const QString &wanted)
{
    QString name = wanted;
    name.replace(u"\r\n"_s, u" "_s);
    for (QChar &c : name) {
        if (c.category() == QChar::Other_Control)
            c = u' ';
        else if (c == u':')
            c = u'-';
    }
    if (name.trimmed().isEmpty())
        return u"Audio"_s;
    // Whole code points only: a surrogate pair is cut as one.
    while (name.toUtf8().size() > maximumNameBytes)
        name.chop(name.size() >= 2 && name.back().isLowSurrogate() ? 2 : 1);
    return name;
}

// The playback ports of the device the pattern records from, when its port part says "capture"
// as the common audio systems name them; nothing otherwise.
std::optional<QString> playbackPortPattern(const QString &capturePattern)
{
    const qsizetype portStart = capturePattern.lastIndexOf(u':') + 1;
    const qsizetype capture = capturePattern.indexOf(u"capture"_s, portStart);
    if (capture < 0)
        return std::nullopt;
    return QString(capturePattern).replace(capture, 7, u"playback"_s);
}

class SessionWriter {
public:
    explicit SessionWriter(QByteArray *bytes)
        : m_xml(bytes)
    {
        m_xml.setAutoFormatting(true);
        m_xml.setAutoFormattingIndent(2);
    }

    QXmlStreamWriter &xml() { return m_xml; }
    qint64 newID() { return m_nextID++; }
    qint64 nextID() const { return m_nextID; }

    void start(const QString &element, const QList<std::pair<QString, QString>> &attributes)
    {
        m_xml.writeStartElement(element);
        for (const auto &[name, value] : attributes)
            m_xml.writeAttribute(name, value);
    }

    void empty(const QString &element, const QList<std::pair<QString, QString>> &attributes = {})
    {
        m_xml.writeEmptyElement(element);
        for (const auto &[name, value] : attributes)
            m_xml.writeAttribute(name, value);
    }

    // One IO with a port per entry of `connections`; an empty entry leaves its port unconnected.
    void io(const QString &name, bool input, const QStringList &connections)
    {
        start(u"IO"_s, {{u"name"_s, name},
                        {u"id"_s, QString::number(newID())},
                        {u"direction"_s, input ? u"Input"_s : u"Output"_s},
                        {u"default-type"_s, u"audio"_s}});
        for (qsizetype k = 0; k < connections.size(); ++k) {
            const QString port =
                name + (input ? u"/audio_in "_s : u"/audio_out "_s) + QString::number(k + 1);
            if (connections[k].isEmpty()) {
                empty(u"Port"_s, {{u"type"_s, u"audio"_s}, {u"name"_s, port}});
                continue;
            }
            start(u"Port"_s, {{u"type"_s, u"audio"_s}, {u"name"_s, port}});
            empty(u"Connection"_s, {{u"other"_s, connections[k]}});
            m_xml.writeEndElement();
        }
        m_xml.writeEndElement();
    }

    // The fader and the meter; Ardour adds the route's other processors itself.
    void processors(const QString &routeName)
    {
        empty(u"Processor"_s, {{u"id"_s, QString::number(newID())},
                               {u"name"_s, u"Amp"_s},
                               {u"active"_s, u"1"_s},
                               {u"type"_s, u"amp"_s}});
        empty(u"Processor"_s, {{u"id"_s, QString::number(newID())},
                               {u"name"_s, u"meter-"_s + routeName},
                               {u"active"_s, u"1"_s},
                               {u"type"_s, u"meter"_s}});
    }

private:
    QXmlStreamWriter m_xml;
    qint64 m_nextID = firstObjectID;
};

// Ardour's colour: RGBA in one unsigned 32-bit number, fully opaque; 0 means none.
QString colorValue(const RGBColor &color)
{
    const std::optional<QString> hex = hexString(color);
    if (!hex)
        return u"0"_s;
    return QString::number((hex->mid(1).toULongLong(nullptr, 16) << 8) | 0xFF);
}

} // namespace

QString sampleRateText(qint64 rate)
{
    return QString::number(double(rate) / 1000.0) + u" kHz"_s;
}

std::optional<QString> capturePortPatternProblem(const QString &pattern)
{
    if (pattern.contains(u"%n"_s) || pattern.contains(u"%i"_s))
        return std::nullopt;
    return u"采集端口格式“%1”缺少输入序号：应含有 %n（从 1 起）或 %i（从 0 起），"
           "例如“system:capture_%n”。"_s.arg(pattern);
}

QString capturePortName(const QString &pattern, qint64 inputIndex)
{
    QString name = pattern;
    name.replace(u"%n"_s, QString::number(inputIndex + 1));
    name.replace(u"%i"_s, QString::number(inputIndex));
    return name;
}

std::optional<QString> ardourSessionNameProblem(const QString &name)
{
    for (const QChar c : {u'\\', u':', u';'}) {
        if (name.contains(c))
            return u"Ardour 会话名不能含有“%1”：请换一个文件夹名称。"_s.arg(c);
    }
    if (name.trimmed().isEmpty())
        return u"请为 Ardour 会话文件夹取一个名称。"_s;
    return std::nullopt;
}

QStringList ardourTrackNames(const QStringList &wanted)
{
    QStringList names;
    names.reserve(wanted.size());
    for (const QString &name : wanted)
        names.append(acceptableCharacters(name));

    // A number is never added onto a name a later track wants as it is.
    QSet<QString> avoided(names.cbegin(), names.cend());
    QSet<QString> taken = reservedNames();
    for (QString &name : names) {
        if (taken.contains(name)) {
            QString numbered;
            for (qint64 n = 1;; ++n) {
                numbered = name + u' ' + QString::number(n);
                if (!taken.contains(numbered) && !avoided.contains(numbered))
                    break;
            }
            name = numbered;
        }
        taken.insert(name);
    }
    return names;
}

QString errorMessage(ArdourSessionError error)
{
    switch (error) {
    case ArdourSessionError::folderNotEmpty:
        return u"该位置已存在且不是空文件夹：Ardour 会话只写入新的或空的文件夹，以免覆盖录音。"_s;
    case ArdourSessionError::badSessionName:
        return u"请为 Ardour 会话文件夹取一个名称。"_s;
    }
    Q_UNREACHABLE();
    return {};
}

QString ArdourSessionExporter::wantedName(const TrackChannel &track) const
{
    if (track.channelType == DigicoChannelType::input)
        return track.name;
    return track.channelLabel + u' ' + track.name;
}

ArdourTrack ArdourSessionExporter::ardourTrack(const TrackChannel &track,
                                               const QList<AudioInputDevice> &devices) const
{
    ArdourTrack result{wantedName(track), track.color, {}};
    const qsizetype inputs = track.isStereoConsoleChannel() ? 2 : 1;
    const std::optional<AudioInputChannel> channel =
        channelWithID(track.audioInputChannelID, devices);
    if (!channel) {
        result.inputConnections = QStringList(inputs, QString());
        return result;
    }
    // The record input Reaper uses on the recording device, without its stereo flag.
    const qint64 first = channel->channelIndex;
    const qint64 last = first + (channel->isStereoPair ? 1 : 0);
    const qint64 start = track.stereoSide == StereoChannelSide::right ? last : first;
    const std::optional<QString> playback = playbackPortPattern(capturePortPattern);
    for (qsizetype k = 0; k < inputs; ++k) {
        const qint64 input = std::min(start + k, last);
        result.inputConnections.append(capturePortName(capturePortPattern, input));
        // A pattern that does not say "capture" names no playback port: the outputs stay free.
        if (playbackOutputs.enabled)
            result.outputConnections.append(
                playback ? capturePortName(*playback, input + playbackOutputs.offset) : QString());
    }
    return result;
}

QByteArray ArdourSessionExporter::makeSession(const QString &sessionName,
                                              const QList<ArdourTrack> &tracks) const
{
    QByteArray bytes;
    SessionWriter w(&bytes);
    QXmlStreamWriter &xml = w.xml();
    // Ids in the order of the document: the master's route, IOs, amp and meter; each track's
    // route, playlist, IOs, amp and meter; the click's IO.
    const qint64 idCounter = firstObjectID + 5 + 6 * tracks.size() + 1;

    const std::optional<QString> playback = playbackPortPattern(capturePortPattern);
    const QStringList stereoOut =
        playback ? QStringList{capturePortName(*playback, 0), capturePortName(*playback, 1)}
                 : QStringList{QString(), QString()};

    xml.writeStartDocument();
    w.start(u"Session"_s, {{u"version"_s, formatVersion},
                           {u"name"_s, sessionName},
                           {u"sample-rate"_s, QString::number(sampleRate)},
                           {u"id-counter"_s, QString::number(idCounter)}});
    // Ardour reads the sample format before anything else and refuses a session without it.
    w.start(u"Config"_s, {});
    w.empty(u"Option"_s,
            {{u"name"_s, u"native-file-data-format"_s}, {u"value"_s, u"FormatFloat"_s}});
    w.empty(u"Option"_s, {{u"name"_s, u"native-file-header-format"_s}, {u"value"_s, u"WAVE"_s}});
    xml.writeEndElement();
    // Ardour refuses a session without these sections, or warns about them.
    for (const QString &section :
         {u"Metadata"_s, u"Sources"_s, u"Regions"_s, u"Locations"_s, u"Bundles"_s})
        w.empty(section);

    xml.writeStartElement(u"Routes"_s);
    w.start(u"Route"_s, {{u"version"_s, formatVersion},
                         {u"id"_s, QString::number(w.newID())},
                         {u"name"_s, u"Master"_s},
                         {u"default-type"_s, u"audio"_s},
                         {u"strict-io"_s, u"1"_s}});
    w.empty(u"PresentationInfo"_s,
            {{u"order"_s, u"0"_s}, {u"flags"_s, u"MasterOut,OrderSet"_s}, {u"color"_s, u"0"_s}});
    w.io(u"Master"_s, true, {QString(), QString()});
    w.io(u"Master"_s, false, stereoOut);
    w.processors(u"Master"_s);
    xml.writeEndElement();

    const QStringList masterInputs{u"Master/audio_in 1"_s, u"Master/audio_in 2"_s};
    QList<std::pair<qint64, qint64>> routeAndPlaylistIDs;
    for (qsizetype i = 0; i < tracks.size(); ++i) {
        const ArdourTrack &track = tracks[i];
        const qint64 routeID = w.newID();
        const qint64 playlistID = w.newID();
        routeAndPlaylistIDs.append({routeID, playlistID});
        // NOTE: with strict I/O Ardour gives a mono track a second output on load, whatever the
        // session says; a track playing back to one output keeps its one output only without it.
        const bool playsBack = !track.outputConnections.isEmpty();
        w.start(u"Route"_s, {{u"version"_s, formatVersion},
                             {u"id"_s, QString::number(routeID)},
                             {u"name"_s, track.name},
                             {u"default-type"_s, u"audio"_s},
                             {u"strict-io"_s, playsBack ? u"0"_s : u"1"_s},
                             {u"audio-playlist"_s, QString::number(playlistID)}});
        w.empty(u"PresentationInfo"_s, {{u"order"_s, QString::number(i + 1)},
                                        {u"flags"_s, u"AudioTrack,OrderSet"_s},
                                        {u"color"_s, colorValue(track.color)}});
        w.io(track.name, true, track.inputConnections);
        w.io(track.name, false,
             track.outputConnections.isEmpty() ? masterInputs : track.outputConnections);
        w.processors(track.name);
        xml.writeEndElement();
    }
    xml.writeEndElement();

    xml.writeStartElement(u"Playlists"_s);
    for (qsizetype i = 0; i < tracks.size(); ++i)
        w.empty(u"Playlist"_s,
                {{u"id"_s, QString::number(routeAndPlaylistIDs[i].second)},
                 {u"name"_s, tracks[i].name},
                 {u"type"_s, u"audio"_s},
                 {u"orig-track-id"_s, QString::number(routeAndPlaylistIDs[i].first)}});
    xml.writeEndElement();
    w.empty(u"RouteGroups"_s);

    xml.writeStartElement(u"Click"_s);
    w.io(u"Click"_s, false, stereoOut);
    xml.writeEndElement();

    // 120 BPM in 4/4 from the start, as a new session begins.
    w.start(u"TempoMap"_s, {{u"superclocks-per-second"_s, u"282240000"_s}});
    xml.writeStartElement(u"Tempos"_s);
    w.empty(u"Tempo"_s, {{u"npm"_s, u"120"_s},
                         {u"enpm"_s, u"120"_s},
                         {u"note-type"_s, u"4"_s},
                         {u"type"_s, u"Tempo::Constant"_s},
                         {u"active"_s, u"1"_s},
                         {u"locked-to-meter"_s, u"0"_s},
                         {u"continuing"_s, u"0"_s},
                         {u"sclock"_s, u"0"_s},
                         {u"quarters"_s, u"0:0"_s},
                         {u"bbt"_s, u"1|1|0"_s},
                         {u"omega"_s, u"0"_s}});
    xml.writeEndElement();
    xml.writeStartElement(u"Meters"_s);
    w.empty(u"Meter"_s, {{u"note-value"_s, u"4"_s},
                         {u"divisions-per-bar"_s, u"4"_s},
                         {u"sclock"_s, u"0"_s},
                         {u"quarters"_s, u"0:0"_s},
                         {u"bbt"_s, u"1|1|0"_s}});
    xml.writeEndElement();
    w.empty(u"MusicTimes"_s);
    xml.writeEndElement();

    xml.writeEndElement();
    xml.writeEndDocument();
    Q_ASSERT(w.nextID() == idCounter);
    return bytes;
}

Result<void> ArdourSessionExporter::writeSession(const QString &folder,
                                                 const QList<ArdourTrack> &tracks) const
{
    const QFileInfo target(QDir::cleanPath(QFileInfo(folder).absoluteFilePath()));
    const QString name = target.fileName();
    if (const std::optional<QString> problem = ardourSessionNameProblem(name))
        return Error(ArdourSessionError::badSessionName, *problem);
    if (target.exists() &&
        !(target.isDir() &&
          QDir(target.filePath())
              .isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)))
        return Error(ArdourSessionError::folderNotEmpty,
                     u"“%1”已存在且不是空文件夹：Ardour 会话只写入新的或空的文件夹，"
                     "以免覆盖录音。"_s.arg(name));

    QDir parent = target.dir();
    const QString temporaryName =
        u'.' + name + u".kelvary-"_s + QUuid::createUuid().toString(QUuid::Id128).left(12);
    const QString shownTarget = QDir::toNativeSeparators(target.filePath());
    // The reason a folder could not be made, told by the errno mkdir left.
    const auto folderReason = [](const QString &path, int systemError) {
        QFile probe(path);
        return fileWriteErrorReason(probe, path, systemError);
    };
    errno = 0;
    if (!parent.exists() || !parent.mkdir(temporaryName))
        return Error(u"无法创建 Ardour 会话“%1”：%2"_s.arg(
            shownTarget, folderReason(parent.filePath(temporaryName), errno ? errno : ENOENT)));
    QDir temporary(parent.filePath(temporaryName));
    const auto failed = [&](const QString &message) -> Result<void> {
        temporary.removeRecursively();
        return Error(message);
    };

    const QStringList subfolders{u"interchange/"_s + name + u"/audiofiles"_s,
                                 u"interchange/"_s + name + u"/midifiles"_s,
                                 u"analysis"_s,
                                 u"dead"_s,
                                 u"export"_s,
                                 u"externals"_s,
                                 u"peaks"_s,
                                 u"plugins"_s};
    for (const QString &subfolder : subfolders) {
        errno = 0;
        if (!temporary.mkpath(subfolder))
            return failed(u"无法创建 Ardour 会话“%1”：%2"_s.arg(
                shownTarget, folderReason(temporary.filePath(subfolder), errno)));
    }
    if (const Result<void> written =
            writeWholeFile(temporary.filePath(name + u".ardour"_s), makeSession(name, tracks));
        !written)
        return failed(written.error().message());

    // An empty folder of that name is replaced in one step; one that filled up meanwhile stays.
    std::error_code error;
    std::filesystem::rename(temporary.path().toStdString(), target.filePath().toStdString(), error);
    if (error)
        return failed(u"无法创建 Ardour 会话“%1”：%2"_s.arg(
            shownTarget, fileErrorReason(QFileDevice::RenameError, error.value(),
                                         QString::fromStdString(error.message()))));
    return {};
}

} // namespace kelvary
