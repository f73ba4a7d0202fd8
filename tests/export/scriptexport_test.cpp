#include "export/exportmanifest.h"
#include "export/exportscriptbridge.h"
#include "export/logiclogicxexporter.h"
#include "export/protoolsptxexporter.h"
#include "support/builders.h"
#include "support/printers.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kelvary;
using namespace Qt::StringLiterals;

namespace {

TrackChannel makeInput(const QString &label, const QString &name, bool included = true)
{
    TrackChannel track = makeTrack(DigicoChannelType::input, label, name);
    track.isIncluded = included;
    return track;
}

const TrackList twoTracks = {makeInput(u"1"_s, u"Kick"_s), makeInput(u"2"_s, u"Snare"_s, false),
                             makeInput(u"3s"_s, u"Keys"_s)};

// A resource folder holding fake export scripts, a folder for the manifest files and a record of
// what the last script was started with. Every fake script first writes that record, so a test
// can see the arguments and the manifest as the script saw them.
class ScriptExport : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        ASSERT_TRUE(QDir(m_root.path()).mkpath(u"resources/Scripts"_s));
        ASSERT_TRUE(QDir(m_root.path()).mkpath(u"manifests"_s));
        m_proTools.resourceDirectory = path(u"resources"_s);
        m_proTools.temporaryDirectory = path(u"manifests"_s);
        m_logic.resourceDirectory = m_proTools.resourceDirectory;
        m_logic.temporaryDirectory = m_proTools.temporaryDirectory;
    }

    // Whatever the outcome, no manifest file stays behind.
    void TearDown() override
    {
        EXPECT_EQ(QDir(path(u"manifests"_s)).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    QString path(const QString &relative) const { return m_root.filePath(relative); }

    void writeScript(const QString &relativePath, const QString &body)
    {
        const QString prologue =
            u"import json, os, sys\n"
            u"with open(sys.argv[2], encoding='utf-8') as m:\n"
            u"    manifest = m.read()\n"
            u"with open(%1, 'w', encoding='utf-8') as r:\n"
            u"    json.dump({'argv': sys.argv, 'manifest': json.loads(manifest)}, r)\n"_s.arg(
                pythonText(path(u"record.json"_s)));
        QFile file(path(u"resources/"_s + relativePath));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write((prologue + body).toUtf8());
    }

    static QString pythonText(const QString &text)
    {
        return u"'"_s + QString(text).replace(u"\\"_s, u"\\\\"_s).replace(u"'"_s, u"\\'"_s) +
               u"'"_s;
    }

    // What the last script was started with: its "argv" and its "manifest".
    QJsonValue recorded(const QString &key) const
    {
        return QJsonDocument::fromJson(fileBytes(path(u"record.json"_s)))[key];
    }

    QTemporaryDir m_root;
    ProToolsPTXExporter m_proTools;
    LogicLogicXExporter m_logic;
};

// The path an export returns, or its error message.
QString outcome(const Result<QString> &result)
{
    return result ? *result : result.error().message();
}

} // namespace

TEST_F(ScriptExport, ProToolsHandsTheManifestToTheScriptAndReturnsTheSessionItSaved)
{
    const QString saved = path(u"Show/Show/Show.ptx"_s);
    ASSERT_TRUE(QDir(path({})).mkpath(u"Show/Show"_s));
    QFile(saved).open(QIODevice::WriteOnly);
    writeScript(u"Scripts/export_ptx.py"_s,
                u"print(json.dumps({'ptxPath': %1, 'sessionFolder': 'x', 'warnings': []}))\n"_s.arg(
                    pythonText(saved)));

    EXPECT_EQ(outcome(m_proTools.exportSession(twoTracks, {}, u"SD7"_s, path(u"Show/Show.ptx"_s))),
              saved);
    const QJsonArray argv = recorded(u"argv"_s).toArray();
    ASSERT_EQ(argv.size(), 3); // Python leaves out the interpreter itself
    EXPECT_EQ(argv[0].toString(), path(u"resources/Scripts/export_ptx.py"_s));
    EXPECT_EQ(argv[1].toString(), u"--manifest"_s);
    EXPECT_TRUE(argv[2].toString().startsWith(path(u"manifests/kelvary-"_s)));
    const QByteArray expected =
        ProToolsExportManifest::makeManifest(twoTracks, u"Show"_s, path(u"Show"_s), u"SD7"_s)
            .encoded();
    EXPECT_EQ(recorded(u"manifest"_s), QJsonDocument::fromJson(expected).object());
}

