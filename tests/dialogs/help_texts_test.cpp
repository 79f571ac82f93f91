#include "dialogs/help_texts.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace palvex {
namespace {

// A scratch install: <prefix>/bin/palvex and <prefix>/share/palvex.
struct Prefix {
    test::TempDir temp;
    std::filesystem::path bin = temp.Path() / "usr" / "bin";
    std::filesystem::path share = temp.Path() / "usr" / "share" / "palvex";
    std::filesystem::path executable = bin / "palvex";

    Prefix() {
        std::filesystem::create_directories(bin);
        std::filesystem::create_directories(share);
    }
    static void Put(const std::filesystem::path& path) { test::WriteFileBytes(path, {'%', 'P'}); }
};

TEST(HelpTexts, TheManualLiesBesideTheExecutableOrInAnInstalledShareFolder) {
    EXPECT_EQ(ManualPath("/opt/tools/app", "ja"), std::filesystem::path("/opt/tools/Manual.pdf"));
    EXPECT_EQ(ManualPath("palvex", "ja"), std::filesystem::path("Manual.pdf"));

    const Prefix prefix;
    EXPECT_EQ(ManualPath(prefix.executable, "ja"), prefix.bin / "Manual.pdf");  // neither: beside
    Prefix::Put(prefix.share / "Manual.pdf");
    EXPECT_EQ(ManualPath(prefix.executable, "ja"), prefix.share / "Manual.pdf");
    Prefix::Put(prefix.bin / "Manual.pdf");
    EXPECT_EQ(ManualPath(prefix.executable, "ja"), prefix.bin / "Manual.pdf");  // beside first
}

TEST(HelpTexts, EachLanguageGetsItsOwnManualElseTheEnglishOne) {
    const Prefix prefix;
    // Nothing installed: the language's own manual beside the executable, reported missing.
    EXPECT_EQ(ManualPath(prefix.executable, "en"), prefix.bin / "Manual_en.pdf");
    EXPECT_EQ(ManualPath(prefix.executable, "de"), prefix.bin / "Manual_de.pdf");

    // The Japanese manual is never shown for another language, nor the English one for Japanese.
    Prefix::Put(prefix.share / "Manual.pdf");
    EXPECT_EQ(ManualPath(prefix.executable, "en"), prefix.bin / "Manual_en.pdf");
    Prefix::Put(prefix.share / "Manual_en.pdf");
    for (const char* japanese : {"ja", "ja_JP", "ja-JP", "JA"}) {
        EXPECT_EQ(ManualPath(prefix.executable, japanese), prefix.share / "Manual.pdf") << japanese;
    }
    for (const char* other : {"en", "en_GB", "de", "pt_BR", ""}) {
        EXPECT_EQ(ManualPath(prefix.executable, other), prefix.share / "Manual_en.pdf") << other;
    }

    // A translation added beside the editor, found by its full code or its primary subtag; the
    // language's own manual in share/palvex comes before an English one beside the executable.
    Prefix::Put(prefix.bin / "Manual_pt_BR.pdf");
    Prefix::Put(prefix.share / "Manual_de.pdf");
    Prefix::Put(prefix.bin / "Manual_en.pdf");
    EXPECT_EQ(ManualPath(prefix.executable, "pt_BR"), prefix.bin / "Manual_pt_BR.pdf");
    EXPECT_EQ(ManualPath(prefix.executable, "de"), prefix.share / "Manual_de.pdf");
    EXPECT_EQ(ManualPath(prefix.executable, "de_AT"), prefix.share / "Manual_de.pdf");
    EXPECT_EQ(ManualPath(prefix.executable, "en"), prefix.bin / "Manual_en.pdf");
    EXPECT_EQ(ManualPath(prefix.executable, "fr"), prefix.bin / "Manual_en.pdf");
}

TEST(HelpTexts, ALanguageCodeNeverLeadsOutOfTheManualsFolder) {
    const Prefix prefix;
    Prefix::Put(prefix.share / "Manual_en.pdf");
    // Files the odd codes below would reach if they were pasted into the name.
    std::filesystem::create_directories(prefix.bin / "Manual_..");
    Prefix::Put(prefix.bin / "Manual_.." / "x.pdf");
    Prefix::Put(prefix.bin / "x.pdf");
    for (const char* odd : {"../x", "../../x", "en/../../x", ".", "d e", "de.pdf"}) {
        EXPECT_EQ(ManualPath(prefix.executable, odd), prefix.share / "Manual_en.pdf") << odd;
    }
    // A folder with a manual's name is not a manual.
    std::filesystem::create_directories(prefix.bin / "Manual_de.pdf");
    EXPECT_EQ(ManualPath(prefix.executable, "de"), prefix.share / "Manual_en.pdf");
}

TEST(HelpTexts, VersionHistoryNewestFirstEachLineEnded) {
    const std::string text = VersionHistoryText();
    EXPECT_TRUE(text.starts_with("Ver. 1.05 2022.11.07 アニメポインターの速度調整機能追加\r\n"));
    EXPECT_TRUE(text.ends_with("Ver. 1.00 2012.06.18 新規作成\r\n"));
    std::size_t lines = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos;
         at = text.find("\r\n", at + 2)) {
        ++lines;
    }
    EXPECT_EQ(lines, 6u);
    EXPECT_LT(text.find("Ver. 1.04"), text.find("Ver. 1.03"));
}

}  // namespace
}  // namespace palvex
