#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "io/InstalledData.h"

namespace vekaton {
namespace {

std::string Canonical(const QString& path) {
    return QFileInfo(path).canonicalFilePath().toStdString();
}

TEST(InstalledDataTest, InstalledProgramFindsItsDataBesideItsOwnFolder) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QDir prefix(root.path());
    ASSERT_TRUE(prefix.mkpath("opt/vk/bin"));
    ASSERT_TRUE(prefix.mkpath("opt/vk/share/vekaton/demo"));

    const DataFolders folders = DataFoldersFor(prefix.filePath("opt/vk/bin"));
    EXPECT_EQ(folders.data.toStdString(), prefix.filePath("opt/vk/share/vekaton").toStdString());
    EXPECT_EQ(folders.manuals.toStdString(),
              prefix.filePath("opt/vk/share/doc/vekaton").toStdString());
}

TEST(InstalledDataTest, ProgramOutsideTheBuildTreeNeverReadsTheSources) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QDir prefix(root.path());
    ASSERT_TRUE(prefix.mkpath("usr/bin"));

    // Nothing installed beside it: the installed places are named (and reported missing), not
    // the checkout this test was built from.
    const DataFolders folders = DataFoldersFor(prefix.filePath("usr/bin"));
    EXPECT_EQ(folders.data.toStdString(), prefix.filePath("usr/share/vekaton").toStdString());
    EXPECT_EQ(folders.manuals.toStdString(),
              prefix.filePath("usr/share/doc/vekaton").toStdString());
}

TEST(InstalledDataTest, ProgramOfTheBuildTreeReadsTheSourceTree) {
    const DataFolders folders = DataFoldersFor(QStringLiteral(VEKATON_BINARY_DIR "/src"));
    EXPECT_EQ(Canonical(folders.data), Canonical(VEKATON_SOURCE_DIR));
    EXPECT_EQ(Canonical(folders.manuals), Canonical(VEKATON_SOURCE_DIR "/docs"));

    // This test program is one of them: the demo set and the manual are where it looks.
    EXPECT_TRUE(QFileInfo(QDir(DemoSetFolder()).filePath("Demo.ini")).isFile())
        << DemoSetFolder().toStdString();
    EXPECT_TRUE(QFileInfo(ManualFile()).isFile()) << ManualFile().toStdString();
    EXPECT_EQ(Canonical(QFileInfo(DefinitionsFolder()).absolutePath()),
              Canonical(VEKATON_SOURCE_DIR));
}

}  // namespace
}  // namespace vekaton
