// A fresh folder per test, removed afterwards, and small file helpers.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vantrel::test {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

void WriteFile(const std::filesystem::path& file, std::string_view bytes);
std::string ReadFile(const std::filesystem::path& file);

// The folder of real WSJT-X files beside the checkout, or empty when it is not there.
std::filesystem::path TestDataFolder();

}  // namespace vantrel::test

// Skips the test when the real files beside the checkout are absent.
#define VANTREL_REQUIRE_TESTDATA()                                                          \
    do {                                                                                    \
        if (::vantrel::test::TestDataFolder().empty())                                      \
            GTEST_SKIP() << "real WSJT-X files not found at " VANTREL_TESTDATA              \
                            " (the shared test data lies beside the checkout)";             \
    } while (0)
