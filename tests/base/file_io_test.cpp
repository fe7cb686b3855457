#include "base/file_io.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <thread>

#include "support/temp_folder.h"

namespace vantrel {
namespace {

TEST(FileIo, SizesAndWholeFileWrites) {
    test::TempFolder folder;
    EXPECT_EQ(FileSize(folder / "missing"), -1);
    EXPECT_EQ(FileSize(folder.path()), -1);  // a folder is not a file
    ASSERT_TRUE(WriteFileAtomic(folder / "f", "hello"));
    EXPECT_EQ(FileSize(folder / "f"), 5);
    ASSERT_TRUE(WriteFileAtomic(folder / "f", ""));
    EXPECT_EQ(FileSize(folder / "f"), 0);
    EXPECT_FALSE(std::filesystem::exists(folder / "f.part"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              1);  // no new file left beside it
    std::string error;
    EXPECT_FALSE(WriteFileAtomic(folder / "no-such-folder" / "f", "x", &error));
    EXPECT_FALSE(error.empty());
    ASSERT_TRUE(AppendFileDurable(folder / "f", "ab"));
    ASSERT_TRUE(AppendFileDurable(folder / "f", "cd"));
    EXPECT_EQ(*ReadWholeFile(folder / "f"), "abcd");
    EXPECT_FALSE(ReadWholeFile(folder / "missing").has_value());
}

TEST(FileIo, FailedCopyLeavesThePreviousCopyIntact) {
    test::TempFolder folder;
    test::WriteFile(folder / "copy", "previous");
    EXPECT_FALSE(CopyFileReplacing(folder / "missing", folder / "copy"));
    EXPECT_FALSE(CopyFileReplacing(folder.path(), folder / "copy"));  // a folder as source
    EXPECT_EQ(test::ReadFile(folder / "copy"), "previous");
    test::WriteFile(folder / "source", std::string(3'000'000, 'x'));
    int lastPercent = -1;
    ASSERT_TRUE(CopyFileReplacing(folder / "source", folder / "copy", nullptr,
                                  [&](int p) { lastPercent = p; }));
    EXPECT_EQ(FileSize(folder / "copy"), 3'000'000);
    EXPECT_EQ(lastPercent, 100);
}

TEST(FileIo, JournalCopyAppendsWhenItIsAPrefixAndCopiesWholeOtherwise) {
    test::TempFolder folder;
    const auto journal = folder / "ALL.TXT";
    const auto copy = folder / "all.txt";
    std::string text;
    for (int i = 0; i < 20000; ++i) text += "261208_120015    14.074 Rx FT8     -8  0.1 1200 CQ K1ABC FN42\n";
    test::WriteFile(journal, text);
    EXPECT_EQ(RefreshAppendOnlyCopy(journal, copy), CopyRefresh::Copied);  // no copy yet
    EXPECT_EQ(RefreshAppendOnlyCopy(journal, copy), CopyRefresh::Unchanged);

    text += "261208_120030    14.074 Rx FT8    -12  0.2  900 W9XYZ K1ABC -12\n";
    test::WriteFile(journal, text);
    EXPECT_EQ(RefreshAppendOnlyCopy(journal, copy), CopyRefresh::Appended);
    EXPECT_EQ(test::ReadFile(copy), text);

    // Erased and written anew, longer than before: the old bytes differ, so a whole copy.
    std::string fresh = text;
    fresh[fresh.size() / 2] = '#';
    fresh += "more\n";
    test::WriteFile(journal, fresh);
    EXPECT_EQ(RefreshAppendOnlyCopy(journal, copy), CopyRefresh::Copied);
    EXPECT_EQ(test::ReadFile(copy), fresh);

    // Shorter than the copy: replaced whole.
    test::WriteFile(journal, "short\n");
    EXPECT_EQ(RefreshAppendOnlyCopy(journal, copy), CopyRefresh::Copied);
    EXPECT_EQ(test::ReadFile(copy), "short\n");
    // Another file of the same size: its sampled bytes differ, so a whole copy.
    test::WriteFile(journal, "other\n");
    EXPECT_EQ(RefreshAppendOnlyCopy(journal, copy), CopyRefresh::Copied);
    EXPECT_EQ(test::ReadFile(copy), "other\n");
    test::WriteFile(journal, "");
    EXPECT_EQ(RefreshAppendOnlyCopy(journal, copy), CopyRefresh::Copied);
    EXPECT_EQ(test::ReadFile(copy), "");

    std::filesystem::remove(journal);
    EXPECT_EQ(RefreshAppendOnlyCopy(journal, copy), CopyRefresh::Failed);
    EXPECT_TRUE(std::filesystem::exists(copy));
}

TEST(FileIo, FindsFilesWithoutRegardToLetterCase) {
    test::TempFolder folder;
    test::WriteFile(folder / "ALL.TXT", "x");
    EXPECT_EQ(FindFileNoCase(folder.path(), "all.txt"), folder / "ALL.TXT");
    EXPECT_EQ(FindFileNoCase(folder.path(), "ALL.TXT"), folder / "ALL.TXT");
    EXPECT_FALSE(FindFileNoCase(folder.path(), "wsjtx.log").has_value());
    EXPECT_FALSE(FindFileNoCase(folder / "missing", "x").has_value());
}

TEST(FileIo, ReplacedFilesKeepTheirPermissionsAndLeftoverWritesAreRemoved) {
    test::TempFolder folder;
    test::WriteFile(folder / "settings.ini", "old");
    ::chmod((folder / "settings.ini").c_str(), 0600);
    ASSERT_TRUE(WriteFileAtomic(folder / "settings.ini", "new"));
    struct stat st {};
    ASSERT_EQ(::stat((folder / "settings.ini").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_TRUE(WriteFileAtomic(folder / "other", "x", nullptr, 0640));
    ASSERT_EQ(::stat((folder / "other").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);

    // New files of a killed writer go; those of a running one (this process) stay.
    const auto dead = folder / ".all.txt.new-4194305-0";
    const auto running = folder / (".all.txt.new-" + std::to_string(::getpid()) + "-3");
    test::WriteFile(dead, "x");
    test::WriteFile(running, "x");
    test::WriteFile(folder / ".hidden.new-file", "x");
    RemoveLeftoverWritesIn(folder.path());
    EXPECT_FALSE(std::filesystem::exists(dead));
    EXPECT_TRUE(std::filesystem::exists(running));
    EXPECT_TRUE(std::filesystem::exists(folder / ".hidden.new-file"));
}

// Sets a limit on the size of the files this process writes for the scope.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit saved_{};
    void (*oldHandler_)(int) = nullptr;
};

TEST(FileIo, AFailedAppendIsCutBackOffAndNamesItsReason) {
    test::TempFolder folder;
    const auto file = folder / "Viewer_local_log.csv";
    test::WriteFile(file, "first line\r\n");
    std::string error;
    {
        // The write stops part-way at the limit.
        FileSizeLimit limit(20);
        EXPECT_FALSE(AppendFileDurable(file, "a line too long for the limit\r\n", &error));
    }
    EXPECT_NE(error.find("File too large"), std::string::npos) << error;
    EXPECT_EQ(test::ReadFile(file), "first line\r\n");
    ASSERT_TRUE(AppendFileDurable(file, "second\r\n"));
    EXPECT_EQ(test::ReadFile(file), "first line\r\nsecond\r\n");

    // A device that is always full reports the operator's words for it.
    if (std::filesystem::exists("/dev/full")) {
        EXPECT_FALSE(AppendFileDurable("/dev/full", "x\r\n", &error));
        EXPECT_NE(error.find("disk full"), std::string::npos) << error;
    }
}

TEST(FileIo, TheUpdateLockExcludesAndFollowsAFileReplacedWhileWaiting) {
    test::TempFolder folder;
    const auto file = folder / "log.csv";
    EXPECT_FALSE(LockFileForUpdate(file).valid());  // no file yet
    test::WriteFile(file, "old");
    UniqueFd held = LockFileForUpdate(file);
    ASSERT_TRUE(held.valid());

    std::atomic<bool> granted{false};
    ino_t grantedInode = 0;
    std::thread waiter([&] {
        const UniqueFd lock = LockFileForUpdate(file);
        struct stat st {};
        if (lock && ::fstat(lock.get(), &st) == 0) grantedInode = st.st_ino;
        granted = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(granted);
    ASSERT_TRUE(WriteFileAtomic(file, "new"));  // replaced while the other waits
    held.Reset();
    waiter.join();
    EXPECT_TRUE(granted);
    struct stat now {};
    ASSERT_EQ(::stat(file.c_str(), &now), 0);
    EXPECT_EQ(grantedInode, now.st_ino);

    // A holder that never lets go delays a writer only so long.
    held = LockFileForUpdate(file);
    ASSERT_TRUE(held.valid());
    EXPECT_FALSE(LockFileForUpdate(file, std::chrono::milliseconds(50)).valid());
}

}  // namespace
}  // namespace vantrel
