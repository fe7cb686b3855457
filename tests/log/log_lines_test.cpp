#include "log/log_lines.h"

#include <gtest/gtest.h>

#include <random>

namespace vantrel {
namespace {

// The plain reading of a file: split on LF, one CR before it dropped, no line after a final LF.
std::vector<std::string> ReferenceSplit(const std::string& bytes) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
            line.clear();
        } else {
            line += bytes[i];
        }
    }
    if (!line.empty()) {
        if (line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

TEST(LogLines, ReadsEveryMixOfLineEndsLikeThePlainSplit) {
    std::mt19937 random(7);
    const char alphabet[] = {'a', ',', '\r', '\n', 'b'};
    for (int round = 0; round < 3000; ++round) {
        std::string bytes;
        const int length = static_cast<int>(random() % 90);
        for (int i = 0; i < length; ++i) bytes += alphabet[random() % 5];
        if (round % 3 == 0) bytes += "\r\n";
        const LogLines lines = LogLines::FromBytes(bytes);
        const auto expected = ReferenceSplit(bytes);
        ASSERT_EQ(lines.size(), expected.size()) << bytes;
        for (std::size_t i = 0; i < expected.size(); ++i) ASSERT_EQ(lines[i], expected[i]) << bytes;
        // Written back in file form and read again: the same lines.
        ASSERT_EQ(LogLines::FromBytes(lines.Bytes()), lines);
        ASSERT_EQ(LogLines::FromBytes(lines.FileForm()), lines);
        // Empty lines removed: the others in order, whatever line ends the text had.
        LogLines kept = lines;
        std::vector<std::string> expectedKept;
        for (const auto& line : expected)
            if (!line.empty()) expectedKept.push_back(line);
        ASSERT_EQ(kept.RemoveEmpty(), expectedKept.size() != expected.size()) << bytes;
        ASSERT_EQ(kept, LogLines(expectedKept)) << bytes;
    }
}

TEST(LogLines, EditsKeepTheFileFormInStep) {
    LogLines lines = {"one", "", "three"};
    EXPECT_EQ(lines.Bytes(), "one\r\n\r\nthree\r\n");
    EXPECT_EQ(lines.BytesFrom(2), "three\r\n");
    EXPECT_EQ(lines.BytesFrom(3), "");
    lines.Set(0, "first line");
    lines.Set(2, "3");
    EXPECT_EQ(lines.Bytes(), "first line\r\n\r\n3\r\n");
    EXPECT_EQ(lines[2], "3");
    lines.Set(1, lines[0]);  // a text from the list itself
    EXPECT_EQ(lines[1], "first line");
    lines.Set(1, "");
    EXPECT_TRUE(lines.RemoveEmpty());
    EXPECT_FALSE(lines.RemoveEmpty());
    EXPECT_EQ(lines, (LogLines{"first line", "3"}));
    EXPECT_EQ(lines.back(), "3");
    std::vector<std::string> copied(lines.begin(), lines.end());
    EXPECT_EQ(copied, (std::vector<std::string>{"first line", "3"}));
}

}  // namespace
}  // namespace vantrel
