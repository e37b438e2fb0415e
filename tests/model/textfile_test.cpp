// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/errors.h"
#include "model/textfile.h"
#include "support/testing.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

using namespace velmora;
using velmora::testing::TempDir;
using velmora::testing::readFile;
using velmora::testing::writeFile;

TEST(SplitLines, TreatsCrLfLfAndCrAsOneBreakEach)
{
    EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\r\n"), (std::vector<std::string>{"a"}));
    EXPECT_EQ(SplitLines("\r\n"), (std::vector<std::string>{""}));
    EXPECT_EQ(SplitLines("a\n\r\nb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(SplitLines("a\r\rb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_TRUE(SplitLines("").empty());
}

TEST(WriteFileAtomic, ReplacesTheTargetAndKeepsItsPermissions)
{
    TempDir dir;
    const std::string target = dir.file("x.txt");
    writeFile(target, "old");
    ::chmod(target.c_str(), 0640);
    WriteFileAtomic(target, "new");
    EXPECT_EQ(readFile(target), "new");
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(WriteFileAtomic, WritesThroughASymbolicLink)
{
    TempDir dir;
    writeFile(dir.file("real.txt"), "old");
    std::filesystem::create_symlink(dir.file("real.txt"), dir.file("link.txt"));
    WriteFileAtomic(dir.file("link.txt"), "new");
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.txt")));
    EXPECT_EQ(readFile(dir.file("real.txt")), "new");
}

TEST(WriteFileAtomic, FailsCleanlyForFoldersAndMissingFolders)
{
    TempDir dir;
    EXPECT_THROW(WriteFileAtomic(dir.path().string(), "x"), UserError);
    EXPECT_THROW(WriteFileAtomic(dir.file("no/such/folder/x.txt"), "x"), UserError);
    EXPECT_THROW(WriteFileAtomic("", "x"), UserError);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(PathParts, SplitFolderAndFileName)
{
    EXPECT_EQ(FileNamePart("/a/b/c.dat"), "c.dat");
    EXPECT_EQ(FileNamePart("c.dat"), "c.dat");
    EXPECT_EQ(FolderPartWithSeparator("/a/b/c.dat"), "/a/b/");
    EXPECT_EQ(FolderPartWithSeparator("D:\\data\\p.VMPRO"), "D:\\data\\");
    EXPECT_EQ(FolderPartWithSeparator("c.dat"), "");
}
