#include "app/projectdocument.h"
#include "support/printers.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimeZone>

#include <limits>

#include <gtest/gtest.h>

using namespace kelvary;
using namespace Qt::StringLiterals;

namespace {

ProjectDocumentSnapshot sampleDocument()
{
    ProjectDocumentSnapshot document;
    document.generatedAt = u"2026-12-05T03:18:37Z"_s;
    document.splitStereoChannels = true;
    document.session = {u"Band/Live"_s, u"SD12"_s, u"shows/main.rtf"_s, u"1/2/2026"_s, u"V1"_s, {}};

    TrackChannel plain;
    plain.channelLabel = u"1"_s;
    plain.channelNumber = 1;
    plain.name = u"Kick \"In\" \\ 主唱"_s;
    TrackChannel side = plain.stereoSideChannel(u"2"_s, StereoChannelSide::right);
    side.channelType = DigicoChannelType::aux;
    side.color = {0.7, 0.55, 0.9, 1.0};
    side.isIncluded = false;
    side.audioInputDeviceUID = u"hw:CARD=MADI,DEV=0"_s;
    side.audioInputChannelID = u"hw:CARD=MADI,DEV=0:stereo:4"_s;
    document.session.tracks = {plain, side};
    document.selectedTrackIDs = {uuidText(side.id), uuidText(plain.id)};
    document.plannedAudioDevices = {{u"planned:Stage Rack"_s, u"Stage Rack"_s, 32},
                                    {u"hw:CARD=MADI,DEV=0"_s, u"MADI"_s, 64}};
    return document;
}

void setOrRemove(QJsonObject &object, const QString &key, const QJsonValue &value)
{
    if (value.isUndefined())
        object.remove(key);
    else
        object.insert(key, value);
}

QJsonObject parse(const QByteArray &data)
{
    return QJsonDocument::fromJson(data).object();
}

// The sample document with one key of one object replaced (or removed, for an undefined value).
QByteArray withKey(const QStringList &path, const QJsonValue &value)
{
    QJsonObject root = parse(writeProjectDocument(sampleDocument()));
    if (path.size() == 1) {
        setOrRemove(root, path[0], value);
    } else if (path[0] == u"session") {
        QJsonObject session = root[u"session"_s].toObject();
        setOrRemove(session, path[1], value);
        root.insert(u"session"_s, session);
    } else {
        // The second entry of the tracks or of the planned devices.
        QJsonArray entries = root[path[0]].toArray();
        QJsonObject entry = entries[1].toObject();
        setOrRemove(entry, path[1], value);
        entries[1] = entry;
        root.insert(path[0], entries);
    }
    return QJsonDocument(root).toJson();
}

QString readError(const QByteArray &data)
{
    const Result<ProjectDocumentSnapshot> document = readProjectDocument(data);
    return document ? u"(read)"_s : document.error().message();
}

} // namespace

TEST(ProjectDocument, RoundTripsEveryField)
{
    const ProjectDocumentSnapshot document = sampleDocument();
    const Result<ProjectDocumentSnapshot> read =
        readProjectDocument(writeProjectDocument(document));
    ASSERT_TRUE(read) << read.error().message().toStdString();
    ProjectDocumentSnapshot expected = document;
    expected.selectedTrackIDs.sort();
    // Colours come back through their hex text.
    expected.session.tracks[0].color = colorFromHex(u"#8CBFF2"_s);
    expected.session.tracks[1].color = colorFromHex(u"#B38CE6"_s);
    EXPECT_EQ(*read, expected);
}

