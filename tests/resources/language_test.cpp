#include "resources/language.h"

#include <map>
#include <string>

#include <gtest/gtest.h>

#include "resources/command_ids.h"
#include "resources/command_table.h"
#include "resources/string_table.h"
#include "resources/texts.h"

namespace palvex {
namespace {

class MapTranslator final : public TextTranslator {
public:
    explicit MapTranslator(std::map<std::string, std::string> texts) : texts_(std::move(texts)) {}
    bool Translate(std::string_view context, std::string_view source,
                   std::string& translation) const override {
        const auto found = texts_.find(std::string(context) + "|" + std::string(source));
        if (found == texts_.end()) {
            return false;
        }
        translation = found->second;
        return true;
    }

private:
    std::map<std::string, std::string> texts_;
};

class Language : public ::testing::Test {
protected:
    void TearDown() override { InstallTextTranslator(nullptr, {}); }
};

TEST_F(Language, TextsReadInTheInstalledLanguageAndFallBackToTheSource) {
    EXPECT_EQ(TextLanguage(), "ja");
    InstallTextTranslator(
        std::make_unique<MapTranslator>(std::map<std::string, std::string>{
            {"Messages|メモリの確保に失敗しました", "Could not allocate memory."},
            {"Commands|開く(&O)", "&Open"},
            {"Commands|既存のファイルを開きます\n開く", "Opens an existing file\nOpen"},
            {"Texts|ファイルを指定", "Choose a File"},
        }),
        "en");
    EXPECT_EQ(TextLanguage(), "en");
    EXPECT_EQ(LoadString(str::kMemoryAllocationFailed), "Could not allocate memory.");
    EXPECT_EQ(MessageText(str::kMemoryAllocationFailed, "x\n"), "x\nCould not allocate memory.");
    const CommandInfo& open = *FindCommand(cmd::ID_FILE_OPEN);
    EXPECT_EQ(std::string_view(open.label), "&Open");
    EXPECT_EQ(open.label.source, "開く(&O)");
    EXPECT_EQ(PromptDescription(open), "Opens an existing file");
    EXPECT_EQ(PromptTitle(open), "Open");
    EXPECT_EQ(std::string_view(texts::kOpenDialogTitle), "Choose a File");
    // No translation: the Japanese stays; no context: never translated.
    EXPECT_EQ(LoadString(str::kFileNotFound), "ファイルが見つかりません");
    EXPECT_EQ(Translate("", "開く(&O)"), "開く(&O)");

    InstallTextTranslator(nullptr, "en");
    EXPECT_EQ(TextLanguage(), "ja");
    EXPECT_EQ(std::string_view(open.label), "開く(&O)");
}

TEST_F(Language, TranslationsLookedUpBeforeAChangeStayReadable) {
    InstallTextTranslator(std::make_unique<MapTranslator>(
                              std::map<std::string, std::string>{{"Commands|開く(&O)", "&Open"}}),
                          "en");
    const std::string_view before = FindCommand(cmd::ID_FILE_OPEN)->label;
    InstallTextTranslator(std::make_unique<MapTranslator>(
                              std::map<std::string, std::string>{{"Commands|開く(&O)", "&Ouvrir"}}),
                          "fr");
    EXPECT_EQ(std::string_view(FindCommand(cmd::ID_FILE_OPEN)->label), "&Ouvrir");
    EXPECT_EQ(before, "&Open");
}

TEST(CommandTableTexts, PopupSubmenusAreNamedInTheUiLanguageAndFoundByTheirKey) {
    for (const CommandInfo& row : CommandTable()) {
        if (row.panel.source.starts_with("PASTE/")) {
            EXPECT_FALSE(PopupSubmenuLabel(row).empty()) << row.name;
            EXPECT_EQ(row.panel.source.substr(6), PopupSubmenuLabel(row)) << row.name;
        }
    }
}

}  // namespace
}  // namespace palvex
