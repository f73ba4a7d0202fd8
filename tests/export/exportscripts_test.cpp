#include "export/exportmanifest.h"
#include "export/exportscriptbridge.h"
#include "export/logiclogicxexporter.h"
#include "export/protoolsptxexporter.h"
#include "export/resourcedirectory.h"
#include "support/builders.h"
#include "support/printers.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kelvary;
using namespace Qt::StringLiterals;

// The product's own export scripts, run by the system interpreter on this machine, which has
// neither py-ptsl and Pro Tools nor Logic Pro.

namespace {

const QString sourceResources = QStringLiteral(KELVARY_SOURCE_RESOURCES);

TrackList oneTrack()
{
    return {makeTrack(DigicoChannelType::input, u"1"_s, u"Kick"_s)};
}

struct ScriptOutcome {
    int exitCode = -1;
    QByteArray output;
    QJsonObject answer() const { return QJsonDocument::fromJson(output).object(); }
};

ScriptOutcome runPython(const QStringList &arguments)
{
    QProcess process;
    process.start(systemPythonInterpreter(), arguments);
    process.waitForFinished(-1);
    const bool exited = process.exitStatus() == QProcess::NormalExit;
    return {exited ? process.exitCode() : -1, process.readAllStandardOutput()};
}

// Runs one of the scripts on a manifest with the given contents.
ScriptOutcome runScript(const QString &script, const QByteArray &manifest)
{
    QTemporaryDir folder;
    writeBytes(folder.filePath(u"m.json"_s), manifest);
    return runPython(
        {sourceResources + u"/Scripts/"_s + script, u"--manifest"_s, folder.filePath(u"m.json"_s)});
}

} // namespace

TEST(ExportScripts, TheBuildPutsBothScriptsWhereTheApplicationLooks)
{
    for (const QString &name : {u"export_ptx"_s, u"export_logicx"_s}) {
        const std::optional<QString> found = locateExportScript(resourceDirectory(), name);
        ASSERT_TRUE(found) << name.toStdString() << " in " << resourceDirectory().toStdString();
        const QByteArray source = fileBytes(sourceResources + u"/Scripts/"_s + name + u".py"_s);
        EXPECT_FALSE(source.isEmpty());
        EXPECT_EQ(fileBytes(*found), source);
    }
}

TEST(ExportScripts, WithoutTheirWorkstationBothGetTheInstallationHint)
{
    QTemporaryDir destination;
    const auto exportWith = [&](auto exporter, const QString &name) {
        exporter.resourceDirectory = sourceResources;
        return exporter.exportSession(oneTrack(), u"Show"_s, {}, destination.filePath(name));
    };
    const Result<QString> logic = exportWith(LogicLogicXExporter(), u"Show"_s);
    ASSERT_FALSE(logic);
    EXPECT_TRUE(logic.error().is(LogicExportError::logicMissing));
    EXPECT_FALSE(QFile::exists(destination.filePath(u"Show.logicx"_s)));

    if (runPython({u"-c"_s, u"import ptsl"_s}).exitCode == 0)
        GTEST_SKIP() << "py-ptsl is installed here; the script would try to reach Pro Tools";
    const Result<QString> proTools = exportWith(ProToolsPTXExporter(), u"Show.ptx"_s);
    ASSERT_FALSE(proTools);
    EXPECT_TRUE(proTools.error().is(ProToolsExportError::pyPTSLMissing));
}

TEST(ExportScripts, RefuseAMalformedManifestOrASessionNameThatLeavesTheChosenFolder)
{
    for (const QString &script : {u"export_ptx.py"_s, u"export_logicx.py"_s}) {
        const ScriptOutcome outcome =
            runScript(script, "{\"sessionName\": \"Show\", \"tracks\": [");
        EXPECT_NE(outcome.exitCode, 0) << script.toStdString();
        EXPECT_EQ(outcome.answer().value(u"error"_s), u"BAD_MANIFEST"_s) << outcome.output.data();
    }

    const ScriptOutcome outcome = runScript(
        u"export_ptx.py"_s,
        ProToolsExportManifest::makeManifest(oneTrack(), u".."_s, QDir::tempPath(), {}).encoded());
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.answer().value(u"error"_s), u"BAD_MANIFEST"_s);
    EXPECT_TRUE(outcome.answer().value(u"message"_s).toString().startsWith(u"sessionName"_s));
}
