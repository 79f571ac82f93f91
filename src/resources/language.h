#pragma once

#include <concepts>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace palvex {

// The system's texts are written in Japanese, their source language; another language is a
// translator installed by the host at start-up, looked up by the text's context and its
// Japanese source, as Qt Linguist catalogues are.
class TextTranslator {
public:
    virtual ~TextTranslator() = default;
    // The translation of `source`, or false when the catalogue has none.
    virtual bool Translate(std::string_view context, std::string_view source,
                           std::string& translation) const = 0;
};

// Installs the translator for `language` (a code such as "en"); nullptr puts back the Japanese
// texts ("ja"). Texts looked up before stay valid.
void InstallTextTranslator(std::unique_ptr<const TextTranslator> translator,
                           std::string_view language);

// The code of the language the texts are in: "ja" until a translator is installed.
std::string TextLanguage();

// The text in the installed language; `source` itself when there is no translation or no
// context (keys and patterns that are never translated). The result lives as long as the
// program.
std::string_view Translate(std::string_view context, std::string_view source);

// The language of the texts for a user who prefers `wanted` (a locale or language name such as
// "ja_JP.UTF-8", "en-GB" or "de"), given the languages that have a catalogue ("en", "pt_BR"):
// "ja" for any Japanese, else the catalogue of that language (exact region first), else "en";
// "ja" again when there is no English catalogue either.
std::string ChooseTextLanguage(std::string_view wanted, const std::vector<std::string>& catalogues);

// A text the user sees, with the context its translation is looked up in. It reads as the
// translated text wherever a string_view is expected; code that matches texts as keys compares
// `source`, never the translation.
struct Text {
    std::string_view context;
    std::string_view source;

    constexpr Text() = default;
    // A literal that is never translated (a key, a file pattern).
    constexpr Text(const char* untranslated) : source(untranslated) {}
    constexpr Text(std::string_view textContext, std::string_view sourceText)
        : context(textContext), source(sourceText) {}

    operator std::string_view() const { return Translate(context, source); }
    std::string_view Translated() const { return Translate(context, source); }
    constexpr bool empty() const { return source.empty(); }
};

// Comparing a Text with a string would silently compare the translation: say which is meant.
template <class T>
requires std::same_as<T, Text>
bool operator==(const T&, std::string_view) = delete;
template <class T>
requires std::same_as<T, Text>
bool operator==(const T&, const T&) = delete;

}  // namespace palvex

// Marks a translatable literal for the catalogue tools (lupdate reads it as QT_TRANSLATE_NOOP).
#define PALVEX_TEXT(context, source) ::palvex::Text(context, source)