TEST_F(ScriptExport, LogicAddsTheProjectExtensionAndAcceptsAnAnswerWithoutOptionalKeys)
{
    ASSERT_TRUE(QDir(path({})).mkpath(u"Show.logicx"_s));
    writeScript(u"Scripts/export_logicx.py"_s,
                u"print(json.dumps({'logicxPath': json.loads(manifest)['outputPath']}))\n"_s);

    EXPECT_EQ(outcome(m_logic.exportSession(twoTracks, {}, {}, path(u"Show"_s))),
              path(u"Show.logicx"_s));
    EXPECT_EQ(recorded(u"manifest"_s)[u"sessionName"_s], u"Show"_s);
}

TEST_F(ScriptExport, NoIncludedTrackStopsBeforeAnyFileOrProcess)
{
    writeScript(u"Scripts/export_ptx.py"_s, u"sys.exit(1)\n"_s);
    writeScript(u"Scripts/export_logicx.py"_s, u"sys.exit(1)\n"_s);
    const TrackList excluded = {makeInput(u"1"_s, u"Kick"_s, false)};

    const Result<QString> proTools = m_proTools.exportSession(excluded, u"S"_s, {}, u"/x.ptx"_s);
    ASSERT_FALSE(proTools);
    EXPECT_TRUE(proTools.error().is(ProToolsExportError::noTracksSelected));
    EXPECT_EQ(outcome(m_logic.exportSession({}, u"S"_s, {}, u"/x"_s)),
              u"请至少选择一条要导出的轨道。"_s);
    EXPECT_FALSE(QFile::exists(path(u"record.json"_s)));
}

QString failureAnswer(const QString &code)
{
    return u"print(json.dumps({'error': '%1', 'message': 'Pro Tools is not running'}))\n"
           u"sys.exit(1)\n"_s.arg(code);
}

// An answer with anything beside the JSON is unreadable.
const QString progressThenAnswer =
    u"print('creating 2 tracks')\nprint(json.dumps({'ptxPath': '/', 'sessionFolder': '/', "
    u"'logicxPath': '/'}))\n"_s;
const QString missingPath = u"print(json.dumps({'ptxPath': '/nowhere/S.ptx', 'sessionFolder': '', "
                            u"'logicxPath': '/nowhere/S.logicx', 'trackCount': 2}))\n"_s;
const QString notRunning = u"无法通过 AppleScript 控制 Logic Pro。\nPro Tools is not running"_s;
const QString killed = u"import signal\nos.kill(os.getpid(), signal.SIGKILL)\n"_s;

// Each way a script fails, for one exporter, and the message the user gets for it.
struct FailureCase {
    const char *name;
    bool logic;
    QString script; // none: the script is missing
    QString expected;
};

