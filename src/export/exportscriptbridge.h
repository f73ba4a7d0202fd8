#pragma once

#include "model/result.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include <functional>
#include <optional>

namespace kelvary {

// The interpreter the export scripts are written for. A function, so that exporters made during
// static initialisation still get it.
inline QString systemPythonInterpreter()
{
    return QStringLiteral("/usr/bin/python3");
}

// A script's answer when it failed in a way it can name: a code such as "PTSL_FAILED" and a
// text for the user.
struct ScriptFailure {
    QString error;
    QString message;

    bool operator==(const ScriptFailure &) const = default;

    static std::optional<ScriptFailure> fromJSON(const QJsonObject &object);
};

// The one JSON object `text` consists of; nothing when the text is empty, is not JSON, holds
// anything besides the object or is another kind of value.
std::optional<QJsonObject> scriptJSONObject(const QString &text);

// `text` decoded as `Answer` (ScriptFailure or an exporter's ScriptSuccess): nothing unless it is
// exactly one JSON object whose required keys are all there with the right types.
template<typename Answer> std::optional<Answer> decodeScriptJSON(const QString &text)
{
    const std::optional<QJsonObject> object = scriptJSONObject(text);
    if (!object)
        return std::nullopt;
    return Answer::fromJSON(*object);
}

// Where the two script-driven exports differ: which script runs, how its manifest file is named
// and which of the exporter's errors each outcome becomes.
struct ExportScriptSetup {
    QString scriptName; // without ".py"
    QString temporaryFilePrefix;
    QString resourceDirectory;
    QString interpreterPath;
    Error scriptMissing;
    Error interpreterMissing;
    QString unreadableAnswerMessage;
    std::function<Error(const QString &message)> exportFailed;
    // The error for a failure answer, chosen by its code.
    std::function<Error(const ScriptFailure &failure)> failureError;
};

// What a script left behind when it ended: its exit status and both outputs as trimmed text
// (empty when the output was not UTF-8).
struct ScriptRun {
    int exitCode = 0;
    bool crashed = false;
    QString standardOutput;
    QString standardError;

    bool operator==(const ScriptRun &) const = default;

    bool succeeded() const { return !crashed && exitCode == 0; }
};

// The script file in the resource folder "Scripts", else at the resources' top level.
std::optional<QString> locateExportScript(const QString &resourceDirectory,
                                          const QString &scriptName);

// Writes `contents` to a new file "<prefix><UUID>.json" in `directory`, readable only by the user.
// The file is created exclusively, so a file or link planted under that name is never followed
// or overwritten. A failed write leaves no file behind.
Result<QString> writeManifestFile(const QByteArray &contents, const QString &prefix,
                                  const QString &directory);

// Deletes a manifest file; a file that is already gone or cannot be deleted is left alone.
void removeManifestFile(const QString &path);

// Starts the interpreter directly (no shell) with the script, "--manifest" and `manifestPath`,
// and waits for it to end. Fails for a missing script or interpreter and when it cannot start.
Result<ScriptRun> runScriptProcess(const ExportScriptSetup &setup, const QString &manifestPath);

// The error of a run that did not succeed: the failure answer on standard output, else on
// standard error, mapped by its code; else the collected output; else the exit status.
Error failedRunError(const ExportScriptSetup &setup, const ScriptRun &run);

// Runs the script on the manifest at `manifestPath` and decodes its success answer.
template<typename Success>
Result<Success> runExportScript(const ExportScriptSetup &setup, const QString &manifestPath)
{
    Result<ScriptRun> run = runScriptProcess(setup, manifestPath);
    if (!run)
        return run.error();
    if (!run->succeeded())
        return failedRunError(setup, *run);
    if (std::optional<Success> answer = decodeScriptJSON<Success>(run->standardOutput))
        return *answer;
    return setup.exportFailed(setup.unreadableAnswerMessage);
}

// Writes the manifest to the user's temporary folder, runs the script on it and deletes it again
// whatever the outcome.
template<typename Success>
Result<Success> runExportScriptWithManifest(const ExportScriptSetup &setup,
                                            const QByteArray &manifest,
                                            const QString &temporaryDirectory)
{
    const Result<QString> manifestPath =
        writeManifestFile(manifest, setup.temporaryFilePrefix, temporaryDirectory);
    if (!manifestPath)
        return manifestPath.error();
    Result<Success> answer = runExportScript<Success>(setup, *manifestPath);
    removeManifestFile(*manifestPath);
    return answer;
}

} // namespace kelvary
