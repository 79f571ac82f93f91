// The translation catalogues against the sources: every text marked for translation has a
// finished translation in every catalogue, no catalogue keeps texts the sources dropped, and
// what a translation must keep of its source (placeholders, lines, access keys) is kept.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "resources/catalogue.h"
#include "resources/command_ids.h"
#include "resources/command_table.h"
#include "resources/language.h"
#include "resources/string_table.h"
#include "resources/texts.h"
#include "resources/ts_catalogue.h"

namespace palvex {
namespace {

namespace fs = std::filesystem;

const fs::path kSources = PALVEX_SOURCE_DIR "/src";

std::string ReadText(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Hiragana, katakana, the CJK ideographs and the full-width forms, as UTF-8.
bool HasJapanese(std::string_view text) {
    for (std::size_t i = 0; i + 2 < text.size(); ++i) {
        const auto b0 = static_cast<unsigned char>(text[i]);
        const auto b1 = static_cast<unsigned char>(text[i + 1]);
        if (b0 == 0xE3 && b1 >= 0x80 && b1 <= 0x83) {  // U+3000..U+30FF
            return true;
        }
        if (b0 >= 0xE4 && b0 <= 0xE9) {  // U+4E00..U+9FFF
            return true;
        }
        if (b0 == 0xEF && b1 >= 0xBC && b1 <= 0xBF) {  // U+FF00..U+FFFF
            return true;
        }
    }
    return false;
}

// A C++ source with its comments blanked out and its string literals read, so a call can be
// recognised by the tokens around it.
struct Literal {
    std::size_t begin;  // of the opening quote in the blanked text
    std::size_t end;    // past the closing quote
    std::string value;
};
struct ScannedSource {
    std::string code;  // comments and literal contents blanked
    std::vector<Literal> literals;
};

ScannedSource Scan(const std::string& text) {
    ScannedSource scanned{text, {}};
    std::string& code = scanned.code;
    std::size_t i = 0;
    while (i < code.size()) {
        if (code.compare(i, 2, "//") == 0) {
            for (; i < code.size() && code[i] != '\n'; ++i) {
                code[i] = ' ';
            }
        } else if (code.compare(i, 2, "/*") == 0) {
            const std::size_t end = std::min(code.find("*/", i + 2), code.size() - 2) + 2;
            for (; i < end; ++i) {
                code[i] = code[i] == '\n' ? '\n' : ' ';
            }
        } else if (code[i] == '\'') {
            for (++i; i < code.size() && code[i] != '\''; ++i) {
                i += code[i] == '\\' ? 1 : 0;
            }
            ++i;
        } else if (code[i] == '"') {
            Literal literal{i, 0, {}};
            for (++i; i < code.size() && code[i] != '"'; ++i) {
                char c = code[i];
                if (c == '\\' && i + 1 < code.size()) {
                    c = code[++i];
                    c = c == 'n' ? '\n' : c == 't' ? '\t' : c == 'r' ? '\r' : c;
                }
                literal.value += c;
                code[i] = ' ';
            }
            literal.end = ++i;
            scanned.literals.push_back(std::move(literal));
        } else {
            ++i;
        }
    }
    return scanned;
}

struct MarkedText {
    std::string context;
    std::string source;
    std::string where;
};

// Every PALVEX_TEXT(context, source) of the sources, with adjacent literals joined as the
// compiler joins them; `unmarked` gets every Japanese literal outside such a call.
std::vector<MarkedText> MarkedTexts(std::vector<std::string>& unmarked) {
    std::vector<MarkedText> marked;
    for (const auto& entry : fs::recursive_directory_iterator(kSources)) {
        const std::string extension = entry.path().extension().string();
        if (extension != ".cpp" && extension != ".h") {
            continue;
        }
        const ScannedSource scanned = Scan(ReadText(entry.path()));
        const std::string name = fs::relative(entry.path(), kSources).string();
        std::set<std::size_t> inCalls;
        const std::string& code = scanned.code;
        for (std::size_t at = code.find("PALVEX_TEXT("); at != std::string::npos;
             at = code.find("PALVEX_TEXT(", at + 1)) {
            auto next = std::ranges::find_if(scanned.literals,
                                             [&](const Literal& l) { return l.begin > at; });
            const auto only = [&](std::size_t from, std::size_t to, std::string_view allowed) {
                return std::all_of(code.begin() + static_cast<std::ptrdiff_t>(from),
                                   code.begin() + static_cast<std::ptrdiff_t>(to), [&](char c) {
                                       return std::isspace(static_cast<unsigned char>(c)) ||
                                              allowed.find(c) != std::string_view::npos;
                                   });
            };
            // The macro's own definition has names, not literals, for its arguments.
            if (next == scanned.literals.end() || !only(at + 12, next->begin, "")) {
                continue;
            }
            MarkedText text{next->value, {}, name};
            inCalls.insert(next->begin);
            auto previous = next++;
            if (next == scanned.literals.end() || !only(previous->end, next->begin, ",")) {
                ADD_FAILURE() << name << ": PALVEX_TEXT without a literal source";
                continue;
            }
            for (bool first = true;
                 next != scanned.literals.end() && (first || only(previous->end, next->begin, ""));
                 previous = next++, first = false) {
                text.source += next->value;
                inCalls.insert(next->begin);
            }
            marked.push_back(std::move(text));
        }
        for (const Literal& literal : scanned.literals) {
            if (!inCalls.contains(literal.begin) && HasJapanese(literal.value)) {
                unmarked.push_back(name + ": \"" + literal.value + "\"");
            }
        }
    }
    return marked;
}

std::vector<fs::path> CatalogueFiles() {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(kSources / "resources/translations")) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("palvex_") && name.ends_with(".ts")) {
            files.push_back(entry.path());
        }
    }
    std::ranges::sort(files);
    return files;
}

