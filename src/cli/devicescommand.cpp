#include "cli/devicescommand.h"

#include "cli/commandlinepanels.h"

#include "app/commandlinehelp.h"
#include "app/sessionviewmodel.h"
#include "audio/audioinputdeviceenumerator.h"
#include "model/audioinputcatalog.h"

#include <QFileInfo>

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
                {u"globalRecordInputNumber"_s,
                 recordInputNumber(channel, catalog.devices(), InputNumbering::global)},
            });
        devices.append(QJsonObject{
            {u"id"_s, device.id},
            {u"name"_s, device.name},
            {u"inputChannelCount"_s, device.inputChannelCount},
            {u"firstGlobalInputIndex"_s, device.firstGlobalInputIndex},
            {u"attached"_s, device.isAttached},
            {u"channels"_s, channels},
        });
    }
    return {{u"devices"_s, devices}};
}

void printCatalog(const AudioInputCatalog &catalog, QTextStream &out)
{
    for (const AudioInputDevice &device : catalog.devices()) {
        out << deviceDisplayName(device) << '\n'
            << u"  id："_s << device.id << '\n'
            << u"  输入：%1 路 · 全机首个输入序号：%2"_s.arg(device.inputChannelCount)
                   .arg(device.firstGlobalInputIndex)
            << '\n';
        qsizetype idWidth = 0;
        for (const AudioInputChannel &channel : device.channels)
            idWidth = std::max(idWidth, channel.id.size());
        for (const AudioInputChannel &channel : device.channels)
            out << "    " << channel.label.leftJustified(10) << ' '
                << channel.id.leftJustified(idWidth) << u"  录音输入 "_s
                << recordInputNumber(channel, catalog.devices()) << u" · 全机 "_s
                << recordInputNumber(channel, catalog.devices(), InputNumbering::global) << '\n';
    }
}

} // namespace

QString devicesUsage()
{
    return u"用法：kelvary-cli devices [--json] [FILE]\n"
           "\n"
           "列出本机可分配给轨道的音频输入设备和通道，以及每路输入在 Reaper 模版中的录音输入号："
           "按所在设备计（默认），和按全机所有输入设备计（--input-numbering global）。"
           "给出工程 FILE（.kvp）时，也列出其中的计划设备和记住的设备，标为“（未连接）”。\n"
           "\n"
           "选项：\n"_s +
           helpTable({{u"--json"_s, u"以 JSON 输出（每个设备带 \"attached\": true|false）"_s},
                      {u"-h, --help"_s, u"显示本说明"_s}}) +
           u"\n"
           "退出码：0 成功，1 FILE 无法读取或内容无效，2 命令行有误。\n"_s;
}

int runDevices(CommandContext &context)
{
    return runDevices(context, AudioInputDeviceEnumerator());
}

int runDevices(CommandContext &context, const AudioInputDeviceEnumerator &enumerator)
{
    bool json = false;
    std::optional<QString> file;
    for (const QString &argument : context.arguments) {
        if (argument == u"--json") {
            if (json)
                return usageError(context, u"devices"_s, u"选项 --json 只能给出一次。"_s);
            json = true;
        } else if (argument.startsWith(u'-')) {
            return usageError(context, u"devices"_s, u"未知选项：%1"_s.arg(argument));
        } else if (file) {
            return usageError(context, u"devices"_s, u"只能给出一个 FILE。"_s);
        } else {
            file = argument;
        }
    }

    AudioInputCatalog catalog;
    if (file) {
        // The catalogue the app would show with the file open, planned interfaces included.
        SessionViewModel model(enumerator, std::make_shared<CommandLinePanels>());
        model.openFile(QFileInfo(*file).absoluteFilePath());
        if (model.errorMessage()) {
            context.err << *model.errorMessage() << '\n';
            return exitFailure;
        }
        catalog = model.audioInputCatalog();
    } else {
        catalog = AudioInputCatalog(enumerator.enumerate());
    }
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
