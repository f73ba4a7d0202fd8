// Sessions kelvary-cli writes, loaded and saved again by Ardour's own session code.

#include "cli/clirunner.h"
#include "support/testfiles.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

using namespace kelvary;
using namespace Qt::StringLiterals;

namespace {

struct SessionTrack {
    QString name;
    quint32 color = 0;
    QStringList inputs; // one entry per port: its connections joined by ","
    QStringList outputs;

    bool operator==(const SessionTrack &) const = default;
};

// The tracks of a session file in presentation order, the master bus left out.
QList<SessionTrack> sessionTracks(const QString &path)
{
    QMap<qint64, SessionTrack> byOrder;
    QXmlStreamReader xml(fileBytes(path));
    SessionTrack track;
    qint64 order = -1;
    QStringList *ports = nullptr;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name() == u"Route"_s) {
            if (order >= 0)
                byOrder.insert(order, track);
            ports = nullptr;
        }
        if (!xml.isStartElement())
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        if (xml.name() == u"Route"_s) {
            track = {a.value(u"name"_s).toString(), 0, {}, {}};
        } else if (xml.name() == u"PresentationInfo"_s) {
            const bool master = a.value(u"flags"_s).contains(u"MasterOut"_s);
            order = master ? -1 : a.value(u"order"_s).toLongLong();
            track.color = a.value(u"color"_s).toUInt();
        } else if (xml.name() == u"IO"_s) {
            ports = a.value(u"direction"_s) == u"Input"_s ? &track.inputs : &track.outputs;
        } else if (xml.name() == u"Port"_s && ports) {
            ports->append(QString());
        } else if (xml.name() == u"Connection"_s && ports) {
            QString &port = ports->back();
            port += (port.isEmpty() ? QString() : u","_s) + a.value(u"other"_s).toString();
        }
    }
    EXPECT_FALSE(xml.hasError()) << path.toStdString() << ": " << xml.errorString().toStdString();
    return byOrder.values();
}

SessionTrack track(const QString &name, quint32 color, const QStringList &inputs)
{
    return {name, color, inputs, {u"Master/audio_in 1"_s, u"Master/audio_in 2"_s}};
}

constexpr quint32 inputBlue = 0x8CBFF2FF;
constexpr quint32 auxViolet = 0xB38CE6FF;

} // namespace