// "%1", "%d", "%s": what a text's user fills in.
std::multiset<std::string> Placeholders(const std::string& text) {
    static const std::regex placeholder("%[0-9]|%[dsuxc]");
    std::multiset<std::string> found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), placeholder);
         it != std::sregex_iterator(); ++it) {
        found.insert(it->str());
    }
    return found;
}

bool HasAccessKey(const std::string& text) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '&') {
            if (text[i + 1] != '&') {
                return true;
            }
            ++i;
        }
    }
    return false;
}

TEST(Translations, EveryMarkedTextHasAFinishedTranslationAndNoCatalogueKeepsDroppedOnes) {
    std::vector<std::string> unmarked;
    const std::vector<MarkedText> marked = MarkedTexts(unmarked);
    // Sanity of the scan itself: the three tables are all marked.
    ASSERT_GT(marked.size(), 500u);
    EXPECT_TRUE(unmarked.empty()) << "Japanese text not marked with PALVEX_TEXT: "
                                  << ::testing::PrintToString(unmarked);
    std::set<std::pair<std::string, std::string>> sources;
    for (const MarkedText& text : marked) {
        sources.emplace(text.context, text.source);
    }

    const std::vector<fs::path> files = CatalogueFiles();
    ASSERT_FALSE(files.empty());
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.filename().string());
        TsCatalogue catalogue;
        std::string error;
        ASSERT_TRUE(ParseTsCatalogue(ReadText(file), catalogue, error)) << error;
        const std::string stem = file.stem().string();
        EXPECT_EQ(catalogue.language, stem.substr(7));
        EXPECT_EQ(catalogue.sourceLanguage, "ja");

        std::set<std::pair<std::string, std::string>> translated;
        for (const TsMessage& message : catalogue.messages) {
            const std::string where = "line " + std::to_string(message.line) + " (" +
                                      message.context + ") " + message.source;
            EXPECT_EQ(message.type, "") << where;
            EXPECT_FALSE(message.translation.empty()) << where;
            EXPECT_TRUE(sources.contains({message.context, message.source}))
                << "no longer in the sources: " << where;
            EXPECT_TRUE(translated.emplace(message.context, message.source).second)
                << "twice: " << where;
            EXPECT_EQ(Placeholders(message.translation), Placeholders(message.source)) << where;
            EXPECT_EQ(std::ranges::count(message.translation, '\n'),
                      std::ranges::count(message.source, '\n'))
                << where;
            EXPECT_EQ(std::ranges::count(message.translation, '\t'),
                      std::ranges::count(message.source, '\t'))
                << where;
            if (HasAccessKey(message.source)) {
                EXPECT_TRUE(HasAccessKey(message.translation)) << "access key lost: " << where;
            }
        }
        for (const MarkedText& text : marked) {
            EXPECT_TRUE(translated.contains({text.context, text.source}))
                << "no translation for " << text.where << ": (" << text.context << ") "
                << text.source;
        }
    }
}

