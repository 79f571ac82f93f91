#include "dialogs/help_texts.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace palvex {
namespace {

TEST(HelpTexts, TheManualLiesBesideTheExecutableOrInAnInstalledShareFolder) {
    EXPECT_EQ(ManualPath("/opt/tools/app"), std::filesystem::path("/opt/tools/Manual.pdf"));
    EXPECT_EQ(ManualPath("palvex"), std::filesystem::path("Manual.pdf"));

    const test::TempDir temp;
    const auto prefix = temp.Path() / "usr";
    std::filesystem::create_directories(prefix / "bin");
    std::filesystem::create_directories(prefix / "share" / "palvex");
    const auto executable = prefix / "bin" / "palvex";
    EXPECT_EQ(ManualPath(executable), prefix / "bin" / "Manual.pdf");  // neither: beside
    test::WriteFileBytes(prefix / "share" / "palvex" / "Manual.pdf", {'%', 'P'});
    EXPECT_EQ(ManualPath(executable), prefix / "share" / "palvex" / "Manual.pdf");
    test::WriteFileBytes(prefix / "bin" / "Manual.pdf", {'%', 'P'});
    EXPECT_EQ(ManualPath(executable), prefix / "bin" / "Manual.pdf");  // beside comes first
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
