#pragma once

#include "export/exportscriptbridge.h"
#include "model/result.h"
#include "model/trackchannel.h"

#include <QJsonObject>
#include <QList>
#include <QString>

#include <optional>

namespace kelvary {

enum class LogicExportError {
    logicNotReady,
    exportFailed,
    noTracksSelected,
    scriptMissing,
    logicMissing,
};

// The text the user sees; `message` is what logicNotReady and exportFailed carry.
QString errorMessage(LogicExportError error, const QString &message = {});

// Creates a Logic Pro project (.logicx) with one track per included channel by running the
// script export_logicx.py, which drives Logic Pro through AppleScript.
struct LogicLogicXExporter {
    // The script's answer when the project was saved. Only the path is used.
    struct ScriptSuccess {
        QString logicxPath;
        std::optional<qint64> trackCount;
        std::optional<QString> logicApp;

        bool operator==(const ScriptSuccess &) const = default;

        static std::optional<ScriptSuccess> fromJSON(const QJsonObject &object);
    };

    // Empty: the application's resources.
    QString resourceDirectory;
    QString interpreterPath = systemPythonInterpreter();
    // Where the manifest file goes; empty: the user's temporary folder.
    QString temporaryDirectory;

    // Asks for a project saved at `destinationPath` (with ".logicx" added when it has another
    // extension) and returns where the script saved it. Blocks until the script has ended.
    Result<QString> exportSession(const TrackList &tracks, const QString &sessionName,
                                  const QString &consoleName, const QString &destinationPath) const;

    // `destinationPath` unchanged when its extension is "logicx" in any case, else with
    // ".logicx" appended.
    static QString projectPath(const QString &destinationPath);

    ExportScriptSetup scriptSetup() const;

    bool operator==(const LogicLogicXExporter &) const = default;
};

} // namespace kelvary
