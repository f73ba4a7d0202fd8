#include "export/logiclogicxexporter.h"

#include "export/exportmanifest.h"
#include "export/resourcedirectory.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace kelvary {

namespace {

using namespace Qt::StringLiterals;

Error logicError(LogicExportError code, const QString &message)
{
    return Error(code, errorMessage(code, message));
}

} // namespace

QString errorMessage(LogicExportError error, const QString &message)
{
    switch (error) {
    case LogicExportError::logicNotReady:
        return u"无法通过 AppleScript 控制 Logic Pro。\n"_s + message;
    case LogicExportError::exportFailed:
        return message;
    case LogicExportError::noTracksSelected:
        return u"请至少选择一条要导出的轨道。"_s;
    case LogicExportError::scriptMissing:
        return u"应用内缺少 export_logicx.py 脚本。"_s;
    case LogicExportError::logicMissing:
        return u"未找到 Logic Pro。请安装 Logic Pro 后重试。"_s;
    }
    return {};
}

std::optional<LogicLogicXExporter::ScriptSuccess>
LogicLogicXExporter::ScriptSuccess::fromJSON(const QJsonObject &object)
{
    const QJsonValue logicxPath = object.value(u"logicxPath"_s);
    if (!logicxPath.isString())
        return std::nullopt;
    ScriptSuccess success{logicxPath.toString(), std::nullopt, std::nullopt};

    // Optional keys may be absent or null, but a value of the wrong type makes the answer
    // unreadable as a whole.
    const QJsonValue trackCount = object.value(u"trackCount"_s);
    if (trackCount.isDouble()) {
        const double count = trackCount.toDouble();
        if (count != std::trunc(count) || std::abs(count) > 9007199254740992.0)
            return std::nullopt;
        success.trackCount = static_cast<qint64>(count);
    } else if (!trackCount.isUndefined() && !trackCount.isNull()) {
        return std::nullopt;
    }
    const QJsonValue logicApp = object.value(u"logicApp"_s);
    if (logicApp.isString())
        success.logicApp = logicApp.toString();
    else if (!logicApp.isUndefined() && !logicApp.isNull())
        return std::nullopt;
    return success;
}

QString LogicLogicXExporter::projectPath(const QString &destinationPath)
{
    if (QFileInfo(destinationPath).suffix().toLower() == u"logicx")
        return destinationPath;
    return destinationPath + u".logicx"_s;
}

ExportScriptSetup LogicLogicXExporter::scriptSetup() const
{
    return {
        u"export_logicx"_s,
        u"kelvary-logic-"_s,
        resourceDirectory.isEmpty() ? kelvary::resourceDirectory() : resourceDirectory,
        interpreterPath,
        Error(LogicExportError::scriptMissing),
        logicError(LogicExportError::exportFailed, u"未找到 python3。"_s),
        u"无法解析 Logic 导出结果。"_s,
        [](const QString &message) { return logicError(LogicExportError::exportFailed, message); },
        [](const ScriptFailure &failure) {
            if (failure.error == u"LOGIC_MISSING")
                return Error(LogicExportError::logicMissing);
            if (failure.error == u"LOGIC_NOT_READY" || failure.error == u"APPLESCRIPT_FAILED" ||
                failure.error == u"SAVE_FAILED") {
                return logicError(LogicExportError::logicNotReady, failure.message);
            }
            return logicError(LogicExportError::exportFailed, failure.message);
        },
    };
}

Result<QString> LogicLogicXExporter::exportSession(const TrackList &tracks,
                                                   const QString &sessionName,
                                                   const QString &consoleName,
                                                   const QString &destinationPath) const
{
    if (std::none_of(tracks.cbegin(), tracks.cend(),
                     [](const TrackChannel &track) { return track.isIncluded; })) {
        return LogicExportError::noTracksSelected;
    }
    const QString project = projectPath(destinationPath);
    const LogicExportManifest manifest =
        LogicExportManifest::makeManifest(tracks, sanitizedSessionName(sessionName, project),
                                          QFileInfo(project).absoluteFilePath(), consoleName);

    const Result<ScriptSuccess> answer = runExportScriptWithManifest<ScriptSuccess>(
        scriptSetup(), manifest.encoded(),
        temporaryDirectory.isEmpty() ? QDir::tempPath() : temporaryDirectory);
    if (!answer)
        return answer.error();
    const QFileInfo saved(answer->logicxPath);
    if (answer->logicxPath.isEmpty() || !saved.exists())
        return logicError(LogicExportError::exportFailed, u"未找到生成的 .logicx 项目。"_s);
    return saved.absoluteFilePath();
}

} // namespace kelvary
