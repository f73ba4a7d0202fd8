#include "cli/devicescommand.h"

#include "app/commandlinehelp.h"
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

QString devicesUsage()
{
    return u"用法：kelvary-cli devices [--json]\n"
           "\n"
           "列出本机可分配给轨道的音频输入设备和通道，以及每路输入在 Reaper 模版中的录音输入号。\n"
           "\n"
           "选项：\n"_s +
           helpTable({{u"--json"_s, u"以 JSON 输出"_s}, {u"-h, --help"_s, u"显示本说明"_s}});
}

int runDevices(CommandContext &context)
{
    return runDevices(context, AudioInputDeviceEnumerator());
}

int runDevices(CommandContext &context, const AudioInputDeviceEnumerator &enumerator)
{
    const bool json = context.arguments == QStringList{u"--json"_s};
    if (!json && !context.arguments.isEmpty()) {
        return usageError(context, u"devices"_s,
                          u"未知参数：%1"_s.arg(context.arguments.join(u' ')), devicesUsage());
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
