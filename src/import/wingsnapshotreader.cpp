#include "import/wingsnapshotreader.h"

#include "import/jsonpick.h"
#include "model/recorderpatch.h"

#include <QFileInfo>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

using namespace Qt::StringLiterals;

namespace kelvary {

QString errorMessage(WingSnapshotError error)
{
    switch (error) {
    case WingSnapshotError::invalidJson:
        return u"无法读取 WING 快照：JSON 格式有误。"_s;
    case WingSnapshotError::notSnapshot:
        return u"这个 JSON 文件不是 WING 快照：“type”应以“snapshot.”开头。"_s;
    case WingSnapshotError::noChannels:
        return u"WING 快照中没有通道列表（ae_data.ch）。"_s;
    }
    Q_UNREACHABLE();
    return {};
}

namespace {

struct StripKind {
    QLatin1StringView key;
    int count;
    DigicoChannelType type;
    QLatin1StringView labelPrefix;
    bool hasSource; // channels and aux inputs; the others are mixes, stereo unless set to mono
};

constexpr std::array stripKinds{
    StripKind{"ch"_L1, 40, DigicoChannelType::input, ""_L1, true},
    StripKind{"aux"_L1, 8, DigicoChannelType::input, "Aux"_L1, true},
    StripKind{"bus"_L1, 16, DigicoChannelType::aux, "Bus"_L1, false},
    StripKind{"main"_L1, 4, DigicoChannelType::other, "Main"_L1, false},
    StripKind{"mtx"_L1, 8, DigicoChannelType::matrix, "Mtx"_L1, false},
};

struct InputGroup {
    QLatin1StringView key;
    QLatin1StringView name;
};

constexpr std::array inputGroups{
    InputGroup{"LCL"_L1, "Local"_L1},      InputGroup{"AUX"_L1, "Aux"_L1},
    InputGroup{"A"_L1, "AES50-A"_L1},      InputGroup{"B"_L1, "AES50-B"_L1},
    InputGroup{"C"_L1, "AES50-C"_L1},      InputGroup{"SC"_L1, "StageConnect"_L1},
    InputGroup{"USB"_L1, "USB"_L1},        InputGroup{"CRD"_L1, "Card"_L1},
    InputGroup{"MOD"_L1, "Module"_L1},     InputGroup{"PLAY"_L1, "Player"_L1},
    InputGroup{"AES"_L1, "AES/EBU"_L1},    InputGroup{"USR"_L1, "User"_L1},
    InputGroup{"OSC"_L1, "Oscillator"_L1},
};

// The desk's twelve strip colours, 1…12.
constexpr std::array stripColours{"#6C7A89"_L1, "#3D6FD6"_L1, "#243B8C"_L1, "#1ABC9C"_L1,
                                  "#2ECC40"_L1, "#708238"_L1, "#F4D03F"_L1, "#F39C12"_L1,
                                  "#E74C3C"_L1, "#FF7F50"_L1, "#FF69B4"_L1, "#B784A7"_L1};

// A whole number the JSON holds as one, in a range no strip or input ever leaves.
std::optional<int> wholeNumber(const JsonNode &value)
{
    if (value.kind != JsonNode::Kind::number)
        return std::nullopt;
    const double number = value.number;
    if (!(number >= 0 && number <= 1e6) || std::trunc(number) != number)
        return std::nullopt;
    return int(number);
}

QString groupName(const QString &group)
{
    for (const InputGroup &known : inputGroups) {
        if (group == known.key)
            return known.name;
    }
    return group;
}

// Control characters are no part of a name; an escaped NUL would cut it short in every export.
QString nameText(const JsonNode &value)
{
    QString text = value.text();
    text.removeIf([](QChar c) { return c < u' '; });
    return text;
}

bool isBlank(const QString &text)
{
    return text.trimmed().isEmpty();
}

struct Source {
    QString route;
    QString name;
    bool stereo = false;
    QString group;
    int input = 0;
};

// The input a channel or aux input listens to, by its connection {grp, in}; nothing when off.
std::optional<Source> stripSource(const JsonNode &strip, const JsonNode &inputs)
{
    const JsonNode &connection = strip[u"in"][u"conn"];
    const QString group = connection[u"grp"].text();
    const std::optional<int> input = wholeNumber(connection[u"in"]);
    if (group.isEmpty() || group == u"OFF" || !input || *input < 1)
        return std::nullopt;
    const JsonNode &entry = inputs[group][QString::number(*input)];
    Source source;
    source.group = group;
    source.input = *input;
    source.stereo = entry[u"mode"].text() == u"ST";
    source.name = nameText(entry[u"name"]);
    source.route = source.stereo
                       ? u"%1 %2\u2013%3"_s.arg(groupName(group)).arg(*input).arg(*input + 1)
                       : u"%1 %2"_s.arg(groupName(group)).arg(*input);
    return source;
}

// What the reader looks at; everything else in a snapshot is read past.
const QList<QList<QByteArray>> &wantedPaths()
{
    static const QList<QList<QByteArray>> paths = [] {
        QList<QList<QByteArray>> result{{"type"},
                                        {"creator_fw"},
                                        {"creator_vers"},
                                        {"created"},
                                        {"active_scene"},
                                        {"ae_data", "io", "in", "*", "*", "mode"},
                                        {"ae_data", "io", "in", "*", "*", "name"}};
        for (const StripKind &kind : stripKinds) {
            const QByteArray key = QByteArray(kind.key.data(), kind.key.size());
            for (const char *field : {"name", "col", "busmono"})
                result.append({"ae_data", key, "*", field});
            result.append({"ae_data", key, "*", "in", "conn", "grp"});
            result.append({"ae_data", key, "*", "in", "conn", "in"});
        }
        for (const char *recorder : {"USB", "CRD", "MOD"}) {
            result.append({"ae_data", "io", "out", recorder, "*", "grp"});
            result.append({"ae_data", "io", "out", recorder, "*", "in"});
        }
        result.append({"ae_data", "io", "in", "USR", "*", "user", "grp"});
        result.append({"ae_data", "io", "in", "USR", "*", "user", "in"});
        return result;
    }();
    return paths;
}

struct Recorder {
    QLatin1StringView key;
    QLatin1StringView id;
    QLatin1StringView name;
    int channelCount;
};

constexpr std::array recorders{
    Recorder{"USB"_L1, "usb"_L1, "WING USB"_L1, 48},
    Recorder{"CRD"_L1, "card"_L1, "WING Card"_L1, 64},
    Recorder{"MOD"_L1, "module"_L1, "WING Module"_L1, 64},
};

// The signal an input of the desk's groups is matched by: "in:LCL:5".
QString inputSignal(const QString &group, int input)
{
    return u"in:%1:%2"_s.arg(group).arg(input);
}

// The signal one leg of a mix strip sends: "leg:Bus3:L".
QString legSignal(const QString &label, StereoChannelSide side)
{
    return u"leg:%1:%2"_s.arg(label, stereoSideText(side));
}

// What output {grp, in} of a recorder carries, as the signals tracks are matched by: an input of
// a group, a channel or aux through a user signal, a leg of a bus, main or matrix.
QStringList outputSignals(const JsonNode &output, const JsonNode &userSignals)
{
    const QString group = output[u"grp"].text();
    const std::optional<int> input = wholeNumber(output[u"in"]);
    if (!input || *input < 1)
        return {};
    if (std::any_of(inputGroups.cbegin(), inputGroups.cend(),
                    [&](const InputGroup &known) { return known.key == group; }) &&
        group != u"USR")
        return {inputSignal(group, *input)};
    if (group == u"USR") {
        const JsonNode &user = userSignals[QString::number(*input)][u"user"];
        const QString strip = user[u"grp"].text();
        const std::optional<int> number = wholeNumber(user[u"in"]);
        if (!number || (strip != u"CH" && strip != u"AUX"))
            return {};
        return {u"strip:%1%2"_s.arg(strip == u"AUX" ? u"Aux"_s : QString()).arg(*number)};
    }
    for (auto [key, label] : {std::pair("BUS"_L1, "Bus"_L1), std::pair("MAIN"_L1, "Main"_L1),
                              std::pair("MTX"_L1, "Mtx"_L1)}) {
        if (group == key) {
            return {legSignal(label + QString::number((*input + 1) / 2),
                              *input % 2 ? StereoChannelSide::left : StereoChannelSide::right)};
        }
    }
    return {};
}

// What a strip's track is recorded by: its source input or the strip itself through a user
// signal for a channel or aux, its legs for a mix.
RecorderWanted wantedSignals(const QString &label, const QString &stripName, bool hasSource,
                             const std::optional<Source> &source, bool stereo)
{
    RecorderWanted want{label, {}, {}};
    const QString strip = u"strip:"_s + stripName;
    if (!hasSource) {
        const QString left = legSignal(stripName, StereoChannelSide::left);
        if (stereo)
            want.pairs.append({left, legSignal(stripName, StereoChannelSide::right)});
        else
            want.mono.append(left);
        return want;
    }
    if (stereo) {
        want.pairs.append({strip, strip});
        if (source)
            want.pairs.append({inputSignal(source->group, source->input),
                               inputSignal(source->group, source->input + 1)});
    } else {
        want.mono.append(strip);
        if (source)
            want.mono.append(inputSignal(source->group, source->input));
    }
    return want;
}

QString baseNameOfPath(const QString &path)
{
    QString name = path.sliced(std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\')) + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? name : name.first(dot);
}

// "3.0.5" of "3.0.5-0-g0c2b9d4a:release": the digits and dots it starts with.
QString leadingVersion(const QString &text)
{
    qsizetype end = 0;
    while (end < text.size() && (text[end].isDigit() || text[end] == u'.'))
        ++end;
    return text.first(end);
}

} // namespace

bool isJsonObjectText(const QByteArray &bytes)
{
    QByteArrayView text = bytes;
    if (text.startsWith("\xEF\xBB\xBF"))
        text = text.sliced(3);
    text = text.trimmed();
    return text.startsWith('{') && !text.startsWith("{\\rtf");
}

Result<ParsedSession> readWingSnapshot(const QByteArray &json, const QString &fileName)
{
    const JsonPick picked =
        pickJson(json.startsWith("\xEF\xBB\xBF") ? json.sliced(3) : json, wantedPaths());
    if (!picked.root) {
        return Error(
            WingSnapshotError::invalidJson,
            u"无法读取 WING 快照：JSON 在第 %1 个字节处有误（%2）。"_s.arg(picked.error.offset)
                .arg(picked.error.reason));
    }
    const JsonNode &root = *picked.root;
    if (!root[u"type"].text().startsWith(u"snapshot."))
        return WingSnapshotError::notSnapshot;
    const JsonNode &desk = root[u"ae_data"];
    if (!desk[u"ch"].isObject())
        return WingSnapshotError::noChannels;
    const JsonNode &inputs = desk[u"io"][u"in"];

    ParsedSession session;
    const QString scene = baseNameOfPath(root[u"active_scene"].text());
    session.sessionName = scene.isEmpty() ? QFileInfo(fileName).completeBaseName() : scene;
    session.consoleName = u"WING"_s;
    session.sourceFileName = fileName;
    session.saveTime = root[u"created"].text();
    session.softwareVersion = leadingVersion(root[u"creator_fw"].text());
    if (session.softwareVersion.isEmpty() && root[u"creator_vers"].kind == JsonNode::Kind::string)
        session.softwareVersion = u"WING Edit "_s + root[u"creator_vers"].text();

    QList<RecorderWanted> wanted;
    for (const StripKind &kind : stripKinds) {
        const JsonNode &strips = desk[QString(kind.key)];
        for (int number = 1; number <= kind.count; ++number) {
            const JsonNode &strip = strips[QString::number(number)];
            TrackChannel track;
            track.channelType = kind.type;
            track.name = nameText(strip[u"name"]);
            bool stereo = false;
            std::optional<Source> source;
            if (kind.hasSource) {
                source = stripSource(strip, inputs);
                if (source) {
                    stereo = source->stereo;
                    track.inputRoute = source->route;
                    if (isBlank(track.name) && !isBlank(source->name))
                        track.name = source->name;
                }
                if (isBlank(track.name))
                    track.name.clear();
                track.isIncluded = source && !track.name.isEmpty();
            } else {
                if (isBlank(track.name))
                    track.name.clear();
                const JsonNode &mono = strip[u"busmono"];
                stereo = !(mono.kind == JsonNode::Kind::boolean && mono.boolean);
                track.isIncluded = false;
            }
            track.channelLabel =
                kind.labelPrefix + QString::number(number) + (stereo ? u"s"_s : QString());
            track.channelNumber = number;
            const std::optional<int> colour = wholeNumber(strip[u"col"]);
            track.color = colour && *colour >= 1 && *colour <= int(stripColours.size())
                              ? colorFromHex(stripColours[*colour - 1])
                              : defaultColor(kind.type);
            wanted.append(wantedSignals(track.channelLabel,
                                        kind.labelPrefix + QString::number(number), kind.hasSource,
                                        source, stereo));
            session.tracks.append(std::move(track));
        }
    }

    const JsonNode &outputs = desk[u"io"][u"out"];
    for (const Recorder &recorder : recorders) {
        const JsonNode &routed = outputs[QString(recorder.key)];
        if (!routed.isObject())
            continue;
        QList<QStringList> carried;
        for (int k = 1; k <= recorder.channelCount; ++k)
            carried.append(outputSignals(routed[QString::number(k)], inputs[u"USR"]));
        session.recorderPatch.append(
            {recorder.id, recorder.name, deriveRecorderChannels(carried, wanted)});
    }
    return session;
}

} // namespace kelvary
