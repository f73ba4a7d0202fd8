#include "cli/devicescommand.h"

#include "audio/audioinputdeviceenumerator.h"
#include "model/audioinputcatalog.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace kelvary::cli {

namespace {

QJsonObject catalogObject(const AudioInputCatalog &catalog)
{
    QJsonArray devices;
    for (const AudioInputDevice &device : catalog.devices()) {
        QJsonArray channels;
        for (const AudioInputChannel &channel : device.channels)
            channels.append(QJsonObject{
                {u"id"_s, channel.id},
                {u"label"_s, channel.label},
                {u"channelIndex"_s, channel.channelIndex},
                {u"isStereoPair"_s, channel.isStereoPair},
                {u"recordInputNumber"_s, recordInputNumber(channel, catalog.devices())},
            });
        devices.append(QJsonObject{
            {u"id"_s, device.id},
            {u"name"_s, device.name},
            {u"inputChannelCount"_s, device.inputChannelCount},
            {u"firstGlobalInputIndex"_s, device.firstGlobalInputIndex},
            {u"channels"_s, channels},
        });
    }
    return {{u"devices"_s, devices}};
}

void printCatalog(const AudioInputCatalog &catalog, QTextStream &out)
{
    for (const AudioInputDevice &device : catalog.devices()) {
        out << device.name << '\n'
            << "  id: " << device.id << '\n'
            << "  inputs: " << device.inputChannelCount
            << ", first global input: " << device.firstGlobalInputIndex << '\n';
        qsizetype idWidth = 0;
        for (const AudioInputChannel &channel : device.channels)
            idWidth = std::max(idWidth, channel.id.size());
        for (const AudioInputChannel &channel : device.channels)
            out << "    " << channel.label.leftJustified(10) << ' '
                << channel.id.leftJustified(idWidth) << "  record input "
                << recordInputNumber(channel, catalog.devices()) << '\n';
    }
}

} // namespace

int runDevices(CommandContext &context)
{
    return runDevices(context, AudioInputDeviceEnumerator());
}

int runDevices(CommandContext &context, const AudioInputDeviceEnumerator &enumerator)
{
    const bool json = context.arguments == QStringList{u"--json"_s};
    if (!json && !context.arguments.isEmpty()) {
        context.err << "Usage: kelvary-cli devices [--json]\n"
                       "Lists the audio input devices and channels that tracks can be assigned "
                       "to.\n";
        return exitUsage;
    }

    const AudioInputCatalog catalog(enumerator.enumerate());
    if (json)
        context.out << QString::fromUtf8(
            QJsonDocument(catalogObject(catalog)).toJson(QJsonDocument::Indented));
    else if (catalog.devices().isEmpty())
        context.out << u"未检测到音频输入"_s << '\n';
    else
        printCatalog(catalog, context.out);
    return exitSuccess;
}

} // namespace kelvary::cli