TEST(ArdourSession, ArdourLoadsTheSessionAndKeepsEveryTrackAsWritten)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto path = [&](const QString &name) { return dir.filePath(name); };
    const CliRun first =
        runCli({u"convert"_s, QStringLiteral(KELVARY_TEST_DATA "/reports/ardour-show.txt"),
                u"--types"_s, u"Input,Aux"_s, u"--plan-device"_s, u"Stage Rack:8"_s, u"--device"_s,
                u"Stage Rack"_s, u"--start"_s, u"2"_s, u"--ardour"_s, path(u"Default"_s),
                u"--project"_s, path(u"show.kvp"_s)});
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    EXPECT_TRUE(QString::fromUtf8(first.out).contains(
        u"已导出 Ardour 会话至 Default · 6 条轨道\n"
        "输入已连接到录音设备 Stage Rack 的采集端口 system:capture_%n\n"
        "2 条轨道名已按 Ardour 的要求改写：“Talk:Back” → “Talk-Back”、“Master” → “Master 1”\n"_s))
        << first.out.toStdString();

    // Colours of their own, Keys on the pair Ch 7–8, Talk:Back unassigned.
    QJsonObject project = QJsonDocument::fromJson(fileBytes(path(u"show.kvp"_s))).object();
    QJsonArray tracks = project[u"tracks"_s].toArray();
    for (qsizetype i = 0; i < tracks.size(); ++i) {
        QJsonObject t = tracks[i].toObject();
        const QString label = t[u"channelLabel"_s].toString();
        if (label == u"1"_s)
            t[u"colorHex"_s] = u"#FF8000"_s;
        if (label == u"2"_s)
            t[u"colorHex"_s] = u"#2080C0"_s;
        if (label == u"3s"_s)
            t[u"audioInputChannelID"_s] = u"planned:Stage Rack:stereo:6"_s;
        if (label == u"5"_s) {
            t.remove(u"audioInputDeviceUID"_s);
            t.remove(u"audioInputChannelID"_s);
        }
        tracks[i] = t;
    }
    project[u"tracks"_s] = tracks;
    writeBytes(path(u"edited.kvp"_s), QJsonDocument(project).toJson());

    const QString pipeWire = u"Scarlett 18i20:capture_AUX%i"_s;
    // Virtual soundcheck: each track plays back to the outputs of its inputs, not to the master.
    const auto played = [](SessionTrack t) {
        t.outputs = t.inputs;
        for (QString &port : t.outputs)
            port.replace(u"capture"_s, u"playback"_s);
        return t;
    };
    const struct {
        QString folder;
        QString project; // converted with the options; none: written by the first run
        QStringList options;
        QList<SessionTrack> written;
    } cases[] = {
        {u"Default"_s,
         {},
         {},
         {track(u"Kick \"In\""_s, inputBlue, {u"system:capture_2"_s}),
          track(u"主唱 Vox"_s, inputBlue, {u"system:capture_3"_s}),
          // The stereo channel takes a pair, and the tracks after it move on by two.
          track(u"Keys"_s, inputBlue, {u"system:capture_4"_s, u"system:capture_5"_s}),
          track(u"Talk-Back"_s, inputBlue, {u"system:capture_6"_s}),
          track(u"Master 1"_s, inputBlue, {u"system:capture_7"_s}),
          track(u"A1 Wedge 1"_s, auxViolet, {u"system:capture_8"_s})}},
        {u"Playback"_s,
         u"show.kvp"_s,
         {u"--playback-outputs"_s, u"same"_s},
         {played(track(u"Kick \"In\""_s, inputBlue, {u"system:capture_2"_s})),
          played(track(u"主唱 Vox"_s, inputBlue, {u"system:capture_3"_s})),
          played(track(u"Keys"_s, inputBlue, {u"system:capture_4"_s, u"system:capture_5"_s})),
          played(track(u"Talk-Back"_s, inputBlue, {u"system:capture_6"_s})),
          played(track(u"Master 1"_s, inputBlue, {u"system:capture_7"_s})),
          played(track(u"A1 Wedge 1"_s, auxViolet, {u"system:capture_8"_s}))}},
        {u"PipeWire"_s,
         u"edited.kvp"_s,
         {u"--split-stereo"_s, u"--capture-ports"_s, pipeWire, u"--sample-rate"_s, u"96000"_s},
         {track(u"Kick \"In\""_s, 0xFF8000FF, {u"Scarlett 18i20:capture_AUX1"_s}),
          track(u"主唱 Vox"_s, 0x2080C0FF, {u"Scarlett 18i20:capture_AUX2"_s}),
          track(u"Keys L"_s, inputBlue, {u"Scarlett 18i20:capture_AUX6"_s}),
          track(u"Keys R"_s, inputBlue, {u"Scarlett 18i20:capture_AUX7"_s}),
          track(u"Talk-Back"_s, inputBlue, {QString()}),
          track(u"Master 1"_s, inputBlue, {u"Scarlett 18i20:capture_AUX6"_s}),
          track(u"A1 Wedge 1"_s, auxViolet, {u"Scarlett 18i20:capture_AUX7"_s})}},
    };
    QStringList sessions;
    for (const auto &c : cases) {
        if (!c.project.isEmpty()) {
            const CliRun run =
                runCli(QStringList{u"convert"_s, path(c.project), u"--ardour"_s, path(c.folder)} +
                       c.options);
            ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        }
        sessions << path(c.folder) << c.folder;
    }

    QProcess ardour;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString &variable : {u"XDG_CONFIG_HOME"_s, u"XDG_CACHE_HOME"_s, u"XDG_DATA_HOME"_s})
        environment.insert(variable, path(u"ardour-home"_s));
    ardour.setProcessEnvironment(environment);
    ardour.setProcessChannelMode(QProcess::MergedChannels);
    ardour.start(QStringLiteral(KELVARY_ARDOUR_LUA),
                 QStringList{QStringLiteral(KELVARY_ARDOUR_RESAVE_SCRIPT)} + sessions);
    ASSERT_TRUE(ardour.waitForFinished(120000));
    // Ardour complains only of the ports its dummy audio system lacks: the PipeWire device's.
    QStringList complaints = QString::fromUtf8(ardour.readAll()).split(u'\n').filter(u"[ERROR]"_s);
    complaints.removeIf(
        [](const QString &line) { return line.contains(u" port: (Scarlett 18i20:"_s); });
    EXPECT_EQ(complaints, QStringList());

    for (const auto &c : cases) {
        SCOPED_TRACE(c.folder.toStdString());
        const QString folder = path(c.folder) + u'/';
        EXPECT_EQ(sessionTracks(folder + c.folder + u".ardour"_s), c.written);
        // Ardour keeps connections only to ports the audio system has: the dummy one has no
        // PipeWire device.
        QList<SessionTrack> resaved = c.written;
        for (SessionTrack &t : resaved) {
            if (t.inputs.join(QString()).contains(u"Scarlett"_s))
                t.inputs.fill(QString());
        }
        EXPECT_EQ(sessionTracks(folder + u"resaved.ardour"_s), resaved);
        for (const QString &sub : {u"interchange/"_s + c.folder + u"/audiofiles"_s, u"peaks"_s})
            EXPECT_TRUE(QDir(folder + sub).exists()) << sub.toStdString();
    }
    EXPECT_TRUE(fileBytes(path(u"PipeWire/resaved.ardour"_s)).contains("sample-rate=\"96000\""));
}

TEST(ArdourSession, RefusesAFolderInUseAndBadOptionsWithoutWritingAnything)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString report = QStringLiteral(KELVARY_TEST_DATA "/reports/ardour-show.txt");
    const QString show = dir.filePath(u"Show"_s);
    ASSERT_TRUE(QDir().mkpath(show));
    writeBytes(show + u"/take1.wav"_s, "RIFF");
    const struct {
        QStringList options;
        int exitCode;
        QString message;
    } cases[] = {
        {{u"--ardour"_s, show}, 1, u"“Show”已存在且不是空文件夹"_s},
        {{u"--capture-ports"_s, u"system:capture_%n"_s}, 2, u"只能与 --ardour 一起使用"_s},
    };
    for (const auto &c : cases) {
        const CliRun run = runCli(QStringList{u"convert"_s, report} + c.options);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.options.join(u' ').toStdString();
        EXPECT_TRUE(QString::fromUtf8(run.err).contains(c.message)) << run.err.toStdString();
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{u"Show"_s});
    EXPECT_EQ(QDir(show).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{u"take1.wav"_s});
    EXPECT_EQ(fileBytes(show + u"/take1.wav"_s), "RIFF");
}
