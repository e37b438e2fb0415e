// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/errors.h"
#include "model/textfile.h"
#include "support/testing.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <csignal>
#include <cstdlib>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

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

namespace {

std::string errorOf(void (*fn)(const std::string &), const std::string &path)
{
    try {
        fn(path);
    } catch (const UserError &e) {
        return e.what();
    }
    return "(no error)";
}

void readOnly(const std::string &path)
{
    ReadFileBytes(path);
}

void writeX(const std::string &path)
{
    WriteFileAtomic(path, "x");
}

size_t entries(const std::filesystem::path &dir)
{
    return size_t(std::distance(std::filesystem::directory_iterator(dir),
                                std::filesystem::directory_iterator()));
}

} // namespace

TEST(ReadFileBytes, RefusesDevicesFifosAndOversizedFilesWithoutWaiting)
{
    TempDir dir;
    const std::string fifo = dir.file("fifo.dat");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(errorOf(readOnly, fifo), "Datei " + fifo + " kann nicht geöffnet werden");
    EXPECT_EQ(errorOf(readOnly, "/dev/zero"), "Datei /dev/zero kann nicht geöffnet werden");

    const std::string big = dir.file("big.dat");
    writeFile(big, "");
    std::filesystem::resize_file(big, kMaxInputFileBytes + 1); // sparse: costs no disk
    EXPECT_EQ(errorOf(readOnly, big), "Datei " + big + " ist zu groß (mehr als 8 MB)");
    std::filesystem::resize_file(big, kMaxInputFileBytes);
    EXPECT_EQ(ReadFileBytes(big).size(), kMaxInputFileBytes);
}

TEST(WriteFileAtomic, NeverReplacesWhatIsNoRegularFile)
{
    TempDir dir;
    const std::string fifo = dir.file("fifo.dat");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(errorOf(writeX, fifo), "Datei " + fifo + " kann nicht erstellt werden");
    struct stat st {};
    ASSERT_EQ(::lstat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));

    std::filesystem::create_symlink("/dev/null", dir.file("null.dat"));
    EXPECT_THROW(writeX(dir.file("null.dat")), UserError);
    std::filesystem::create_symlink(dir.file("gone.dat"), dir.file("dangling.dat"));
    EXPECT_THROW(writeX(dir.file("dangling.dat")), UserError);
    EXPECT_FALSE(std::filesystem::exists(dir.file("gone.dat")));
    EXPECT_EQ(entries(dir.path()), 3u) << "no temporary file may stay behind";
}

TEST(WriteFileAtomic, TakesTheLongestLegalFileName)
{
    TempDir dir;
    const std::string path = dir.file(std::string(250, 'n') + ".dat");
    WriteFileAtomic(path, "x");
    EXPECT_EQ(readFile(path), "x");
    EXPECT_EQ(entries(dir.path()), 1u);
}

TEST(WriteFileAtomic, FileSizeLimitFailsTheWriteInsteadOfEndingTheProcess)
{
    TempDir dir;
    const std::string target = dir.file("t.dat");
    EXPECT_EXIT(
        {
            // the default action of SIGXFSZ, as a freshly started program has it
            std::signal(SIGXFSZ, SIG_DFL);
            rlimit rl {};
            ::getrlimit(RLIMIT_FSIZE, &rl);
            rl.rlim_cur = 16;
            ::setrlimit(RLIMIT_FSIZE, &rl);
            int code = 3;
            try {
                WriteFileAtomic(target, std::string(4096, 'x'));
            } catch (const UserError &) {
                code = std::filesystem::is_empty(dir.path()) ? 0 : 4;
            }
            std::_Exit(code);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(Messages, ShowPathsWithoutControlCharactersOrBrokenText)
{
    EXPECT_EQ(msgCannotOpen("/tmp/a\x1b]0;owned\x07" "b\nc.dat"),
              "Datei /tmp/a?]0;owned?b?c.dat kann nicht geöffnet werden");
    EXPECT_EQ(msgCannotCreate("x\xff\xc3(\xc2\x9b\xe4\xbd\xa0.dat"),
              "Datei x??" "(?\xe4\xbd\xa0.dat kann nicht erstellt werden");
    EXPECT_EQ(msgCannotCreate("Müller €.dat"), "Datei Müller €.dat kann nicht erstellt werden");
}
