// Every vectorised scan against its plain loop, on each vector path this build and processor
// have (AVX2 and SSE2 on x86-64; the plain loops alone in a scalar build), over random bytes
// rich in the bytes the scans look for, at every length and alignment near the vector widths.
#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <string>
#include <vector>

#include "base/byte_scan.h"
#include "base/simd.h"
#include "geo/text_find.h"
#include "journal/journal_line.h"

namespace vantrel {
namespace {

std::string RandomBytes(std::mt19937& random, std::size_t size) {
    static const char kAlphabet[] = "\n\r  AB";
    std::string bytes(size, '\0');
    for (char& byte : bytes) byte = kAlphabet[random() % (sizeof kAlphabet - 1)];
    return bytes;
}

LineEnds PlainLineEnds(std::string_view b) {
    LineEnds e;
    for (std::size_t i = 0; i < b.size(); ++i) {
        e.cr += b[i] == '\r';
        if (b[i] != '\n') continue;
        ++e.lf;
        const bool crBefore = i > 0 && b[i - 1] == '\r';
        e.bareLf += !crBefore;
        e.emptyLf += i == 0 || b[i - 1] == '\n';
        e.emptyCrLf += crBefore && (i == 1 || (i >= 2 && b[i - 2] == '\n'));
    }
    return e;
}

class VectorPaths : public ::testing::TestWithParam<VectorLevel> {
protected:
    void SetUp() override { LimitVectorLevel(GetParam()); }
    void TearDown() override { LimitVectorLevel(VectorLevel::Avx2); }
};

TEST_P(VectorPaths, ScansEqualTheirPlainLoops) {
    std::mt19937 random(7);
    for (std::size_t size = 0; size < 300; ++size) {
        for (std::size_t offset : {0u, 1u, 3u}) {
            const std::string storage = RandomBytes(random, size + offset);
            const std::string_view bytes = std::string_view(storage).substr(offset);
            std::size_t lineFeeds = 0;
            for (char c : bytes) lineFeeds += c == '\n';
            ASSERT_EQ(CountByte(bytes, '\n'), lineFeeds) << size;
            const LineEnds got = ScanLineEnds(bytes), want = PlainLineEnds(bytes);
            ASSERT_EQ(got.lf, want.lf);
            ASSERT_EQ(got.cr, want.cr);
            ASSERT_EQ(got.bareLf, want.bareLf) << size;
            ASSERT_EQ(got.emptyLf, want.emptyLf) << size;
            ASSERT_EQ(got.emptyCrLf, want.emptyCrLf) << size;
            for (const char* needle : {"A", "AB", "B\nA", " AB  "})
                for (std::size_t from : {0u, 5u})
                    ASSERT_EQ(FindText(bytes, needle, from), bytes.find(needle, from)) << size << needle;
        }
    }
    // The letter-case-blind search, on bytes with letters in both cases.
    for (std::size_t size = 0; size < 200; ++size) {
        std::string bytes(size, ' ');
        for (char& c : bytes) c = "aAbB1 \n"[random() % 7];
        for (const char* needle : {"a", "Ab", "B1a", "ab a", "1 ", "A\nB"}) {
            const std::string_view n(needle);
            std::size_t plain = std::string_view::npos;
            for (std::size_t i = 0; i + n.size() <= bytes.size() && plain == std::string_view::npos; ++i) {
                bool same = true;
                for (std::size_t k = 0; k < n.size(); ++k)
                    same = same && std::toupper(static_cast<unsigned char>(bytes[i + k])) ==
                                       std::toupper(static_cast<unsigned char>(n[k]));
                if (same) plain = i;
            }
            ASSERT_EQ(FindTextNoCase(bytes, n), plain) << size << needle;
        }
    }
    // A count large enough for the lane counters to be summed many times over.
    const std::string big(100000, '\n');
    EXPECT_EQ(CountByte(big, '\n'), big.size());
}

TEST_P(VectorPaths, BlankMaskAndWordCutEqualThePlainRule) {
    std::mt19937 random(11);
    for (int round = 0; round < 2000; ++round) {
        std::string line = RandomBytes(random, 64 + random() % 100);
        for (char& c : line) c = c == '\n' || c == '\r' ? 'x' : c;
        std::uint64_t mask = 0;
        for (int i = 0; i < 64; ++i) mask |= static_cast<std::uint64_t>(line[i] == ' ') << i;
        ASSERT_EQ(BlankMask64(line.data()), mask);
        std::vector<std::string_view> plain;
        for (std::size_t at = 0; at < line.size();) {
            at = line.find_first_not_of(' ', at);
            if (at == std::string::npos) break;
            const std::size_t end = std::min(line.find(' ', at), line.size());
            plain.emplace_back(line.data() + at, end - at);
            at = end;
        }
        std::string_view words[40];
        const std::size_t count = CutJournalWords(line, words, 40);
        ASSERT_EQ(count, std::min<std::size_t>(plain.size(), 40));
        for (std::size_t i = 0; i < count; ++i) ASSERT_EQ(words[i], plain[i]);
    }
}

// The paths this build and processor have: the plain loops alone in a scalar build.
std::vector<VectorLevel> PathsHere() {
    switch (BestVectorLevel()) {
        case VectorLevel::Scalar: return {VectorLevel::Scalar};
        case VectorLevel::Sse2: return {VectorLevel::Sse2};
        case VectorLevel::Avx2: return {VectorLevel::Sse2, VectorLevel::Avx2};
    }
    return {};
}

INSTANTIATE_TEST_SUITE_P(EachPath, VectorPaths, ::testing::ValuesIn(PathsHere()),
                         [](const auto& info) {
                             return std::string(info.param == VectorLevel::Scalar ? "Plain"
                                                : info.param == VectorLevel::Sse2 ? "Sse2"
                                                                                  : "Avx2");
                         });

}  // namespace
}  // namespace vantrel
