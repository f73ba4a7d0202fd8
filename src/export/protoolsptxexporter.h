#pragma once

#include "export/exportscriptbridge.h"
#include "model/result.h"
#include "model/trackchannel.h"

#include <QJsonObject>
#include <QList>
#include <QString>

#include <optional>

namespace kelvary {

enum class ProToolsExportError {
    proToolsNotReady,
    exportFailed,
    noTracksSelected,
    scriptMissing,
    pythonMissing,
    pyPTSLMissing,
};

// The text the user sees; `message` is what proToolsNotReady and exportFailed carry.
QString errorMessage(ProToolsExportError error, const QString &message = {});

// Creates a Pro Tools session (.ptx) with one track per included channel by running the script
// export_ptx.py, which drives the running Pro Tools through its scripting interface.
struct ProToolsPTXExporter {
    // The script's answer when the session was saved.
    struct ScriptSuccess {
        QString ptxPath;
        QString sessionFolder;

        bool operator==(const ScriptSuccess &) const = default;

        static std::optional<ScriptSuccess> fromJSON(const QJsonObject &object);
    };

    // Empty: the application's resources.
    QString resourceDirectory;
    QString interpreterPath = systemPythonInterpreter();
    // Where the manifest file goes; empty: the user's temporary folder.
    QString temporaryDirectory;

    // Asks for a session named after `sessionName` (else after `destinationPath`) in the folder
    // of `destinationPath`, and returns the path of the .ptx the script saved. Blocks until the
    // script has ended.
    Result<QString> exportSession(const TrackList &tracks, const QString &sessionName,
                                  const QString &consoleName, const QString &destinationPath) const;

    ExportScriptSetup scriptSetup() const;

    bool operator==(const ProToolsPTXExporter &) const = default;
};

} // namespace kelvary
