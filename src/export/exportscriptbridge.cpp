#include "export/exportscriptbridge.h"

#include "model/fileio.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QProcess>
#include <QStringDecoder>
#include <QStringList>
#include <QUuid>

#include <cerrno>

namespace kelvary {

namespace {

using namespace Qt::StringLiterals;

QString outputText(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes);
    // Half a message decoded with replacement characters would only mislead.
    if (decoder.hasError())
        return {};
    return text.trimmed();
}

} // namespace

std::optional<ScriptFailure> ScriptFailure::fromJSON(const QJsonObject &object)
{
    const QJsonValue error = object.value(u"error"_s);
    const QJsonValue message = object.value(u"message"_s);
    if (!error.isString() || !message.isString())
        return std::nullopt;
    return ScriptFailure{error.toString(), message.toString()};
}

std::optional<QJsonObject> scriptJSONObject(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    return document.object();
}

std::optional<QString> locateExportScript(const QString &resourceDirectory,
                                          const QString &scriptName)
{
    if (resourceDirectory.isEmpty())
        return std::nullopt;
    const QString fileName = scriptName + u".py"_s;
    const QDir resources(resourceDirectory);
    for (const QString &candidate :
         {resources.filePath(u"Scripts/"_s + fileName), resources.filePath(fileName)}) {
        if (QFileInfo(candidate).isFile())
            return QFileInfo(candidate).absoluteFilePath();
    }
    return std::nullopt;
}

Result<QString> writeManifestFile(const QByteArray &contents, const QString &prefix,
                                  const QString &directory)
{
    const QString name =
        prefix + QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper() + u".json"_s;
    const QString path = QDir(directory).absoluteFilePath(name);
    QFile file(path);
    // NewOnly is O_CREAT | O_EXCL: in a shared temporary folder another user may have planted a
    // link under the name, and exclusive creation refuses it instead of writing through it.
    const auto failure = [&](int systemError) {
        return Error(
            u"无法写入临时文件“%1”：%2"_s.arg(name, fileErrorReason(file, path, systemError)));
    };
    // Unbuffered, so that a disk that fills up shows in the write's count.
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered,
                   QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        return failure(errno);
    }
    if (const std::optional<int> systemError = writeCompletely(file, contents)) {
        const Error error = failure(*systemError);
        file.close();
        file.remove();
        return error;
    }
    file.close();
    if (file.error() != QFileDevice::NoError) {
        const Error error = failure(errno);
        file.remove();
        return error;
    }
    return path;
}

void removeManifestFile(const QString &path)
{
    QFile::remove(path);
}

Result<ScriptRun> runScriptProcess(const ExportScriptSetup &setup, const QString &manifestPath)
{
    const std::optional<QString> script =
        locateExportScript(setup.resourceDirectory, setup.scriptName);
    if (!script)
        return setup.scriptMissing;
    const QFileInfo interpreter(setup.interpreterPath);
    if (!interpreter.isFile() || !interpreter.isExecutable())
        return setup.interpreterMissing;

    QProcess process;
    process.setProgram(setup.interpreterPath);
    process.setArguments({*script, u"--manifest"_s, manifestPath});
    process.setProcessChannelMode(QProcess::SeparateChannels);
    // The script inherits the application's standard input, as it would from a terminal.
    process.setInputChannelMode(QProcess::ForwardedInputChannel);
    process.start(QIODevice::ReadOnly);
    if (!process.waitForStarted(-1))
        return Error(u"无法启动 %1（%2）。"_s.arg(interpreter.fileName(), process.errorString()));
    // NOTE: no time limit. Creating a large session in the workstation takes as long as it
    // takes, and the export is synchronous by design; the user can quit the workstation.
    process.waitForFinished(-1);

    ScriptRun run;
    run.crashed = process.exitStatus() == QProcess::CrashExit;
    run.exitCode = process.exitCode();
    run.standardOutput = outputText(process.readAllStandardOutput());
    run.standardError = outputText(process.readAllStandardError());
    return run;
}

Error failedRunError(const ExportScriptSetup &setup, const ScriptRun &run)
{
    std::optional<ScriptFailure> failure = decodeScriptJSON<ScriptFailure>(run.standardOutput);
    if (!failure)
        failure = decodeScriptJSON<ScriptFailure>(run.standardError);
    if (failure)
        return setup.failureError(*failure);

    QStringList details;
    for (const QString &text : {run.standardError, run.standardOutput}) {
        if (!text.isEmpty())
            details.append(text);
    }
    if (!details.isEmpty())
        return setup.exportFailed(details.join(u'\n'));
    return setup.exportFailed(u"导出脚本失败（退出码 "_s + QString::number(run.exitCode) +
                              u"）。"_s);
}

} // namespace kelvary
