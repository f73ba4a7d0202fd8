#include "model/fileio.h"
#include "support/printers.h"
#include "support/testfiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>

using namespace kelvary;
using namespace Qt::StringLiterals;

TEST(FileErrors, AreToldInKelvarysWordsByTheirKind)
{
    const struct {
        QFileDevice::FileError error;
        int systemError;
        QString reason;
    } cases[] = {
        {QFileDevice::OpenError, ENOENT, u"文件或文件夹不存在。"_s},
        {QFileDevice::OpenError, EACCES, u"没有访问权限。"_s},
        {QFileDevice::WriteError, ENOSPC, u"磁盘空间已满。"_s},
        {QFileDevice::OpenError, EROFS, u"所在的文件系统是只读的。"_s},
        {QFileDevice::ReadError, EIO, u"系统报告了错误（Input/output error）。"_s},
        {QFileDevice::UnspecifiedError, 0, u"系统报告了错误。"_s},
    };
    for (const auto &test : cases) {
        const QString systemText = test.systemError == EIO ? u"Input/output error"_s : QString();
        EXPECT_EQ(fileErrorReason(test.error, test.systemError, systemText), test.reason)
            << test.error << ' ' << test.systemError;
    }

    // The reasons the file system really gives.
    QTemporaryDir folder;
    EXPECT_EQ(readWholeFile(folder.filePath(u"missing.txt"_s)).error().message(),
              u"无法打开文件“missing.txt”：文件不存在。"_s);
    EXPECT_EQ(readWholeFile(folder.filePath(u"gone/missing.txt"_s)).error().message(),
              u"无法打开文件“missing.txt”：文件夹“%1”不存在。"_s.arg(folder.filePath(u"gone"_s)));
    ASSERT_TRUE(QDir(folder.path()).mkdir(u"x.kvp"_s));
    const QString directory = folder.filePath(u"x.kvp"_s);
    EXPECT_EQ(readWholeFile(directory).error().message(),
              u"无法打开文件“x.kvp”：这是一个文件夹，不是文件。"_s);
    EXPECT_EQ(writeWholeFile(directory, "{}").error().message(),
              u"无法写入文件“%1”：这是一个文件夹，不是文件。"_s.arg(directory));
    EXPECT_EQ(writeWholeFile(folder.filePath(u"gone/x.kvp"_s), "{}").error().message(),
              u"无法写入文件“%1”：文件夹“%2”不存在。"_s.arg(folder.filePath(u"gone/x.kvp"_s),
                                                            folder.filePath(u"gone"_s)));

    // A shorter file replaces a longer one whole.
    const QString show = folder.filePath(u"Show.RTrackTemplate"_s);
    ASSERT_TRUE(writeWholeFile(show, "a much longer earlier text").ok());
    ASSERT_TRUE(writeWholeFile(show, "主唱\n").ok());
    EXPECT_EQ(fileBytes(show), "主唱\n");
}
