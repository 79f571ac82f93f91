#pragma once

// Languages the layout tests run under: the Japanese sources, and a pseudo-English whose texts
// are half as long again as English ones, so that a layout that fits it fits any translation.

#include <functional>
#include <iterator>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/ui/ui_language.h"
#include "resources/language.h"

namespace palvex::test {

// Writes every Japanese character as three accented Latin letters, in words of two characters,
// and keeps every ASCII character as it is: access keys ("(&O)"), placeholders ("%1", "%d"),
// blanks and line breaks stay where they were.
class PseudoTranslator final : public TextTranslator {
public:
    bool Translate(std::string_view /*context*/, std::string_view source,
                   std::string& translation) const override {
        translation = Pseudo(source);
        return true;
    }

    static std::string Pseudo(std::string_view source) {
        static constexpr std::string_view kLetters[] = {"à", "é", "î", "õ", "ü", "ñ", "ç", "ÿ",
                                                        "å", "ë", "ï", "ô", "ú", "ð", "ø", "á"};
        std::string out;
        int inWord = 0;
        std::size_t i = 0;
        while (i < source.size()) {
            const auto lead = static_cast<unsigned char>(source[i]);
            if (lead < 0x80) {
                out += source[i++];
                inWord = 0;
                continue;
            }
            const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
            const std::string_view character = source.substr(i, length);
            unsigned code = 0;
            for (const char byte : character) {
                code = code * 31 + static_cast<unsigned char>(byte);
            }
            i += length;
            if (const char* ascii = AsciiFor(character)) {
                out += ascii;
                inWord = 0;
                continue;
            }
            if (inWord == 2) {
                out += ' ';
                inWord = 0;
            }
            for (unsigned k = 0; k < 3; ++k) {
                out += kLetters[(code + k * 7) % std::size(kLetters)];
            }
            ++inWord;
        }
        return out;
    }

private:
    // Full-width punctuation reads as its ASCII counterpart.
    static const char* AsciiFor(std::string_view character) {
        static constexpr std::pair<std::string_view, const char*> kPunctuation[] = {
            {"　", "  "}, {"：", ":"}, {"、", ","}, {"。", "."},
            {"（", "("},  {"）", ")"}, {"・", "/"}, {"～", "~"}};
        for (const auto& [wide, ascii] : kPunctuation) {
            if (character == wide) {
                return ascii;
            }
        }
        return nullptr;
    }
};

// A language the tests can put in place before they build the editor.
struct TestLanguage {
    std::string name;
    std::function<void()> install;
};

// Test names and messages show the language by its name.
inline void PrintTo(const TestLanguage& language, std::ostream* out) {
    *out << language.name;
}

inline void InstallJapanese() {
    ui::UiLanguage::InstallTexts(QStringLiteral("ja"));
}

inline std::vector<TestLanguage> TestLanguages() {
    return {
        {"ja", InstallJapanese},
        {"en", [] { ui::UiLanguage::InstallTexts(QStringLiteral("en")); }},
        {"pseudo", [] { InstallTextTranslator(std::make_unique<const PseudoTranslator>(), "xx"); }},
    };
}

}  // namespace palvex::test
