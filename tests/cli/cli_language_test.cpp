#include "cli/cli_language.h"

#include <map>

#include <gtest/gtest.h>

namespace palvex::cli {
namespace {

TEST(CliLanguage, TheOptionIsTakenOutWhereverItStands) {
    std::vector<std::string> args = {"--lang", "en", "info", "a.png"};
    std::string language;
    std::string error;
    ASSERT_TRUE(TakeLanguageOption(args, language, error));
    EXPECT_EQ(language, "en");
    EXPECT_EQ(args, (std::vector<std::string>{"info", "a.png"}));

    args = {"save", "--format", "png", "--lang=ja", "-o", "out", "a.png"};
    ASSERT_TRUE(TakeLanguageOption(args, language, error));
    EXPECT_EQ(language, "ja");
    EXPECT_EQ(args, (std::vector<std::string>{"save", "--format", "png", "-o", "out", "a.png"}));

    // No option: the arguments stay and no language is named.
    args = {"info", "a.png"};
    language.clear();
    ASSERT_TRUE(TakeLanguageOption(args, language, error));
    EXPECT_EQ(language, "");
    EXPECT_EQ(args.size(), 2u);

    for (std::vector<std::string> bad : {std::vector<std::string>{"info", "a.png", "--lang"},
                                         std::vector<std::string>{"--lang=", "info", "a.png"}}) {
        error.clear();
        EXPECT_FALSE(TakeLanguageOption(bad, language, error));
        EXPECT_NE(error.find("--lang"), std::string::npos);
    }
}

TEST(CliLanguage, TheEnvironmentNamesTheLanguageInGettextsOrder) {
    const auto from = [](std::map<std::string, std::string> environment) {
        return EnvironmentLanguage([&](const char* name) -> const char* {
            const auto found = environment.find(name);
            return found == environment.end() ? nullptr : found->second.c_str();
        });
    };
    EXPECT_EQ(from({{"LANGUAGE", "ja_JP:en"}, {"LANG", "C.UTF-8"}}), "ja_JP");
    EXPECT_EQ(from({{"LANGUAGE", ""}, {"LC_ALL", "de_DE.UTF-8"}, {"LANG", "ja_JP.UTF-8"}}),
              "de_DE.UTF-8");
    EXPECT_EQ(from({{"LANGUAGE", ":fr"}, {"LC_MESSAGES", "en_GB"}, {"LANG", "ja_JP"}}), "en_GB");
    EXPECT_EQ(from({{"LC_ALL", ""}, {"LANG", "ja_JP.UTF-8"}}), "ja_JP.UTF-8");
#ifndef _WIN32
    EXPECT_EQ(from({}), "");
#endif
}

}  // namespace
}  // namespace palvex::cli