class EmbeddedEnglish : public ::testing::Test {
protected:
    void TearDown() override { InstallTextTranslator(nullptr, "ja"); }
};

TEST_F(EmbeddedEnglish, EveryNumberedTextAndCommandTextReadsInEnglish) {
    std::vector<int> numbered;
    for (int id = 30001; id < 31000; ++id) {
        if (!LoadString(id).empty()) {
            numbered.push_back(id);
        }
    }
    EXPECT_GT(numbered.size(), 70u);
    ASSERT_EQ(InstallEmbeddedLanguage("en"), "en");
    for (const int id : numbered) {
        const std::string_view english = LoadString(id);
        EXPECT_FALSE(english.empty()) << id;
        EXPECT_FALSE(HasJapanese(english)) << id << ": " << english;
    }
    for (const CommandInfo& row : CommandTable()) {
        for (const Text* text : {&row.label, &row.prompt, &row.panel, &row.heading}) {
            EXPECT_FALSE(HasJapanese(text->Translated())) << row.name << ": " << text->source;
        }
        if (!row.prompt.empty()) {
            EXPECT_FALSE(PromptTitle(row).empty()) << row.name;
        }
    }
    EXPECT_EQ(std::string_view(texts::kUntitledDocument), "(No Image)");
    EXPECT_EQ(std::string_view(texts::kRecentNumberColumn), "No.");
    EXPECT_EQ(std::string_view(FindCommand(cmd::ID_FILE_OPEN)->label), "&Open");
}

TEST(TextLanguageChoice, JapaneseForJapaneseElseTheCatalogueElseEnglish) {
    const std::vector<std::string> catalogues = {"en", "fr", "pt_BR"};
    EXPECT_EQ(ChooseTextLanguage("ja-JP", catalogues), "ja");
    EXPECT_EQ(ChooseTextLanguage("ja_JP.UTF-8", catalogues), "ja");
    EXPECT_EQ(ChooseTextLanguage("JA", catalogues), "ja");
    EXPECT_EQ(ChooseTextLanguage("en-GB", catalogues), "en");
    EXPECT_EQ(ChooseTextLanguage("de", catalogues), "en");
    EXPECT_EQ(ChooseTextLanguage("fr_CA.UTF-8", catalogues), "fr");
    EXPECT_EQ(ChooseTextLanguage("pt-BR", catalogues), "pt_BR");
    EXPECT_EQ(ChooseTextLanguage("pt_PT@euro", catalogues), "pt_BR");
    EXPECT_EQ(ChooseTextLanguage("C.UTF-8", catalogues), "en");
    EXPECT_EQ(ChooseTextLanguage("POSIX", catalogues), "en");
    EXPECT_EQ(ChooseTextLanguage("", catalogues), "en");
    // "jav" (Javanese) is not Japanese.
    EXPECT_EQ(ChooseTextLanguage("jav", catalogues), "en");
    // Nothing to fall back on but the texts as written.
    EXPECT_EQ(ChooseTextLanguage("de", {}), "ja");
    EXPECT_EQ(ChooseTextLanguage("fr", {"fr"}), "fr");
    EXPECT_EQ(ChooseTextLanguage("de", {"fr"}), "ja");
}

