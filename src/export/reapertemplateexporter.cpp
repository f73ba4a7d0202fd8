#include "export/reapertemplateexporter.h"

#include <QStringList>

namespace kelvary {

namespace {

using namespace Qt::StringLiterals;

// A template line is a line of the file: a break inside a value would start a new element.
QString withoutLineBreaks(QString text)
{
    text.replace(u"\r\n"_s, u" "_s);
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return text;
}

QString deviceCommentLine(const QString &deviceName)
{
    QString escaped = withoutLineBreaks(deviceName);
    escaped.replace(u'\\', u"\\\\"_s);
    escaped.replace(u'"', u'\'');
    return u"; Kelvary recording_device=\""_s + escaped + u'"';
}

} // namespace

QString reaperQuoted(const QString &text)
{
    QString value = withoutLineBreaks(text);
    if (!value.contains(u'"'))
        return u'"' + value + u'"';
    if (!value.contains(u'\''))
        return u'\'' + value + u'\'';
    if (!value.contains(u'`'))
        return u'`' + value + u'`';
    // Reaper itself drops to this lossy form (plus a multi-line block newer versions read).
    value.replace(u'`', u'\'');
    return u'`' + value + u'`';
}

QString ReaperTemplateExporter::makeTemplate(const TrackList &tracks,
                                             const QList<AudioInputDevice> &devices,
                                             ReaperColorOrder order,
                                             const GuidSource &newGuid) const
{
    QStringList parts;
    parts.reserve(tracks.size() + 1);
    if (const std::optional<QString> device = dominantDeviceName(tracks, devices))
        parts.append(deviceCommentLine(*device));
    for (const TrackChannel &track : tracks)
        parts.append(trackBlock(track, devices, newGuid(), order));
    return parts.join(u'\n') + u'\n';
}

QString ReaperTemplateExporter::trackBlock(const TrackChannel &track,
                                           const QList<AudioInputDevice> &devices,
                                           const QUuid &guid, ReaperColorOrder order) const
{
    const QString guidText = uuidText(guid);
    QStringList lines;
    lines.reserve(20);
    lines.append(u"<TRACK {"_s + guidText + u'}');
    lines.append(u"  NAME "_s + reaperQuoted(trackName(track)));
    if (const std::optional<qint64> color = peakColorValue(track.color, order))
        lines.append(u"  PEAKCOL "_s + QString::number(*color));
    lines.append({
        u"  BEAT -1"_s,
        u"  AUTOMODE 0"_s,
        u"  PANLAWFLAGS 3"_s,
        u"  VOLPAN 1 0 -1 -1 1"_s,
        u"  MUTESOLO 0 0 0"_s,
        u"  IPHASE 0"_s,
        u"  PLAYOFFS 0 1"_s,
        u"  ISBUS 0 0"_s,
        u"  BUSCOMP 0 0 0 0 0"_s,
        u"  SHOWINMIX 1 0.6667 0.5 1 0.5 0 0 0 0"_s,
        u"  SEL 0"_s,
    });
    // A track without an input is written disarmed: armed, Reaper would record its input 1, a
    // copy of another track.
    const std::optional<qint64> input = recordInput(track, devices);
    lines.append(u"  REC "_s + (input ? u"1 "_s : u"0 "_s) + QString::number(input.value_or(0)) +
                 u" 0 0 0 0 0 0"_s);
    lines.append(u"  TRACKHEIGHT 0 0 0 0 0 0 0"_s);
    lines.append(u"  NCHAN "_s + (track.isStereoConsoleChannel() ? u"2"_s : u"1"_s));
    lines.append(u"  FX 1"_s);
    lines.append(u"  TRACKID {"_s + guidText + u'}');
    if (const std::optional<QString> output = hardwareOutputLine(track, devices))
        lines.append(*output);
    lines.append(u">"_s);
    return lines.join(u'\n');
}

std::optional<QString>
ReaperTemplateExporter::hardwareOutputLine(const TrackChannel &track,
                                           const QList<AudioInputDevice> &devices) const
{
    if (!playbackOutputs.enabled)
        return std::nullopt;
    const std::optional<TrackInputs> inputs = trackInputs(track, devices);
    if (!inputs)
        return std::nullopt;
    // Counted like the record input, without its pair flag.
    constexpr qint64 pairFlag = 1024;
    const qint64 recordNumber = recordInputNumber(inputs->channel, devices, inputNumbering);
    const qint64 output = (inputs->channel.isStereoPair ? recordNumber - pairFlag : recordNumber) +
                          (inputs->firstIndex - inputs->channel.channelIndex) +
                          playbackOutputs.offset;
    // Reaper's hardware send: the destination output counted from 0, with 1024 marking a single
    // output (the opposite of REC, where 1024 marks a pair); mode 3, post-FX and pre-fader, so
    // the playback ignores the track's fader; unity volume, centre, unmuted, phase as is; the
    // source channels, 1024 for channel 1 alone and 0 for channels 1-2; the project's pan law;
    // the track's automation mode.
    if (inputs->count == 1)
        return u"  HWOUT %1 3 1 0 0 0 1024 -1:U -1"_s.arg(pairFlag + output);
    return u"  HWOUT %1 3 1 0 0 0 0 -1:U -1"_s.arg(output);
}

std::optional<qint64> ReaperTemplateExporter::peakColorValue(const RGBColor &color,
                                                             ReaperColorOrder order) const
{
    const std::optional<QString> hex = hexString(color);
    if (!hex)
        return std::nullopt;
    const qint64 rgb = hex->mid(1).toLongLong(nullptr, 16);
    const qint64 red = (rgb >> 16) & 0xFF;
    const qint64 green = (rgb >> 8) & 0xFF;
    const qint64 blue = rgb & 0xFF;
    // Bit 24 tells Reaper the track has a custom colour at all.
    constexpr qint64 customColorFlag = 0x1000000;
    if (order == ReaperColorOrder::redInLowByte)
        return customColorFlag | (blue << 16) | (green << 8) | red;
    return customColorFlag | (red << 16) | (green << 8) | blue;
}

QString ReaperTemplateExporter::trackName(const TrackChannel &track) const
{
    if (track.channelType == DigicoChannelType::input)
        return track.name;
    return track.channelLabel + u' ' + track.name;
}

std::optional<qint64>
ReaperTemplateExporter::recordInput(const TrackChannel &track,
                                    const QList<AudioInputDevice> &devices) const
{
    const std::optional<AudioInputChannel> channel =
        channelWithID(track.audioInputChannelID, devices);
    if (!channel)
        return std::nullopt;
    return recordInputNumber(*channel, devices, inputNumbering);
}

} // namespace kelvary
