#include "base/file_io.h"

#include <gtest/gtest.h>

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

    std::filesystem::remove(journal);
    EXPECT_EQ(RefreshAppendOnlyCopy(journal, copy), CopyRefresh::Failed);
    EXPECT_EQ(test::ReadFile(copy), "short\n");
}

TEST(FileIo, FindsFilesWithoutRegardToLetterCase) {
    test::TempFolder folder;
    test::WriteFile(folder / "ALL.TXT", "x");
    EXPECT_EQ(FindFileNoCase(folder.path(), "all.txt"), folder / "ALL.TXT");
    EXPECT_EQ(FindFileNoCase(folder.path(), "ALL.TXT"), folder / "ALL.TXT");
    EXPECT_FALSE(FindFileNoCase(folder.path(), "wsjtx.log").has_value());
    EXPECT_FALSE(FindFileNoCase(folder / "missing", "x").has_value());
}

}  // namespace
}  // namespace vantrel