TEST(TsCatalogueReader, ReadsTextsStatesReferencesAndPluralForms) {
    const std::string xml =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE TS>\n"
        "<TS version=\"2.1\" language=\"en\" sourcelanguage=\"ja\">\n"
        "<!-- <context> in a comment is none -->\n"
        "<context>\n    <name>Commands</name>\n"
        "    <message>\n        <source>開く(&amp;O)</source>\n"
        "        <translation>&amp;Open &lt;&#x41;&#66;&gt; &quot;q&quot; &apos;</translation>\n"
        "    </message>\n"
        "    <message>\n        <location filename=\"a.cpp\" line=\"3\"/>\n"
        "        <source>二行\nです</source>\n"
        "        <translation type=\"unfinished\"></translation>\n    </message>\n"
        "</context>\n<context>\n    <name>Texts</name>\n"
        "    <message numerus=\"yes\">\n        <source>%n 個</source>\n"
        "        <translation><numerusform>%n item</numerusform>"
        "<numerusform>%n items</numerusform></translation>\n    </message>\n"
        "    <message>\n        <source>古い</source>\n"
        "        <translation type=\"vanished\">Old</translation>\n    </message>\n"
        "    <message>\n        <source>タブ<byte value=\"x9\"/>F1</source>\n"
        "        <translation>Tab<byte value=\"x9\"/>F1</translation>\n    </message>\n"
        "</context>\n</TS>\n";
    TsCatalogue catalogue;
    std::string error;
    ASSERT_TRUE(ParseTsCatalogue(xml, catalogue, error)) << error;
    EXPECT_EQ(catalogue.language, "en");
    EXPECT_EQ(catalogue.sourceLanguage, "ja");
    ASSERT_EQ(catalogue.messages.size(), 5u);
    EXPECT_EQ(catalogue.messages[0].context, "Commands");
    EXPECT_EQ(catalogue.messages[0].source, "開く(&O)");
    EXPECT_EQ(catalogue.messages[0].translation, "&Open <AB> \"q\" '");
    EXPECT_EQ(catalogue.messages[0].type, "");
    EXPECT_EQ(catalogue.messages[0].line, 7);
    EXPECT_EQ(catalogue.messages[1].source, "二行\nです");
    EXPECT_EQ(catalogue.messages[1].type, "unfinished");
    EXPECT_EQ(catalogue.messages[2].context, "Texts");
    EXPECT_EQ(catalogue.messages[2].translation, "%n item");
    EXPECT_EQ(catalogue.messages[3].type, "vanished");
    EXPECT_EQ(catalogue.messages[4].source, "タブ\tF1");
    EXPECT_EQ(catalogue.messages[4].translation, "Tab\tF1");
}

TEST(TsCatalogueReader, RefusesWhatIsNotAWellFormedCatalogue) {
    const std::pair<const char*, const char*> broken[] = {
        {"", "no <TS>"},
        {"<html></html>", "not a translation catalogue"},
        {"<TS>\n<context><name>A</name>\n<message><source>x</source>", "not closed"},
        {"<TS><context><name>A</name><message><source>x</source></message></context></TS>",
         "lacks its source or translation"},
        {"<TS><context><message><source>x</source><translation>y</translation></message>"
         "</context></TS>",
         "before its context's <name>"},
        {"<TS><context><name>A</name></contex></TS>", "out of place"},
        {"<TS><context><name>A &nbsp;</name></context></TS>", "unknown entity"},
        {"<TS><context><name>&#0;</name></context></TS>", "bad character reference"},
        {"<TS language=en></TS>", "bad attribute"},
    };
    for (const auto& [xml, expected] : broken) {
        TsCatalogue catalogue;
        std::string error;
        EXPECT_FALSE(ParseTsCatalogue(xml, catalogue, error)) << xml;
        EXPECT_NE(error.find(expected), std::string::npos) << xml << " -> " << error;
    }
    TsCatalogue catalogue;
    std::string error;
    ASSERT_FALSE(ParseTsCatalogue("<TS>\n\n<context>\n<name>A</nam>", catalogue, error));
    EXPECT_TRUE(error.starts_with("line 4:")) << error;
}

}  // namespace
}  // namespace palvex
