#include "platform/FileSystem.h"

#include <cerrno>
#include <filesystem>

#include <gtest/gtest.h>

#include "support/Fakes.h"

namespace qnr::platform {
namespace {

TEST(FileSystem, ResolvesNamesWithoutRegardToCase) {
    test::TempFolder tmp;
    StdFileSystem fs;
    fs.makeFolders(tmp.file("CGSC/Tables"));
    test::WriteAll(tmp.file("CGSC/Tables/regions.bin"), {1});
    EXPECT_EQ(fs.resolve(tmp.file("cgsc/TABLES/REGIONS.BIN")), tmp.file("CGSC/Tables/regions.bin"));
    EXPECT_EQ(fs.resolve(tmp.file("CGSC/Tables/regions.bin")), tmp.file("CGSC/Tables/regions.bin"));
    // Nothing matches: the path comes back as asked.
    EXPECT_EQ(fs.resolve(tmp.file("cgsc/none.bin")), tmp.file("cgsc/none.bin"));
}

TEST(FileSystem, AtomicWriteReplacesOrLeavesTheOldFile) {
    test::TempFolder tmp;
    StdFileSystem fs;
    const std::string path = tmp.file("a.bin");
    ASSERT_EQ(fs.writeFileAtomic(path, {1, 2, 3}), 0);
    EXPECT_EQ(test::ReadAll(path), (Bytes{1, 2, 3}));
    ASSERT_EQ(fs.writeFileAtomic(path, {4}), 0);
    EXPECT_EQ(test::ReadAll(path), (Bytes{4}));
    EXPECT_FALSE(fs.exists(path + ".new~"));
    // A folder in the way of the target: the write fails, nothing is left behind.
    fs.makeFolders(tmp.file("dir"));
    EXPECT_NE(fs.writeFileAtomic(tmp.file("dir"), {9}), 0);
    EXPECT_TRUE(fs.isFolder(tmp.file("dir")));
    EXPECT_FALSE(fs.exists(tmp.file("dir.new~")));
}

TEST(FileSystem, ReadFileStopsAtTheLimitAndReportsMissingFiles) {
    test::TempFolder tmp;
    StdFileSystem fs;
    test::WriteAll(tmp.file("f"), {1, 2, 3, 4, 5});
    ReadResult r = fs.readFile(tmp.file("f"), 3);
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.bytes, (Bytes{1, 2, 3}));
    EXPECT_EQ(fs.readFile(tmp.file("missing"), 10).code, 2);
    EXPECT_EQ(fs.readFile(tmp.file("nofolder/x"), 10).code, 2);
}

TEST(FileSystem, ErrnoMapsOntoTheResultCodes) {
    EXPECT_EQ(IoCodeFromErrno(ENOENT), 2);
    EXPECT_EQ(IoCodeFromErrno(ENOTDIR), 3);
    EXPECT_EQ(IoCodeFromErrno(EMFILE), 4);
    EXPECT_EQ(IoCodeFromErrno(EACCES), 5);
    EXPECT_EQ(IoCodeFromErrno(ENOSPC), 101);
}

TEST(FileSystem, PathHelpers) {
    EXPECT_EQ(WithTrailingSlash("/a"), "/a/");
    EXPECT_EQ(WithTrailingSlash("/a/"), "/a/");
    EXPECT_EQ(FolderOf("/a/b/c.txt"), "/a/b/");
    EXPECT_EQ(FileNameOf("/a/b/c.txt"), "c.txt");
    EXPECT_EQ(FolderOf("c.txt"), "");
}

}  // namespace
}  // namespace qnr::platform
