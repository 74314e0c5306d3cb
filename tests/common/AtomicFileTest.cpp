#include "common/AtomicFile.h"
#include "common/Files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace kv;

namespace {
std::string freshFolder(const char* name) {
    std::string dir = testing::TempDir() + "/kv-" + name + "-" + std::to_string(::getpid());
    makeDirectories(dir);
    for (const std::string& entry : listDirectory(dir))
        removeFile(joinPath(dir, entry));
    return dir;
}
} // namespace

TEST(AtomicFile, ReplacesTheTargetOnlyOnCommit) {
    std::string dir = freshFolder("atomic");
    std::string target = joinPath(dir, "settings.ini");
    ASSERT_TRUE(writeFileAtomically(target, "old contents\n"));
    {
        AtomicFile file(target);
        ASSERT_TRUE(file.open());
        ASSERT_TRUE(file.write("new, but "));
        EXPECT_EQ(readFile(target), "old contents\n");
        // Goes out of scope without commit, as a broken transfer would.
    }
    EXPECT_EQ(readFile(target), "old contents\n");
    EXPECT_EQ(listDirectory(dir), std::vector<std::string>{"settings.ini"}) << "temporary file left behind";

    AtomicFile file(target);
    ASSERT_TRUE(file.open());
    ASSERT_TRUE(file.write("new contents\n"));
    ASSERT_TRUE(file.commit());
    EXPECT_EQ(readFile(target), "new contents\n");
    EXPECT_EQ(listDirectory(dir).size(), 1u);
}

TEST(AtomicFile, KeepsThePermissionsOfTheFileItReplaces) {
    std::string dir = freshFolder("perm");
    std::string target = joinPath(dir, "secret.ini");
    ASSERT_TRUE(writeFileAtomically(target, "a"));
    ::chmod(target.c_str(), 0640);
    ASSERT_TRUE(writeFileAtomically(target, "b"));
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(AtomicFile, OwnerOnlyFilesAre0600WhateverTheOldFileWas) {
    std::string dir = freshFolder("private");
    std::string target = joinPath(dir, "KVSMRC.ini");
    ASSERT_TRUE(writeFileAtomically(target, "a"));
    ::chmod(target.c_str(), 0644);
    ASSERT_TRUE(writeFileAtomically(target, "b", nullptr, FlushToDisk::Yes, FileAccess::OwnerOnly));
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(AtomicFile, SavesFromManyThreadsNeverTouchTheProcessUmask) {
    // Setting the mask to read it left a window in which another thread's new file was world-writable.
    const mode_t before = ::umask(027);
    std::string dir = freshFolder("umask");
    std::vector<std::thread> savers;
    for (int t = 0; t < 4; ++t)
        savers.emplace_back([&, t] {
            for (int i = 0; i < 50; ++i)
                writeFileAtomically(joinPath(dir, "f" + std::to_string(t * 100 + i)), "x", nullptr, FlushToDisk::No);
        });
    for (std::thread& saver : savers)
        saver.join();
    EXPECT_EQ(::umask(before), 027u);
    for (const std::string& name : listDirectory(dir)) {
        struct stat st {};
        ASSERT_EQ(::stat(joinPath(dir, name).c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0640u) << name;
    }
}

TEST(AtomicFile, ReportsAFolderThatCannotBeWritten) {
    std::string error;
    EXPECT_FALSE(writeFileAtomically("/nonexistent-folder/x.ini", "data", &error));
    EXPECT_NE(error.find("/nonexistent-folder/x.ini"), std::string::npos) << error;
}

TEST(Files, PathsAndFolders) {
    EXPECT_EQ(joinPath("/a/b/", "/c"), "/a/b/c");
    EXPECT_EQ(joinPath("", "c"), "c");
    EXPECT_EQ(baseName("/x/y/file.ini"), "file.ini");
    EXPECT_EQ(dirName("/x/y/file.ini"), "/x/y");
    EXPECT_EQ(dirName("/file"), "/");
    EXPECT_EQ(dirName("file"), "");
    std::string dir = freshFolder("dirs");
    std::string deep = joinPath(dir, "one/two/three");
    EXPECT_TRUE(makeDirectories(deep));
    EXPECT_TRUE(directoryExists(deep));
    EXPECT_FALSE(fileExists(deep));
    EXPECT_EQ(fileSize(deep), std::nullopt);
    EXPECT_EQ(readFile(joinPath(dir, "missing")), std::nullopt);
    ASSERT_TRUE(writeFileAtomically(joinPath(deep, "f"), "x"));
    ASSERT_EQ(::symlink("/", joinPath(dir, "one/root-link").c_str()), 0);
    EXPECT_TRUE(removeTree(joinPath(dir, "one")));
    EXPECT_FALSE(directoryExists(joinPath(dir, "one")));
    EXPECT_TRUE(directoryExists("/usr")) << "a link was followed";
    EXPECT_TRUE(removeTree(joinPath(dir, "never-there")));

    std::string log = joinPath(dir, "agent.log");
    EXPECT_TRUE(appendToFile(log, "first\n"));
    EXPECT_TRUE(appendToFile(log, "second\n"));
    EXPECT_EQ(readFile(log), "first\nsecond\n");
    EXPECT_FALSE(appendToFile(joinPath(dir, "no-such-folder/x.log"), "lost"));
}
