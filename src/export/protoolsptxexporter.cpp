#include "export/protoolsptxexporter.h"

#include "export/exportmanifest.h"
#include "export/resourcedirectory.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace kelvary {

namespace {

using namespace Qt::StringLiterals;

Error proToolsError(ProToolsExportError code, const QString &message)
{
    return Error(code, errorMessage(code, message));
}

} // namespace

QString errorMessage(ProToolsExportError error, const QString &message)
{
    switch (error) {
    case ProToolsExportError::proToolsNotReady:
        return u"无法连接 Pro Tools（PTSL）。请启动 Pro Tools 后重试。\n"_s + message;
    case ProToolsExportError::exportFailed:
        return message;
    case ProToolsExportError::noTracksSelected:
        return u"请至少选择一条要导出的轨道。"_s;
    case ProToolsExportError::scriptMissing:
        return u"应用内缺少 export_ptx.py 脚本。"_s;
    case ProToolsExportError::pythonMissing:
        return u"未找到 python3。请安装 Python 3 后重试。"_s;
    case ProToolsExportError::pyPTSLMissing:
        return u"未安装 py-ptsl。请在终端运行：python3 -m pip install py-ptsl"_s;
    }
    return {};
}

std::optional<ProToolsPTXExporter::ScriptSuccess>
ProToolsPTXExporter::ScriptSuccess::fromJSON(const QJsonObject &object)
{
    const QJsonValue ptxPath = object.value(u"ptxPath"_s);
    const QJsonValue sessionFolder = object.value(u"sessionFolder"_s);
    if (!ptxPath.isString() || !sessionFolder.isString())
        return std::nullopt;
    return ScriptSuccess{ptxPath.toString(), sessionFolder.toString()};
}

ExportScriptSetup ProToolsPTXExporter::scriptSetup() const
{
    return {
        u"export_ptx"_s,
        u"kelvary-"_s,
        resourceDirectory.isEmpty() ? kelvary::resourceDirectory() : resourceDirectory,
        interpreterPath,
        Error(ProToolsExportError::scriptMissing),
        Error(ProToolsExportError::pythonMissing),
        u"无法解析 Pro Tools 导出结果。"_s,
        [](const QString &message) {
            return proToolsError(ProToolsExportError::exportFailed, message);
        },
        [](const ScriptFailure &failure) {
            if (failure.error == u"PYPTSL_MISSING")
                return Error(ProToolsExportError::pyPTSLMissing);
            if (failure.error == u"PTSL_FAILED")
                return proToolsError(ProToolsExportError::proToolsNotReady, failure.message);
            return proToolsError(ProToolsExportError::exportFailed, failure.message);
        },
    };
}

Result<QString> ProToolsPTXExporter::exportSession(const TrackList &tracks,
                                                   const QString &sessionName,
                                                   const QString &consoleName,
                                                   const QString &destinationPath) const
{
    if (std::none_of(tracks.cbegin(), tracks.cend(),
                     [](const TrackChannel &track) { return track.isIncluded; })) {
        return ProToolsExportError::noTracksSelected;
    }
    const QFileInfo destination(destinationPath);
    const ProToolsExportManifest manifest = ProToolsExportManifest::makeManifest(
        tracks, sanitizedSessionName(sessionName, destinationPath), destination.absolutePath(),
        consoleName);

    const Result<ScriptSuccess> answer = runExportScriptWithManifest<ScriptSuccess>(
        scriptSetup(), manifest.encoded(),
        temporaryDirectory.isEmpty() ? QDir::tempPath() : temporaryDirectory);
    if (!answer)
        return answer.error();
    const QFileInfo ptx(answer->ptxPath);
    if (answer->ptxPath.isEmpty() || !ptx.exists())
        return proToolsError(ProToolsExportError::exportFailed, u"未找到生成的 .ptx 文件。"_s);
    return ptx.absoluteFilePath();
}

} // namespace kelvary
