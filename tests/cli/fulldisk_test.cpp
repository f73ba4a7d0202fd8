#include "cli/clirunner.h"
#include "cli/sessioncommands.h"
#include "export/exportscriptbridge.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

using namespace kelvary;
using namespace Qt::StringLiterals;

namespace {

// A small file system of the test's own, filled up on purpose. Mounting it needs root, which CI
// has; elsewhere the test says why it did not run.
class FullDisk : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mountPoint.isValid());
        if (geteuid() != 0)
            GTEST_SKIP() << "a full file system is a small tmpfs, and mounting one needs root";
        if (::mount("tmpfs", qPrintable(mountPoint.path()), "tmpfs", 0, "size=512k") != 0)
            GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
        mounted = true;
    }

    void TearDown() override
    {
        if (mounted)
            ::umount2(qPrintable(mountPoint.path()), MNT_DETACH);
    }

    QString path(const QString &name) const { return mountPoint.filePath(name); }

    // Leaves `spare` bytes free, so that the next large write is cut short rather than refused.
    void fillUpTo(qint64 spare)
    {
        struct statvfs space {};
        ASSERT_EQ(::statvfs(qPrintable(mountPoint.path()), &space), 0);
        const qint64 free = qint64(space.f_bavail) * qint64(space.f_frsize);
        writeBytes(path(u"filler"_s), QByteArray(std::max<qint64>(free - spare, 0), 'x'));
    }

    QStringList entries() const
    {
        return QDir(mountPoint.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

    QTemporaryDir mountPoint;
    bool mounted = false;
};

// Every channel of the show, so that each file is larger than the room left on the disk.
CommandRun convert(const QStringList &arguments)
{
    return runCommand(cli::runConvert,
                      arguments + QStringList{u"--types"_s, u"Input,Aux,Group,Matrix,Other"_s},
                      std::make_shared<FakeAudioHardware>());
}

TEST_F(FullDisk, LeavesEveryEarlierFileWholeAndSaysTheDiskIsFull)
{
    const QString report = QStringLiteral(KELVARY_EXAMPLES "/main-show.txt");
    const struct {
        QString option;
        QString target;
        QString success; // what must not be printed
    } outputs[] = {
        {u"--project"_s, u"Show.kvp"_s, u"工程已保存"_s},
        {u"--reaper"_s, u"Show.RTrackTemplate"_s, u"已导出"_s},
        {u"--pdf"_s, u"Show.pdf"_s, u"已导出"_s},
        {u"--ardour"_s, u"Show"_s, u"已导出"_s},
    };
    for (const auto &output : outputs) {
        SCOPED_TRACE(output.option.toStdString());
        const bool isFolder = output.option == u"--ardour";
        // A session folder is only ever written new, so there is no earlier one to keep.
        QByteArray earlier;
        if (!isFolder) {
            ASSERT_EQ(convert({report, output.option, path(output.target)}).exitCode, 0);
            earlier = fileBytes(path(output.target));
            ASSERT_GT(earlier.size(), 4096);
        }
        const QStringList before = entries();
        fillUpTo(4096);

        // The project is saved over the file it was opened from, as Ctrl+S does.
        const QString source = output.option == u"--project" ? path(output.target) : report;
        const CommandRun run = convert({source, output.option, path(output.target)});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.contains(u"磁盘空间已满。"_s)) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(output.target)) << run.err.toStdString();
        EXPECT_FALSE(run.out.contains(output.success)) << run.out.toStdString();
        if (!isFolder) {
            EXPECT_EQ(fileBytes(path(output.target)), earlier);
        }
        QStringList after = before + QStringList{u"filler"_s};
        after.sort();
        EXPECT_EQ(entries(), after);

        ASSERT_TRUE(QFile::remove(path(u"filler"_s)));
        ASSERT_TRUE(!QFileInfo::exists(path(output.target)) || QFile::remove(path(output.target)));
    }

    // The manifests handed to the export scripts.
    fillUpTo(4096);
    const Result<QString> manifest =
        writeManifestFile(QByteArray(20000, '{'), u"manifest-"_s, mountPoint.path());
    ASSERT_FALSE(manifest.ok());
    EXPECT_TRUE(manifest.error().message().contains(u"磁盘空间已满。"_s));
    EXPECT_EQ(entries(), QStringList{u"filler"_s});
}

} // namespace
