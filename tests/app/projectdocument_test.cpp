#include "app/projectdocument.h"
#include "support/printers.h"
#include "support/testfiles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

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
    plain.id = QUuid(u"{6f1c0d52-8a3e-4b7a-9c11-0d2e3f405162}"_s);
    TrackChannel side = plain.stereoSideChannel(u"2"_s, StereoChannelSide::right);
    side.id = QUuid(u"{0a9b8c7d-6e5f-4a3b-8c2d-1e0f9a8b7c6d}"_s);
    side.channelType = DigicoChannelType::aux;
    side.color = {0.7, 0.55, 0.9, 1.0};
    side.isIncluded = false;
    side.audioInputDeviceUID = u"hw:CARD=MADI,DEV=0"_s;
    side.audioInputChannelID = u"hw:CARD=MADI,DEV=0:stereo:4"_s;
    document.session.tracks = {plain, side};
    document.selectedTrackIDs = {uuidText(plain.id), uuidText(side.id)};
    document.plannedAudioDevices = {{u"planned:Stage Rack"_s, u"Stage Rack"_s, 32},
                                    {u"hw:CARD=MADI,DEV=0"_s, u"MADI"_s, 64}};
    document.playbackOutputs = {true, 2};
    document.session.recorderPatch = {
        {u"usb"_s, u"WING USB"_s, {{}, {{u"2s"_s, StereoChannelSide::left}, {u"1"_s, {}}}}}};
    return document;
}

QJsonObject parse(const QByteArray &data)
{
    return QJsonDocument::fromJson(data).object();
}

// The sample document with one key replaced (or removed, for an undefined value): a top-level
// key, or one of the second entry of the tracks or of the planned devices.
QByteArray withKey(const QStringList &path, const QJsonValue &value)
{
    const auto edited = [&](QJsonObject object) {
        if (value.isUndefined())
            object.remove(path.last());
        else
            object.insert(path.last(), value);
        return object;
    };
    QJsonObject root = parse(writeProjectDocument(sampleDocument()));
    if (path.size() == 1)
        return QJsonDocument(edited(root)).toJson();
    QJsonArray entries = root[path[0]].toArray();
    entries[1] = edited(entries[1].toObject());
    root[path[0]] = entries;
    return QJsonDocument(root).toJson();
}

QString readError(const QByteArray &data)
{
    const Result<ProjectDocumentSnapshot> document = readProjectDocument(data);
    return document ? u"(read)"_s : document.error().message();
}

} // namespace

// Sorted keys, indented, UTF-8 and plain slashes, the selection sorted; every field read back.
TEST(ProjectDocument, WritesTheGoldenDocumentAndReadsEveryFieldBack)
{
    const ProjectDocumentSnapshot document = sampleDocument();
    const QByteArray data = writeProjectDocument(document);
    EXPECT_EQ(data, fixtureBytes(u"project/sample.kvp"_s));
    const Result<ProjectDocumentSnapshot> read = readProjectDocument(data);
    ASSERT_TRUE(read) << read.error().message().toStdString();
    ProjectDocumentSnapshot expected = document;
    expected.selectedTrackIDs.sort();
    // Colours come back through their hex text.
    expected.session.tracks[0].color = colorFromHex(u"#8CBFF2"_s);
    expected.session.tracks[1].color = colorFromHex(u"#B38CE6"_s);
    EXPECT_EQ(*read, expected);

    // Left out when empty: such a project reads the same for a Kelvary without planned devices.
    EXPECT_FALSE(parse(writeProjectDocument({})).contains(u"plannedAudioDevices"_s));
    EXPECT_FALSE(parse(writeProjectDocument({})).contains(u"playbackOutputs"_s));
    EXPECT_FALSE(parse(writeProjectDocument({})).contains(u"recorderPatch"_s));
    // A colour without hex text is written as white.
    ProjectDocumentSnapshot broken = document;
    broken.session.tracks[0].color.red = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(readProjectDocument(writeProjectDocument(broken))->session.tracks[0].color,
              colorFromHex(u"#FFFFFF"_s));
}

