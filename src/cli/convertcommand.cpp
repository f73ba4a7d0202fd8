#include "cli/commandlinepanels.h"
#include "cli/sessioncommands.h"

#include "app/commandlinehelp.h"
#include "app/sessionviewmodel.h"
#include "audio/audioinputdeviceenumerator.h"

#include <QFileInfo>

#include <algorithm>
#include <variant>

using namespace Qt::StringLiterals;

namespace kelvary::cli {

namespace {

struct ConvertOptions {
    QString file;
    std::optional<QString> updateFrom;
    std::optional<QString> ardour;
    std::optional<qint64> sampleRate;
    std::optional<QString> capturePorts;
    std::optional<QString> reaper;
    std::optional<QString> pdf;
    std::optional<QString> project;
    std::optional<QList<DigicoChannelType>> types;
    bool splitStereo = false;
    QList<PlannedAudioDevice> plannedDevices; // NAME:N, in the order given
    std::optional<QString> device;
    std::optional<qsizetype> start; // 1-based, as the user counts
    // --assign-from-console: the recorder named, or an empty text for the console's first one
    std::optional<QString> consoleRecorder;
    InputNumbering inputNumbering = InputNumbering::recordingDevice;
    std::optional<PlaybackOutputs> playbackOutputs; // none: as the file has it
};

// The options in the order they are given; the text of a wrong command line otherwise.
std::variant<ConvertOptions, QString> parseOptions(const QStringList &arguments)
{
    ConvertOptions options;
    std::optional<QString> file;
    QStringList seen;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QString name = arguments[i];
        std::optional<QString> value;
        if (!name.startsWith(u'-')) {
            if (file)
                return u"只能给出一个 FILE。"_s;
            file = name;
            continue;
        }
        if (const qsizetype equals = name.indexOf(u'='); equals > 0) {
            value = name.mid(equals + 1);
            name.truncate(equals);
        }
        if (seen.contains(name) && name != u"--plan-device")
            return u"选项 %1 只能给出一次。"_s.arg(name);
        seen.append(name);

        if (name == u"--assign-from-console") {
            // The recorder is optional, so only its own names are taken from the next argument.
            static const QStringList recorderNames{u"card"_s, u"usb"_s, u"module"_s};
            if (!value && i + 1 < arguments.size() && recorderNames.contains(arguments[i + 1]))
                value = arguments[++i];
            options.consoleRecorder = value.value_or(QString());
            continue;
        }
        if (name == u"--split-stereo") {
            if (value)
                return u"选项 --split-stereo 不带值。"_s;
            options.splitStereo = true;
            continue;
        }
        if (name != u"--ardour" && name != u"--sample-rate" && name != u"--capture-ports" &&
            name != u"--reaper" && name != u"--pdf" && name != u"--project" && name != u"--types" &&
            name != u"--device" && name != u"--start" && name != u"--plan-device" &&
            name != u"--update-from" && name != u"--input-numbering" &&
            name != u"--playback-outputs")
            return u"未知选项：%1"_s.arg(name);
        if (!value) {
            if (i + 1 >= arguments.size())
                return u"选项 %1 需要一个值。"_s.arg(name);
            value = arguments[++i];
        }
        if (value->isEmpty())
            return u"选项 %1 需要一个值。"_s.arg(name);

        if (name == u"--update-from") {
            options.updateFrom = value;
        } else if (name == u"--ardour") {
            options.ardour = value;
        } else if (name == u"--sample-rate") {
            bool ok = false;
            const qlonglong rate = value->toLongLong(&ok);
            if (!ok || std::find(ardourSampleRates.cbegin(), ardourSampleRates.cend(), rate) ==
                           ardourSampleRates.cend())
                return u"--sample-rate 应为 44100、48000、88200 或 96000，而不是“%1”。"_s.arg(
                    *value);
            options.sampleRate = rate;
        } else if (name == u"--capture-ports") {
            if (const std::optional<QString> problem = capturePortPatternProblem(*value))
                return *problem;
            options.capturePorts = value;
        } else if (name == u"--reaper") {
            options.reaper = value;
        } else if (name == u"--pdf") {
            options.pdf = value;
        } else if (name == u"--project") {
            options.project = value;
        } else if (name == u"--device") {
            options.device = value;
        } else if (name == u"--plan-device") {
            const qsizetype colon = value->lastIndexOf(u':');
            if (colon < 0)
                return u"--plan-device 应为“名称:输入数”，例如 “Stage Rack:32”，而不是“%1”。"_s.arg(
                    *value);
            const QString deviceName = value->left(colon).trimmed();
            bool ok = false;
            const qlonglong count = value->mid(colon + 1).toLongLong(&ok);
            if (deviceName.isEmpty())
                return u"--plan-device 的设备名称不能为空。"_s;
            if (!ok || count < 1 || count > maximumPlannedInputCount)
                return u"--plan-device 的输入数应为 1 到 %1 之间的整数，而不是“%2”。"_s
                    .arg(maximumPlannedInputCount)
                    .arg(value->mid(colon + 1));
            if (plannedDeviceProblem(deviceName, count, options.plannedDevices))
                return u"计划设备“%1”给出了两次。"_s.arg(deviceName);
            options.plannedDevices.append({plannedDeviceID(deviceName), deviceName, count});
        } else if (name == u"--input-numbering") {
            if (*value == u"recording-device")
                options.inputNumbering = InputNumbering::recordingDevice;
            else if (*value == u"global")
                options.inputNumbering = InputNumbering::global;
            else
                return u"--input-numbering 应为 recording-device 或 global，而不是“%1”。"_s.arg(
                    *value);
        } else if (name == u"--playback-outputs") {
            bool ok = false;
            const qlonglong offset =
                value->startsWith(u"offset:"_s) ? value->mid(7).toLongLong(&ok) : 0;
            if (*value == u"same")
                options.playbackOutputs = PlaybackOutputs{true, 0};
            else if (*value == u"none")
                options.playbackOutputs = PlaybackOutputs{};
            else if (ok && offset >= 0)
                options.playbackOutputs = PlaybackOutputs{true, offset};
            else
                return u"--playback-outputs 应为 same、offset:K（K 为不小于 0 的整数）或 none，"
                       "而不是“%1”。"_s.arg(*value);
        } else if (name == u"--start") {
            bool ok = false;
            const qlonglong start = value->toLongLong(&ok);
            if (!ok || start < 1)
                return u"--start 应为从 1 起的输入通道号，而不是“%1”。"_s.arg(*value);
            options.start = start;
        } else {
            QList<DigicoChannelType> types;
            for (const QString &text : value->split(u',', Qt::SkipEmptyParts)) {
                const auto type = std::find_if(
                    allChannelTypes.cbegin(), allChannelTypes.cend(), [&](DigicoChannelType t) {
                        return channelTypeText(t).compare(text.trimmed(), Qt::CaseInsensitive) == 0;
                    });
                if (type == allChannelTypes.cend()) {
                    return u"未知的通道类型“%1”；可用的类型：Input、Aux、Group、Matrix、Other。"_s
                        .arg(text.trimmed());
                }
                types.append(*type);
            }
            options.types = types;
        }
    }
    if (!file)
        return u"缺少 FILE。"_s;
    if (options.start && options.consoleRecorder)
        return u"--start 不能与 --assign-from-console 一起使用：录音设备的路由决定每条轨道的输入。"_s;
    if (options.start && !options.device)
        return u"--start 只能与 --device 一起使用。"_s;
    if (options.sampleRate && !options.ardour)
        return u"--sample-rate 只能与 --ardour 一起使用。"_s;
    if (options.capturePorts && !options.ardour)
        return u"--capture-ports 只能与 --ardour 一起使用。"_s;
    // A script that forgot its output must not pass as if it had written one.
    if (!options.ardour && !options.reaper && !options.pdf && !options.project)
        return u"未写出任何文件：请给出 --reaper、--ardour、--pdf 或 --project。"_s;
    options.file = *file;
    return options;
}

std::optional<QString> deviceNamed(SessionViewModel &model, const QString &idOrName,
                                   QTextStream &err)
{
    const std::optional<AudioInputDevice> found =
        deviceWithIDOrName(idOrName, model.audioInputCatalog().devices());
    if (!found) {
        err << u"找不到音频输入设备“%1”；kelvary-cli devices 列出本机的设备，"
               "--plan-device 可添加计划设备。"_s.arg(idOrName)
            << '\n';
        return std::nullopt;
    }
    return found->id;
}

// Assigns every track the console's recorder carries as the app's 按调音台路由分配 does.
bool assignFromConsole(SessionViewModel &model, const ConvertOptions &options, QTextStream &err)
{
    std::optional<QString> device;
    if (options.device && !(device = deviceNamed(model, *options.device, err)))
        return false;
    const ConsoleRecorderPatch &patch = model.session().recorderPatch;
    QString recorder = *options.consoleRecorder;
    if (recorder.isEmpty() && !patch.isEmpty())
        recorder = patch.front().id;
    return model.assignFromConsoleRecorder(recorder, device);
}

// Assigns the included tracks to the device as the app's sequential assignment does.
bool assignIncludedTracks(SessionViewModel &model, const ConvertOptions &options, QTextStream &err)
{
    const std::optional<QString> found = deviceNamed(model, *options.device, err);
    if (!found)
        return false;
    const QString &device = *found;
    QSet<QUuid> included;
    for (const TrackChannel &track : model.includedTracks())
        included.insert(track.id);
    if (included.isEmpty()) {
        err << u"没有包含的轨道可以分配输入。"_s << '\n';
        return false;
    }
    model.setSelectedTrackIDs(included);

    if (!options.start) {
        model.assignSelectedToDevice(device);
    } else if (included.size() > 1) {
        model.assignSequentially(device, *options.start - 1);
    } else {
        // The app offers sequential assignment only for two tracks or more; one track simply
        // takes the named input.
        const QList<AudioInputChannel> mono = model.audioInputCatalog().monoChannels(device);
        if (*options.start > mono.size()) {
            err << u"设备“%1”没有 Ch %2。"_s.arg(device).arg(*options.start) << '\n';
            return false;
        }
        model.patchAudioInput(mono[*options.start - 1].id, *included.cbegin());
    }
    return true;
}

} // namespace

