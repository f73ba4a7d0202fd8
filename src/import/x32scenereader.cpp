#include "import/x32scenereader.h"

#include "model/recorderpatch.h"

#include <QFileInfo>
#include <QList>

#include <algorithm>
#include <array>
#include <optional>

using namespace Qt::StringLiterals;

namespace kelvary {

QString errorMessage(X32SceneError error)
{
    switch (error) {
    case X32SceneError::noChannels:
        return u"未在 X32/M32 场景文件中找到通道列表。"_s;
    }
    Q_UNREACHABLE();
    return {};
}

namespace {

struct StripKind {
    QLatin1StringView path; // "/ch/": the strip's number and "/config" follow
    int count;
    DigicoChannelType type;
    QLatin1StringView labelPrefix;
};

// In the order the tracks are listed. The two mains follow on their own paths.
constexpr std::array stripKinds{
    StripKind{"/ch/"_L1, 32, DigicoChannelType::input, ""_L1},
    StripKind{"/auxin/"_L1, 8, DigicoChannelType::input, "Aux"_L1},
    StripKind{"/bus/"_L1, 16, DigicoChannelType::aux, "Bus"_L1},
    StripKind{"/mtx/"_L1, 6, DigicoChannelType::matrix, "Mtx"_L1},
};
constexpr int numberedStripCount = 32 + 8 + 16 + 6;
constexpr int stereoMainIndex = numberedStripCount;
constexpr int monoMainIndex = numberedStripCount + 1;
constexpr int stripCount = numberedStripCount + 2;
constexpr qsizetype userInputCount = 32;

struct Strip {
    QString name;
    QStringView colour;
    std::optional<int> source;
};

struct ColourToken {
    QLatin1StringView token;
    QLatin1StringView hex;
};

constexpr std::array colourTokens{
    ColourToken{"RD"_L1, "#E53935"_L1}, ColourToken{"GN"_L1, "#43A047"_L1},
    ColourToken{"YE"_L1, "#FDD835"_L1}, ColourToken{"BL"_L1, "#1E88E5"_L1},
    ColourToken{"MG"_L1, "#D81B60"_L1}, ColourToken{"CY"_L1, "#00ACC1"_L1},
    ColourToken{"WH"_L1, "#ECEFF1"_L1},
};

// A trailing "i" only inverts the display of the scribble strip; OFF and unknown tokens have none.
RGBColor stripColour(QStringView token, DigicoChannelType type)
{
    if (token.size() == 3 && token.endsWith(u'i'))
        token.chop(1);
    for (const ColourToken &colour : colourTokens) {
        if (token == colour.token)
            return colorFromHex(colour.hex);
    }
    return defaultColor(type);
}

std::optional<int> decimal(QStringView text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

// The index of the strip a path such as "/ch/07/config" names, or nothing.
std::optional<int> stripIndex(QStringView path)
{
    if (!path.endsWith(u"/config"))
        return std::nullopt;
    path.chop(7);
    if (path == u"/main/st")
        return stereoMainIndex;
    if (path == u"/main/m")
        return monoMainIndex;
    int first = 0;
    for (const StripKind &kind : stripKinds) {
        if (path.startsWith(kind.path)) {
            const std::optional<int> number = decimal(path.sliced(kind.path.size()));
            if (!number || *number < 1 || *number > kind.count)
                return std::nullopt;
            return first + *number - 1;
        }
        first += kind.count;
    }
    return std::nullopt;
}

// The values after a path: words separated by spaces, a double-quoted text being one value.
QList<QStringView> values(QStringView text)
{
    QList<QStringView> result;
    qsizetype at = 0;
    while (at < text.size()) {
        if (text[at] == u' ' || text[at] == u'\t') {
            ++at;
        } else if (text[at] == u'"') {
            qsizetype end = text.indexOf(u'"', at + 1);
            if (end < 0)
                end = text.size();
            result.append(text.sliced(at + 1, end - at - 1));
            at = end + 1;
        } else {
            qsizetype end = at;
            while (end < text.size() && text[end] != u' ' && text[end] != u'\t')
                ++end;
            result.append(text.sliced(at, end - at));
            at = end;
        }
    }
    return result;
}

// What the desk reads from a user-in slot.
std::optional<QString> userInputRoute(int value)
{
    if (value == 0)
        return QString();
    if (value >= 1 && value <= 32)
        return u"Local %1"_s.arg(value);
    if (value >= 33 && value <= 80)
        return u"AES50-A %1"_s.arg(value - 32);
    if (value >= 81 && value <= 128)
        return u"AES50-B %1"_s.arg(value - 80);
    if (value >= 129 && value <= 160)
        return u"Card %1"_s.arg(value - 128);
    if (value >= 161 && value <= 166)
        return u"Aux In %1"_s.arg(value - 160);
    if (value == 167)
        return u"Talkback Int"_s;
    if (value == 168)
        return u"Talkback Ext"_s;
    return std::nullopt;
}

// The block a routing token such as "AN9-16" names by its prefix, and its first number; nothing
// for a token of another form. A block of the routing is always eight wide: "AN1-6" and
// "CARD1-2" belong to the aux block, and a token of another width says nothing of these.
template<std::size_t N>
std::optional<std::pair<QLatin1StringView, int>>
routingBlock(QStringView token, const std::array<QLatin1StringView, N> &prefixes)
{
    for (QLatin1StringView prefix : prefixes) {
        if (!token.startsWith(prefix))
            continue;
        const QStringView range = token.sliced(prefix.size());
        const qsizetype dash = range.indexOf(u'-');
        const std::optional<int> first = decimal(range.first(std::max<qsizetype>(dash, 0)));
        if (dash < 0 || !first || decimal(range.sliced(dash + 1)) != *first + 7)
            return std::nullopt;
        return std::pair(prefix, *first);
    }
    return std::nullopt;
}

// "AN" before "A", which would take it too.
constexpr std::array inputPrefixes{"AN"_L1, "A"_L1, "B"_L1, "CARD"_L1, "UIN"_L1};

class InputRouting {
public:
    void setBlocks(QList<QStringView> blocks) { m_blocks = std::move(blocks); }
    void setUserInputs(const QList<QStringView> &values)
    {
        m_userInputs.clear();
        for (QStringView value : values)
            m_userInputs.append(decimal(value).value_or(-1));
    }

    // Where input slot 1…32 takes its signal from, by the block of eight it lies in.
    QString slotRoute(int slot) const
    {
        const qsizetype block = (slot - 1) / 8;
        const std::optional<QString> route =
            block < m_blocks.size() ? blockRoute(m_blocks[block], (slot - 1) % 8) : std::nullopt;
        return route ? *route : u"In %1"_s.arg(slot, 2, 10, QChar(u'0'));
    }

    // The physical input at `offset` of an input block token ("A9-16", "UIN25-32"); nothing for
    // another token, an empty text for a user-in slot set to none.
    std::optional<QString> blockRoute(QStringView token, int offset) const
    {
        const auto block = routingBlock(token, inputPrefixes);
        if (!block)
            return std::nullopt;
        const auto [prefix, first] = *block;
        if (prefix == "AN"_L1)
            return u"Local %1"_s.arg(first + offset);
        if (prefix == "A"_L1)
            return u"AES50-A %1"_s.arg(first + offset);
        if (prefix == "B"_L1)
            return u"AES50-B %1"_s.arg(first + offset);
        if (prefix == "CARD"_L1)
            return u"Card %1"_s.arg(first + offset);
        const qsizetype userSlot = first + offset;
        if (userSlot < 1 || userSlot > m_userInputs.size())
            return std::nullopt;
        return userInputRoute(m_userInputs[userSlot - 1]);
    }

private:
    QList<QStringView> m_blocks;
    QList<int> m_userInputs;
};

// What the card records: 32 channels fed block by block from `/config/routing/CARD`, each
// carrying a physical input ("in:Local 5") or an output tap's source ("Bus3", "Main L",
// "direct:7") as the keys the tracks are matched by.
class CardRouting {
public:
    static constexpr int channelCount = 32;
    static constexpr int tapCount = 16;

    bool isKnown() const { return m_known; }
    void setBlocks(QList<QStringView> blocks)
    {
        m_blocks = std::move(blocks);
        m_known = true;
    }
    void setUserOutputs(const QList<QStringView> &values)
    {
        m_userOutputs.clear();
        for (QStringView value : values.first(std::min<qsizetype>(values.size(), 48)))
            m_userOutputs.append(decimal(value).value_or(-1));
    }
    // "/outputs/main/07 4 POST OFF": tap 7 takes source 4; any other path is none of its own.
    void readTap(QStringView path, QStringView rest)
    {
        for (auto [prefix, taps] : {std::pair("/outputs/main/"_L1, &m_mainTaps),
                                    std::pair("/outputs/p16/"_L1, &m_p16Taps)}) {
            if (!path.startsWith(prefix) || path.size() != prefix.size() + 2)
                continue;
            const std::optional<int> tap = decimal(path.sliced(prefix.size()));
            if (tap && *tap >= 1 && *tap <= tapCount)
                (*taps)[*tap - 1] = decimal(values(rest).value(0)).value_or(0);
        }
    }

    QStringList carried(int channel, const InputRouting &inputs) const
    {
        const qsizetype block = (channel - 1) / 8;
        const int offset = (channel - 1) % 8;
        if (block >= m_blocks.size())
            return {};
        const QStringView token = m_blocks[block];
        if (const std::optional<QString> route = inputs.blockRoute(token, offset))
            return inputSignal(*route);
        constexpr std::array outputPrefixes{"UOUT"_L1, "OUT"_L1, "P16"_L1};
        const auto output = routingBlock(token, outputPrefixes);
        if (!output)
            return {};
        const int slot = output->second + offset;
        if (output->first == "OUT"_L1)
            return tapSignal(m_mainTaps, slot);
        if (output->first == "P16"_L1)
            return tapSignal(m_p16Taps, slot);
        const int value = slot >= 1 && slot <= m_userOutputs.size() ? m_userOutputs[slot - 1] : 0;
        if (value >= 1 && value <= 168)
            return inputSignal(userInputRoute(value).value_or(QString()));
        if (value >= 169 && value <= 184)
            return tapSignal(m_mainTaps, value - 168);
        if (value >= 185 && value <= 200)
            return tapSignal(m_p16Taps, value - 184);
        return {};
    }

private:
    static QStringList inputSignal(const QString &route)
    {
        return route.isEmpty() ? QStringList() : QStringList{u"in:"_s + route};
    }

    // The signal a tap sends by the first number of its `/outputs/...` line.
    static QStringList tapSignal(const std::array<int, tapCount> &taps, int tap)
    {
        if (tap < 1 || tap > tapCount)
            return {};
        const int source = taps[tap - 1];
        if (source == 1)
            return {u"Main L"_s};
        if (source == 2)
            return {u"Main R"_s};
        if (source == 3)
            return {u"M/C"_s};
        if (source >= 4 && source <= 19)
            return {u"Bus%1"_s.arg(source - 3)};
        if (source >= 20 && source <= 25)
            return {u"Mtx%1"_s.arg(source - 19)};
        if (source >= 26 && source <= 57)
            return {u"direct:%1"_s.arg(source - 25)};
        if (source >= 58 && source <= 65)
            return {u"direct:Aux%1"_s.arg(source - 57)};
        return {};
    }

    bool m_known = false;
    QList<QStringView> m_blocks;
    QList<int> m_userOutputs;
    std::array<int, tapCount> m_mainTaps{};
    std::array<int, tapCount> m_p16Taps{};
};

QString sourceRoute(int source, const InputRouting &routing)
{
    if (source >= 1 && source <= 32)
        return routing.slotRoute(source);
    if (source >= 33 && source <= 38)
        return u"Aux In %1"_s.arg(source - 32);
    if (source == 39)
        return u"USB L"_s;
    if (source == 40)
        return u"USB R"_s;
    if (source >= 41 && source <= 48) {
        const int fx = source - 41;
        return u"FX %1%2"_s.arg(fx / 2 + 1).arg(QChar(fx % 2 ? u'R' : u'L'));
    }
    if (source >= 49 && source <= 64)
        return u"Bus %1"_s.arg(source - 48);
    return {};
}

QStringView firstLine(QStringView text)
{
    const qsizetype end = text.indexOf(u'\n');
    QStringView line = end < 0 ? text : text.first(end);
    if (line.endsWith(u'\r'))
        line.chop(1);
    return line;
}

// The number between the hashes at the start of the header; nothing when it is not one.
std::optional<QStringView> headerVersion(QStringView line)
{
    line = line.trimmed();
    if (!line.startsWith(u'#'))
        return std::nullopt;
    const qsizetype end = line.indexOf(u'#', 1);
    if (end < 0)
        return std::nullopt;
    const QStringView version = line.sliced(1, end - 1);
    const qsizetype dot = version.indexOf(u'.');
    const auto allDigits = [](QStringView digits) {
        return !digits.isEmpty() && std::all_of(digits.begin(), digits.end(),
                                                [](QChar c) { return c >= u'0' && c <= u'9'; });
    };
    if (dot < 0 || !allDigits(version.first(dot)) || !allDigits(version.sliced(dot + 1)))
        return std::nullopt;
    return version;
}

// A channel or aux input is recorded by its input or its direct out, a mix by itself, the stereo
// main by its two sides.
ConsoleRecorder cardRecorder(const CardRouting &card, const InputRouting &inputs,
                             const TrackList &tracks)
{
    QList<QStringList> carried;
    for (int channel = 1; channel <= CardRouting::channelCount; ++channel)
        carried.append(card.carried(channel, inputs));
    QList<RecorderWanted> wanted;
    for (const TrackChannel &track : tracks) {
        RecorderWanted want{track.channelLabel, {}, {}};
        if (track.channelLabel == u"Mains")
            want.pairs.append({u"Main L"_s, u"Main R"_s});
        else if (track.channelType != DigicoChannelType::input)
            want.mono.append(track.channelLabel);
        else if (!track.inputRoute.isEmpty())
            want.mono = {u"in:"_s + track.inputRoute, u"direct:"_s + track.channelLabel};
        else
            want.mono = {u"direct:"_s + track.channelLabel};
        wanted.append(std::move(want));
    }
    return {u"card"_s, u"X32/M32 Card"_s, deriveRecorderChannels(carried, wanted)};
}

} // namespace

bool isX32Scene(QStringView text)
{
    return headerVersion(firstLine(text)).has_value();
}

Result<ParsedSession> readX32Scene(const QString &text, const QString &fileName)
{
    const QStringView header = firstLine(text);
    const QStringView version = headerVersion(header).value_or(QStringView());
    const QList<QStringView> headerValues = values(header.trimmed().sliced(version.size() + 2));
    const QString sceneName = headerValues.isEmpty() ? QString() : headerValues.front().toString();

    std::array<Strip, stripCount> strips;
    bool channelFound = false;
    InputRouting routing;
    CardRouting card;
    for (QStringView line : QStringView(text).tokenize(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (!line.startsWith(u'/'))
            continue;
        const qsizetype space = line.indexOf(u' ');
        const QStringView path = space < 0 ? line : line.first(space);
        const QStringView rest = space < 0 ? QStringView() : line.sliced(space + 1);
        if (path == u"/config/routing/IN") {
            routing.setBlocks(values(rest));
        } else if (path == u"/config/routing/CARD") {
            card.setBlocks(values(rest));
        } else if (path == u"/config/userrout/out") {
            card.setUserOutputs(values(rest));
        } else if (path == u"/config/userrout/in") {
            const QList<QStringView> userInputs = values(rest);
            routing.setUserInputs(userInputs.first(std::min(userInputs.size(), userInputCount)));
        } else if (const std::optional<int> index = stripIndex(path)) {
            // "name" icon colour source; the source only on channels and aux inputs.
            const QList<QStringView> config = values(rest);
            Strip &strip = strips[*index];
            strip.name = config.value(0).toString();
            // A control character is no part of a name, however the file came to hold one.
            std::replace_if(
                strip.name.begin(), strip.name.end(), [](QChar c) { return c < u' '; }, u' ');
            strip.colour = config.value(2);
            strip.source = config.size() > 3 ? decimal(config[3]) : std::nullopt;
            channelFound = channelFound || *index < 32;
        } else {
            card.readTap(path, rest);
        }
    }
    if (!channelFound)
        return X32SceneError::noChannels;

    ParsedSession session;
    session.sessionName =
        sceneName.trimmed().isEmpty() ? QFileInfo(fileName).completeBaseName() : sceneName;
    session.consoleName = u"X32/M32"_s;
    session.sourceFileName = fileName;
    session.softwareVersion = version.toString();
    session.tracks.reserve(stripCount);

    const auto addTrack = [&](const Strip &strip, const QString &label, DigicoChannelType type,
                              bool routed) {
        TrackChannel track;
        track.channelLabel = label;
        track.channelNumber = channelNumberFromLabel(label);
        track.name = strip.name;
        track.channelType = type;
        if (routed && strip.source)
            track.inputRoute = sourceRoute(*strip.source, routing);
        track.color = stripColour(strip.colour, type);
        track.isIncluded = type == DigicoChannelType::input && !strip.name.trimmed().isEmpty();
        session.tracks.append(std::move(track));
    };
    int index = 0;
    for (const StripKind &kind : stripKinds) {
        for (int number = 1; number <= kind.count; ++number, ++index)
            addTrack(strips[index], kind.labelPrefix + QString::number(number), kind.type,
                     kind.type == DigicoChannelType::input);
    }
    addTrack(strips[stereoMainIndex], u"Mains"_s, DigicoChannelType::other, false);
    addTrack(strips[monoMainIndex], u"M/C"_s, DigicoChannelType::other, false);
    if (card.isKnown())
        session.recorderPatch.append(cardRecorder(card, routing, session.tracks));
    return session;
}

} // namespace kelvary