TEST(ProjectDocument, ReadsUnknownOrLooseValuesTolerantly)
{
    const auto trackOf = [](const QString &key, const QJsonValue &value) {
        const Result<ProjectDocumentSnapshot> document =
            readProjectDocument(withKey({u"tracks"_s, key}, value));
        EXPECT_TRUE(document) << key.toStdString();
        return document ? document->session.tracks[1] : TrackChannel();
    };
    EXPECT_EQ(trackOf(u"channelType"_s, u"input"_s).channelType, DigicoChannelType::other);
    EXPECT_EQ(trackOf(u"stereoSide"_s, u"l"_s).stereoSide, std::nullopt);
    EXPECT_EQ(trackOf(u"audioInputDeviceUID"_s, QJsonValue::Undefined).audioInputDeviceUID,
              std::nullopt);
    EXPECT_EQ(trackOf(u"colorHex"_s, u"#8cbff2"_s).color, colorFromHex(u"#8CBFF2"_s));
    EXPECT_EQ(trackOf(u"colorHex"_s, u"red"_s).color, neutralGray());
}

TEST(ProjectDocument, RefusesDocumentsItCannotTrustAndSaysWhy)
{
    const QString planned = u"plannedAudioDevices"_s;
    const QString number = u"channelNumber"_s;
    const QString notAnInteger = u"第 2 条轨道：键“channelNumber”应为整数。"_s;
    const struct {
        QStringList path;
        QJsonValue value;
        QString message;
    } cases[] = {
        {{u"session"_s}, QJsonValue::Undefined, u"缺少键“session”。"_s},
        {{u"tracks"_s, number}, u"3"_s, notAnInteger},
        // Beyond 64 bits there is no integer to read, however whole the number looks.
        {{u"tracks"_s, number}, -1e19, notAnInteger},
        {{u"tracks"_s, u"id"_s}, u"track-2"_s, u"第 2 条轨道：键“id”不是有效的 UUID。"_s},
        {{planned}, 3, u"键“plannedAudioDevices”应为数组。"_s},
        {{planned, u"inputChannelCount"_s},
         513,
         u"plannedAudioDevices 第 2 项：键“inputChannelCount”应为 1 到 512 之间的整数。"_s},
        {{planned, u"id"_s},
         u"planned:Stage Rack"_s,
         u"plannedAudioDevices 第 2 项：id“planned:Stage Rack”已被前面的设备使用。"_s},
        {{u"playbackOutputs"_s},
         QJsonObject{{u"offset"_s, -1}},
         u"playbackOutputs：“offset”不能为负数。"_s},
        {{u"playbackOutputs"_s},
         QJsonObject{{u"offset"_s, 1.5}},
         u"playbackOutputs：键“offset”应为整数。"_s},
        {{u"recorderPatch"_s},
         QJsonArray{QJsonObject{
             {u"id"_s, u"usb"_s},
             {u"name"_s, u"WING USB"_s},
             {u"channels"_s,
              QJsonArray{QJsonArray{QJsonObject{{u"label"_s, u"2s"_s}, {u"side"_s, u"X"_s}}}}}}},
         u"recorderPatch 第 1 项：第 1 路：键“side”应为“L”或“R”。"_s},
    };
    for (const auto &c : cases)
        EXPECT_EQ(readError(withKey(c.path, c.value)), c.message)
            << c.path.join(u'.').toStdString();
    EXPECT_EQ(readError("{\n  \"app\": \"Kelvary\"\n  \"x\": 1}"),
              u"工程文件已损坏：第 3 行第 4 列对象缺少结尾的“}”。"_s);
    EXPECT_EQ(readError("[1, 2]"), u"文件的顶层应为对象。"_s);

    ProjectDocumentSnapshot twins = sampleDocument();
    twins.session.tracks[1].id = twins.session.tracks[0].id;
    EXPECT_TRUE(readError(writeProjectDocument(twins)).startsWith(u"第 2 条轨道：id "));
}