QString convertUsage()
{
    return u"用法：kelvary-cli convert FILE [--update-from REPORT]\n"
           "                           [--reaper OUT] [--pdf OUT] [--project OUT]\n"
           "                           [--types Input,Aux,Group,Matrix,Other] [--split-stereo]\n"
           "                           [--plan-device NAME:N]... [--device ID|NAME [--start N]]\n"
           "                           [--assign-from-console [card|usb|module] [--device "
           "ID|NAME]]\n"
           "                           [--input-numbering recording-device|global]\n"
           "                           [--playback-outputs same|offset:K|none]\n"
           "                           [--ardour DIR [--sample-rate N] [--capture-ports PATTERN]]\n"
           "\n"
           "导入调音台文件或打开 Kelvary 工程（.kvp），按选项修改后写出所要的文件，与在 Kelvary "
           "中操作的结果相同。调音台文件按内容识别：DiGiCo Session Report（.rtf/.txt）、"
           "X32/M32 场景（.scn）、WING 快照（.snap）、CSV/TSV 通道表。\n"
           "\n"
           "选项：\n"_s +
           helpTable({
               {u"--update-from REPORT"_s,
                u"用新的报告、场景、快照或通道表更新 FILE：保留颜色、包含、顺序和输入分配，\n"
                "取入改名、改输入、新增和删除的通道，逐条打印这些变化"_s},
               {u"--ardour DIR"_s,
                u"导出 Ardour 会话到新的（或空的）文件夹 DIR，会话名取 DIR 的最后一级"_s},
               {u"--sample-rate N"_s,
                u"Ardour 会话的采样率：44100、48000（默认）、88200 或 96000"_s},
               {u"--capture-ports 格式"_s,
                u"Ardour 轨道输入所连的采集端口名，%n 为从 1 起的输入序号，%i 从 0 起；\n"
                "默认 system:capture_%n（ALSA、JACK），PipeWire 多为“设备名:capture_AUX%i”"_s},
               {u"--reaper OUT"_s, u"导出 Reaper 轨道模版（.RTrackTemplate）"_s},
               {u"--pdf OUT"_s, u"导出 PDF 通道表"_s},
               {u"--project OUT"_s,
                u"另存为 Kelvary 工程（.kvp）；打开的工程只有在 OUT 指向它时才会被覆盖"_s},
               {u"--types 类型"_s,
                u"只包含这些类型的通道，以逗号分隔：Input、Aux、Group、Matrix、Other\n"
                "（不给出时：导入的报告只包含输入通道，工程保持原样）"_s},
               {u"--split-stereo"_s, u"把立体声通道拆分为左右两条轨道"_s},
               {u"--plan-device NAME:N"_s,
                u"添加一个有 N 路输入（1–512）的计划设备，不必连接即可分配；\n"
                "可多次给出，设备 id 为“planned:NAME”"_s},
               {u"--device ID|NAME"_s, u"把包含的轨道按顺序分配到该音频输入设备，从 Ch 1 起；\n"
                                       "先按 id 找，找不到再按名称找，也包括计划设备\n"
                                       "（kelvary-cli devices 列出设备）"_s},
               {u"--start N"_s, u"从该设备的第 N 路单声道输入起分配"_s},
               {u"--assign-from-console [录音设备]"_s,
                u"按场景或快照中调音台送往录音设备的路由分配输入：录音设备的第 k 路即设备的\n"
                "Ch k；X32/M32 为 card（默认），WING 为 usb（默认）、card 或 module；\n"
                "不给出 --device 时添加并使用以录音设备命名的计划设备\n"
                "（“X32/M32 Card” 32 路、“WING USB” 48 路、“WING Card”/“WING Module” 64 路）"_s},
               {u"--playback-outputs 方式"_s,
                u"虚拟声检回放：same 让每条轨道回放到与其录音输入同号的接口输出，\n"
                "offset:K 回放到输入号加 K 的输出，none 关闭（不给出时保持工程的设置）；\n"
                "写入 Reaper 模版、Ardour 会话和 PDF 通道表"_s},
               {u"--input-numbering 方式"_s,
                u"Reaper 模版 REC 的输入序号：recording-device 按各轨道的设备计\n"
                "（默认）；global 按全机所有输入设备依次计，供合并多台接口的设备"_s},
               {u"-h, --help"_s, u"显示本说明"_s},
           }) +
           u"\n"
           "处理顺序：--update-from、通道类型、立体声拆分、计划设备、输入分配、回放设置，"
           "然后依次写出 --ardour、--reaper、--pdf、--project。"
           "每条状态信息打印到标准输出，错误信息和报告中未能识别为通道的行打印到标准错误。\n"
           "\n"
           "退出码：0 成功，1 读取、分配或写出失败，2 命令行有误。\n"_s;
}