TEST(ProjectDocument, WritesSortedPrettyUtf8WithPlainSlashes)
{
    const QByteArray data = writeProjectDocument(sampleDocument());
    const QString text = QString::fromUtf8(data);
    EXPECT_TRUE(text.contains(u"\"sessionName\": \"Band/Live\""));
    EXPECT_TRUE(text.contains(u"主唱"));
    EXPECT_LT(text.indexOf(u"\"app\""), text.indexOf(u"\"formatVersion\""));
    EXPECT_LT(text.indexOf(u"\"selectedTrackIDs\""), text.indexOf(u"\"session\""));
    EXPECT_LT(text.indexOf(u"\"splitStereoChannels\""), text.indexOf(u"\"tracks\""));

    const QJsonObject root = parse(data);
    EXPECT_EQ(root[u"formatVersion"_s].toInt(), 1);
    EXPECT_EQ(root[u"app"_s].toString(), u"Kelvary"_s);
    QStringList selection;
    for (const QJsonValue &id : root[u"selectedTrackIDs"_s].toArray())
        selection << id.toString();
    QStringList sorted = selection;
    sorted.sort();
    EXPECT_EQ(selection, sorted);
    EXPECT_EQ(selection.first(), selection.first().toUpper());
    // Left out when empty: such a project reads the same for a Kelvary without planned devices.
    EXPECT_FALSE(parse(writeProjectDocument({})).contains(u"plannedAudioDevices"_s));

    const QJsonObject plain = root[u"tracks"_s].toArray()[0].toObject();
    EXPECT_EQ(plain.keys(),
              (QStringList{u"channelLabel"_s, u"channelNumber"_s, u"channelType"_s, u"colorHex"_s,
                           u"extraInfo"_s, u"id"_s, u"inputRoute"_s, u"isIncluded"_s, u"name"_s}));
    const QJsonObject side = root[u"tracks"_s].toArray()[1].toObject();
    EXPECT_EQ(side[u"stereoSide"_s].toString(), u"R"_s);
    EXPECT_EQ(side[u"colorHex"_s].toString(), u"#B38CE6"_s);
    EXPECT_EQ(
        projectTimestamp(QDateTime(QDate(2026, 12, 5), QTime(4, 18, 37, 512), QTimeZone(3600))),
        u"2026-12-05T03:18:37Z"_s);
}

TEST(ProjectDocument, WritesWhiteForAColourWithoutHexText)
{
    ProjectDocumentSnapshot document = sampleDocument();
    document.session.tracks[0].color.red = std::numeric_limits<double>::quiet_NaN();
    const QJsonObject root = parse(writeProjectDocument(document));
    EXPECT_EQ(root[u"tracks"_s].toArray()[0].toObject()[u"colorHex"_s].toString(), u"#FFFFFF"_s);
}

TEST(ProjectDocument, ReadsUnknownOrLooseValuesTolerantly)
{
    const auto trackOf = [](const QByteArray &data) {
        const Result<ProjectDocumentSnapshot> document = readProjectDocument(data);
        EXPECT_TRUE(document);
        return document ? document->session.tracks[1] : TrackChannel();
    };
    EXPECT_EQ(trackOf(withKey({u"tracks"_s, u"channelType"_s}, u"input"_s)).channelType,
              DigicoChannelType::other);
    EXPECT_EQ(trackOf(withKey({u"tracks"_s, u"channelType"_s}, u"Bus"_s)).channelType,
              DigicoChannelType::other);
    EXPECT_EQ(trackOf(withKey({u"tracks"_s, u"stereoSide"_s}, u"l"_s)).stereoSide, std::nullopt);
    EXPECT_EQ(trackOf(withKey({u"tracks"_s, u"stereoSide"_s}, QJsonValue::Null)).stereoSide,
              std::nullopt);
    EXPECT_EQ(trackOf(withKey({u"tracks"_s, u"audioInputDeviceUID"_s}, QJsonValue::Undefined))
                  .audioInputDeviceUID,
              std::nullopt);
    EXPECT_EQ(trackOf(withKey({u"tracks"_s, u"colorHex"_s}, u"#8cbff2"_s)).color,
              colorFromHex(u"#8CBFF2"_s));
    EXPECT_EQ(trackOf(withKey({u"tracks"_s, u"colorHex"_s}, u"red"_s)).color, neutralGray());
    EXPECT_EQ(trackOf(withKey({u"tracks"_s, u"extra"_s}, 5)).name, u"Kick \"In\" \\ 主唱 R"_s);
    EXPECT_TRUE(readProjectDocument(withKey({u"formatVersion"_s}, 7)));
    const qint64 largest = std::numeric_limits<qint64>::max();
    EXPECT_EQ(readProjectDocument(withKey({u"formatVersion"_s}, largest))->formatVersion, largest);
    EXPECT_TRUE(readProjectDocument(withKey({u"app"_s}, u"Something else"_s)));
}

