#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "resources/language.h"

namespace palvex {

// The translation catalogues compiled into the program (from the .ts files at build time), for
// hosts that cannot read Qt's .qm files.
struct CatalogueMessage {
    std::string_view context;
    std::string_view source;
    std::string_view translation;
};
struct CatalogueLanguage {
    std::string_view language;                   // "en", as in palvex_en.ts
    std::span<const CatalogueMessage> messages;  // sorted by context, then source
};

// Every compiled catalogue (made by the build).
std::span<const CatalogueLanguage> EmbeddedCatalogues();

// The languages of EmbeddedCatalogues().
std::vector<std::string> EmbeddedCatalogueNames();

// A translator reading the compiled catalogue of `language`; nullptr when there is none.
std::unique_ptr<const TextTranslator> MakeEmbeddedTranslator(std::string_view language);

// Installs the texts for a user who prefers `wanted` (see ChooseTextLanguage) and returns the
// language installed.
std::string InstallEmbeddedLanguage(std::string_view wanted);

}  // namespace palvex