int runConvert(CommandContext &context)
{
    return runConvert(context, AudioInputDeviceEnumerator());
}

int runConvert(CommandContext &context, const AudioInputDeviceEnumerator &enumerator)
{
    const auto parsed = parseOptions(context.arguments);
    if (const QString *reason = std::get_if<QString>(&parsed))
        return usageError(context, u"convert"_s, *reason);
    const ConvertOptions &options = std::get<ConvertOptions>(parsed);

    const auto panels = std::make_shared<CommandLinePanels>();
    SessionViewModel model(enumerator, panels);
    QObject::connect(&model, &SessionViewModel::statusMessageChanged, [&] {
        if (model.statusMessage())
            context.out << *model.statusMessage() << '\n';
    });
    const auto failed = [&] {
        if (!model.errorMessage())
            return false;
        context.err << *model.errorMessage() << '\n';
        return true;
    };

    model.setInputNumbering(options.inputNumbering);
    if (options.sampleRate)
        model.setArdourSampleRate(*options.sampleRate);
    if (options.capturePorts)
        model.setArdourCapturePortPattern(*options.capturePorts);
    model.openFile(QFileInfo(options.file).absoluteFilePath());
    if (failed())
        return exitFailure;
    printUnreadLines(context, model.unreadReportLines());

    if (options.updateFrom) {
        const std::optional<SessionReportUpdate> update =
            model.previewSessionReportUpdate(QFileInfo(*options.updateFrom).absoluteFilePath());
        if (!update) {
            failed();
            return exitFailure;
        }
        printUnreadLines(context, update->unreadLines);
        for (const QString &line : update->changeLines())
            context.out << line << '\n';
        model.applySessionReportUpdate(*update);
    }

    if (options.types) {
        for (DigicoChannelType type : allChannelTypes)
            model.setTracksIncluded(options.types->contains(type), type);
    }
    if (options.splitStereo)
        model.setSplitStereoChannels(true);
    for (const PlannedAudioDevice &planned : options.plannedDevices) {
        if (!model.addPlannedAudioDevice(planned.name, planned.inputChannelCount) && failed())
            return exitFailure;
    }
    if (options.consoleRecorder) {
        if (!assignFromConsole(model, options, context.err)) {
            failed();
            return exitFailure;
        }
    } else if (options.device) {
        if (!assignIncludedTracks(model, options, context.err) || failed())
            return exitFailure;
    }
    if (options.playbackOutputs)
        model.setPlaybackOutputs(*options.playbackOutputs);

    using Operation = void (SessionViewModel::*)();
    const std::pair<const std::optional<QString> &, Operation> outputs[] = {
        {options.ardour, &SessionViewModel::exportArdourSession},
        {options.reaper, &SessionViewModel::exportTemplate},
        {options.pdf, &SessionViewModel::exportPDF},
        {options.project, &SessionViewModel::saveProjectAs},
    };
    for (const auto &[location, operation] : outputs) {
        if (!location)
            continue;
        panels->setNextLocation(QFileInfo(*location).absoluteFilePath());
        (model.*operation)();
        if (failed())
            return exitFailure;
    }
    return exitSuccess;
}

} // namespace kelvary::cli
