// The manuals this build made: for every docs/manual*.md a PDF where the help window looks for
// it, readable, with the text of every heading of its Markdown.

#include <QPdfDocument>
#include <QPdfSelection>
#include <QString>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dialogs/help_texts.h"

namespace palvex {
namespace {

struct Manual {
    std::filesystem::path source;
    std::string language;  // as the help window asks for it
};

std::vector<Manual> Manuals() {
    std::vector<Manual> manuals;
    const std::regex name("manual(?:_([A-Za-z0-9-]+))?\\.md");
    for (const auto& entry : std::filesystem::directory_iterator(PALVEX_DOCS_DIR)) {
        std::smatch match;
        const std::string file = entry.path().filename().string();
        if (std::regex_match(file, match, name)) {
            manuals.push_back({entry.path(), match[1].matched ? match[1].str() : "ja"});
        }
    }
    return manuals;
}

std::vector<std::string> Headings(const std::filesystem::path& markdown) {
    std::ifstream in(markdown);
    std::vector<std::string> headings;
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with('#')) {
            headings.push_back(line.substr(line.find_first_not_of("# ")));
        }
    }
    return headings;
}

// Line breaks and the spacing of the layout are not the text's; nor are the compatibility forms
// a PDF's text map may give for a glyph (a CJK font draws the radical and the ideograph alike).
QString WithoutSpaces(const QString& text) {
    QString squeezed;
    for (const QChar c : text.normalized(QString::NormalizationForm_KC)) {
        if (!c.isSpace()) {
            squeezed += c;
        }
    }
    return squeezed;
}

// Japanese left in a translation: kana in any, and ideographs or full-width forms in a language
// that is not written with them.
bool HasJapanese(const QString& text, const std::string& language) {
    const bool ideographic = language.starts_with("zh") || language.starts_with("ko");
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool kana = u >= 0x3040 && u <= 0x30FF;
        const bool cjk = (u >= 0x2E80 && u <= 0x9FFF) || (u >= 0xFF00 && u <= 0xFFEF);
        if (kana || (cjk && !ideographic)) {
            return true;
        }
    }
    return false;
}

TEST(ManualPdfs, EveryManualIsBuiltReadableAndComplete) {
    const std::vector<Manual> manuals = Manuals();
    std::vector<std::string> languages;
    for (const Manual& manual : manuals) {
        languages.push_back(manual.language);
    }
    EXPECT_NE(std::ranges::find(languages, "ja"), languages.end());
    EXPECT_NE(std::ranges::find(languages, "en"), languages.end());

    for (const Manual& manual : manuals) {
        SCOPED_TRACE(manual.source.filename().string());
        // Where the help window of that language looks, beside the editor in the build tree.
        const std::filesystem::path pdf =
            ManualPath(std::filesystem::path(PALVEX_MANUAL_DIR) / "palvex", manual.language);
        ASSERT_TRUE(std::filesystem::is_regular_file(pdf)) << pdf;
        QPdfDocument document;
        ASSERT_EQ(document.load(QString::fromStdString(pdf.string())), QPdfDocument::Error::None);
        EXPECT_GE(document.pageCount(), 2);
        QString text;
        for (int page = 0; page < document.pageCount(); ++page) {
            text += document.getAllText(page).text();
        }
        const QString squeezed = WithoutSpaces(text);
        const std::vector<std::string> headings = Headings(manual.source);
        EXPECT_GE(headings.size(), 10u);
        for (const std::string& heading : headings) {
            EXPECT_TRUE(squeezed.contains(WithoutSpaces(QString::fromStdString(heading))))
                << heading;
        }
        // A translation shows no Japanese label left untranslated.
        if (manual.language != "ja") {
            EXPECT_FALSE(HasJapanese(text, manual.language));
        }
    }
}

}  // namespace
}  // namespace palvex
