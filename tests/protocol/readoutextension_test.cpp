#include "readoutextension.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class ReadoutExtensionTest : public ::testing::Test {
protected:
    void SetUp() override { SetReadoutExtensionDirs({first.path() + "/", second.path() + "/"}); }
    void TearDown() override { SetReadoutExtensionDirs({}); }

    static void Write(const QTemporaryDir &dir, const QString &name, const QByteArray &data)
    {
        QFile file(QDir(dir.path()).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(data);
    }

    QTemporaryDir first;
    QTemporaryDir second;
};

} // namespace

TEST_F(ReadoutExtensionTest, FindsTheModuleTypesFileInTheFirstFolderThatHasIt)
{
    Write(second, "AMP12.rdd", "3\\2\\P1\\\\Gain\\1\\0\\1000\r\n2\\0\\V1\\mm\\Pos\\1\\0\\10\n\n");
    const TReadoutExtension ext = LoadReadoutExtension("AMP12 V1.0 2024 SN1 error");
    EXPECT_TRUE(ext.Found);
    EXPECT_EQ(ext.FileName, "AMP12.rdd");
    EXPECT_EQ(ext.Dir, first.path() + "/");
    EXPECT_EQ(ext.Lines.size(), 2);
}

TEST_F(ReadoutExtensionTest, MissingFileOrTypeGivesNoLines)
{
    struct Case {
        const char *modId;
        const char *fileName;
    };
    for (const Case &c : {Case{"AMP12 V1.0 2024 SN1", "AMP12.rdd"}, Case{"TOO SHORT ID", ""}}) {
        const TReadoutExtension ext = LoadReadoutExtension(c.modId);
        EXPECT_FALSE(ext.Found) << c.modId;
        EXPECT_TRUE(ext.Lines.isEmpty()) << c.modId;
        EXPECT_EQ(ext.FileName, c.fileName) << c.modId;
    }
}

TEST_F(ReadoutExtensionTest, HugeFileIsRefused)
{
    Write(first, "AMP12.rdd", QByteArray(5 * 1024 * 1024, 'x'));
    EXPECT_FALSE(LoadReadoutExtension("AMP12 V1.0 2024 SN1").Found);
}