TEST(ProjectDocument, RefusesDocumentsItCannotTrustAndSaysWhy)
{
    EXPECT_EQ(readError(withKey({u"session"_s}, QJsonValue::Undefined)), u"缺少键“session”。"_s);
    EXPECT_EQ(readError(withKey({u"tracks"_s, u"channelNumber"_s}, u"3"_s)),
              u"第 2 条轨道：键“channelNumber”应为整数。"_s);
    EXPECT_EQ(readError(withKey({u"tracks"_s, u"channelNumber"_s}, 2.5)),
              u"第 2 条轨道：键“channelNumber”应为整数。"_s);
    // Beyond 64 bits there is no integer to read, however whole the number looks.
    EXPECT_EQ(readError(withKey({u"formatVersion"_s}, 7.7e112)), u"键“formatVersion”应为整数。"_s);
    EXPECT_EQ(readError(withKey({u"tracks"_s, u"channelNumber"_s}, -1e19)),
              u"第 2 条轨道：键“channelNumber”应为整数。"_s);
    EXPECT_EQ(readError(withKey({u"tracks"_s, u"name"_s}, QJsonValue::Undefined)),
              u"第 2 条轨道：缺少键“name”。"_s);
    EXPECT_EQ(readError(withKey({u"tracks"_s, u"id"_s}, u"track-2"_s)),
              u"第 2 条轨道：键“id”不是有效的 UUID。"_s);
    EXPECT_EQ(readError(withKey({u"tracks"_s, u"stereoSide"_s}, 1)),
              u"第 2 条轨道：键“stereoSide”应为字符串。"_s);
    EXPECT_EQ(readError(withKey({u"session"_s, u"saveTime"_s}, QJsonValue::Null)),
              u"session：键“saveTime”应为字符串。"_s);
    EXPECT_EQ(readError(withKey({u"splitStereoChannels"_s}, u"yes"_s)),
              u"键“splitStereoChannels”应为布尔值。"_s);
    const QString planned = u"plannedAudioDevices"_s;
    EXPECT_EQ(readError(withKey({planned}, 3)), u"键“plannedAudioDevices”应为数组。"_s);
    EXPECT_EQ(readError(withKey({planned, u"name"_s}, QJsonValue::Undefined)),
              u"plannedAudioDevices 第 2 项：缺少键“name”。"_s);
    EXPECT_EQ(readError(withKey({planned, u"inputChannelCount"_s}, u"8"_s)),
              u"plannedAudioDevices 第 2 项：键“inputChannelCount”应为整数。"_s);
    for (int count : {0, 513}) {
        EXPECT_EQ(readError(withKey({planned, u"inputChannelCount"_s}, count)),
                  u"plannedAudioDevices 第 2 项：键“inputChannelCount”应为 1 到 512 之间的整数。"_s);
    }
    EXPECT_EQ(readError(withKey({planned, u"id"_s}, u"planned:Stage Rack"_s)),
              u"plannedAudioDevices 第 2 项：id“planned:Stage Rack”已被前面的设备使用。"_s);
    EXPECT_TRUE(readError("{\"app\": ").startsWith(u"文件不是有效的 JSON"));
    EXPECT_EQ(readError("[1, 2]"), u"文件的顶层应为对象。"_s);

    const ProjectDocumentSnapshot document = sampleDocument();
    ProjectDocumentSnapshot twins = document;
    twins.session.tracks[1].id = twins.session.tracks[0].id;
    EXPECT_TRUE(readError(writeProjectDocument(twins)).startsWith(u"第 2 条轨道：id "));
}