TEST_F(ScriptExport, EachWayAScriptFailsBecomesTheExportersError)
{
    const FailureCase cases[] = {
        {"PYPTSL_MISSING", false, failureAnswer(u"PYPTSL_MISSING"_s),
         u"未安装 py-ptsl。请在终端运行：python3 -m pip install py-ptsl"_s},
        {"PTSL_FAILED", false, failureAnswer(u"PTSL_FAILED"_s),
         u"无法连接 Pro Tools（PTSL）。请启动 Pro Tools 后重试。\n"
         u"Pro Tools is not running"_s},
        {"progress", false, progressThenAnswer, u"无法解析 Pro Tools 导出结果。"_s},
        {"missing path", false, missingPath, u"未找到生成的 .ptx 文件。"_s},
        {"no script", false, {}, u"应用内缺少 export_ptx.py 脚本。"_s},
        // Output without an answer is shown, the error output first.
        {"no answer", false,
         u"print('partial log')\nsys.stderr.write('RuntimeError: PTSL went away\\n')\n"
         u"sys.exit(1)\n"_s,
         u"RuntimeError: PTSL went away\npartial log"_s},
        // Killed after its answer, a script has not succeeded.
        {"killed after answering", false,
         u"print(json.dumps({'ptxPath': '/', 'sessionFolder': '/'}), flush=True)\n"_s + killed,
         u"{\"ptxPath\": \"/\", \"sessionFolder\": \"/\"}"_s},
        {"LOGIC_MISSING", true, failureAnswer(u"LOGIC_MISSING"_s),
         u"未找到 Logic Pro。请安装 Logic Pro 后重试。"_s},
        {"LOGIC_NOT_READY", true, failureAnswer(u"LOGIC_NOT_READY"_s), notRunning},
        {"APPLESCRIPT_FAILED", true, failureAnswer(u"APPLESCRIPT_FAILED"_s), notRunning},
        {"progress", true, progressThenAnswer, u"无法解析 Logic 导出结果。"_s},
        {"missing path", true, missingPath, u"未找到生成的 .logicx 项目。"_s},
        // Output that is not UTF-8 counts as no output at all.
        {"exit 3", true,
         u"sys.stdout.buffer.write(b'\\xff\\xfe\\x00'); sys.stdout.flush(); "
         u"sys.exit(3)\n"_s,
         u"导出脚本失败（退出码 3）。"_s},
        // A signal is reported by its number, as the system gives it in place of a status.
        {"killed", true, killed, u"导出脚本失败（退出码 9）。"_s},
        // A failure answer on standard error is honoured.
        {"stderr", true,
         u"print('osascript said something')\nsys.stderr.write(json.dumps({'error': "
         u"'APPLESCRIPT_FAILED', 'message': '不允许辅助访问'}))\nsys.exit(1)\n"_s,
         u"无法通过 AppleScript 控制 Logic Pro。\n不允许辅助访问"_s},
        {"no script", true, {}, u"应用内缺少 export_logicx.py 脚本。"_s},
    };
    for (const FailureCase &failure : cases) {
        SCOPED_TRACE(std::string(failure.logic ? "Logic " : "Pro Tools ") + failure.name);
        const QString script =
            failure.logic ? u"Scripts/export_logicx.py"_s : u"Scripts/export_ptx.py"_s;
        QFile::remove(path(u"resources/"_s + script));
        if (!failure.script.isEmpty())
            writeScript(script, failure.script);
        const Result<QString> result =
            failure.logic ? m_logic.exportSession(twoTracks, u"S"_s, {}, path(u"S"_s))
                          : m_proTools.exportSession(twoTracks, u"S"_s, {}, path(u"S.ptx"_s));
        EXPECT_EQ(outcome(result), failure.expected);
    }
}

TEST(ScriptAnswer, IsOneObjectWithEveryRequiredKeyOfItsTypeAndOptionalOnesMayBeNull)
{
    using Success = ProToolsPTXExporter::ScriptSuccess;
    EXPECT_EQ(decodeScriptJSON<Success>(u"{\"ptxPath\": \"/a.ptx\", \"sessionFolder\": \"/\"}"_s),
              (Success{u"/a.ptx"_s, u"/"_s}));
    EXPECT_FALSE(decodeScriptJSON<Success>({}));
    EXPECT_FALSE(decodeScriptJSON<Success>(u"{\"ptxPath\": \"/a.ptx\"}"_s));
    EXPECT_FALSE(decodeScriptJSON<Success>(u"{\"ptxPath\": 1, \"sessionFolder\": \"/\"}"_s));
    EXPECT_FALSE(decodeScriptJSON<Success>(u"[{\"ptxPath\": \"/\", \"sessionFolder\": \"/\"}]"_s));
    EXPECT_FALSE(decodeScriptJSON<ScriptFailure>(u"{\"error\": \"A\", \"message\": null}"_s));

    using LogicSuccess = LogicLogicXExporter::ScriptSuccess;
    EXPECT_EQ(decodeScriptJSON<LogicSuccess>(u"{\"logicxPath\": \"/a\", \"trackCount\": null}"_s),
              (LogicSuccess{u"/a"_s, std::nullopt, std::nullopt}));
    EXPECT_FALSE(
        decodeScriptJSON<LogicSuccess>(u"{\"logicxPath\": \"/a\", \"trackCount\": \"12\"}"_s));
}

TEST(ManifestFile, IsPrivateToTheUserAndFailsWithThePlatformsReason)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const Result<QString> written = writeManifestFile("{}\n", u"kelvary-"_s, folder.path());
    ASSERT_TRUE(written);
    QFile file(*written);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("{}\n"));
    EXPECT_EQ(file.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther), 0);
}
