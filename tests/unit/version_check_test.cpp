#include <string>

#include <gtest/gtest.h>

#include "settings/version_check.h"

namespace {

VersionCheckOutcome Check(const std::string& text) {
    return CompareUpdateInfo(text.data(), text.size(), "1.45");
}

std::string Published(const std::string& text) {
    char out[32] = "unchanged";
    if (!PublishedVersion(text.data(), text.size(), out, sizeof out)) return "<none>";
    return out;
}

// Part by part as numbers: a release numbered past 99 is still newer.
TEST(VersionCheckTest, VersionsComparePartByPartAsNumbers) {
    EXPECT_EQ(kNewerVersionAvailable, Check("dictionary=1.46"));
    EXPECT_EQ(kNewerVersionAvailable, Check("dictionary=1.100"));
    EXPECT_EQ(kNewerVersionAvailable, Check("dictionary=2"));
    EXPECT_EQ(kNewerVersionAvailable, Check("dictionary=1.45.1"));
    EXPECT_EQ(kNewerVersionAvailable, Check("dictionary=1.45a"));
    EXPECT_EQ(kHaveLatestVersion, Check("dictionary=1.45"));
    EXPECT_EQ(kHaveLatestVersion, Check("dictionary=1.45.0"));
    EXPECT_EQ(kHaveLatestVersion, Check("dictionary=1.5"));
    EXPECT_EQ(kHaveLatestVersion, Check("dictionary=1.44"));
    EXPECT_EQ(kHaveLatestVersion, Check("dictionary=01.045"));
    EXPECT_EQ(kHaveLatestVersion, CompareUpdateInfo("dictionary=1.45A", 16, "1.45a"));
    EXPECT_GT(CompareVersions("1.100000000000000000000", "1.99999999999999999999"), 0);
    EXPECT_LT(CompareVersions("", "0.1"), 0);
    EXPECT_EQ(CompareVersions("1.0", "1"), 0);
}

TEST(VersionCheckTest, MarkerIsFoundInAnyCaseAnywhereAndCutAtLineEndOrBlank) {
    EXPECT_EQ("1.46", Published("name=x\r\nDictionary=1.46\r\nother=2"));
    EXPECT_EQ("1.46", Published("DICTIONARY=1.46 beta"));
    EXPECT_EQ("1.45", Published("dictionary=1.45\nnext"));
    EXPECT_EQ("", Published("dictionary=\r\n"));
    EXPECT_EQ("1.2", Published("dictionary=1.2\ndictionary=9.9"));
    EXPECT_EQ(kNewerVersionAvailable, Check("x Dictionary=1.46\r\n"));
    EXPECT_EQ(kHaveLatestVersion, Check("dictionary=\n"));
    EXPECT_EQ(kHaveLatestVersion, Check("dictionary=1.45\n"));
}

TEST(VersionCheckTest, OnlyTheFirst500BytesAreRead) {
    EXPECT_EQ("<none>", Published(""));
    EXPECT_EQ("<none>", Published("version=2.0\n"));
    std::string late = std::string(495, ' ') + "dictionary=9.9";
    EXPECT_EQ("<none>", Published(late));
    EXPECT_EQ(kHaveLatestVersion, Check(late));
    // The version is cut at the read limit too, and an unterminated buffer
    // is never read past its length.
    std::string edge = std::string(486, ' ') + "dictionary=1.4567890";
    EXPECT_EQ("1.4", Published(edge));
    std::string bytes = "dictionary=2.0";
    EXPECT_EQ("2.", Published(std::string(bytes.data(), 13)));
}

TEST(VersionCheckTest, LongVersionIsTruncatedToTheOutputBuffer) {
    char out[4];
    ASSERT_TRUE(PublishedVersion("dictionary=123456", 17, out, sizeof out));
    EXPECT_STREQ("123", out);
}

}  // namespace
