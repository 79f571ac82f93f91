#include "resources/language.h"

#include <algorithm>
#include <cctype>
#include <deque>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace palvex {
namespace {

struct Catalogue {
    std::mutex mutex;
    std::unique_ptr<const TextTranslator> translator;
    std::string language = "ja";
    // Looked-up translations by context and source. Replaced catalogues' strings are kept, since
    // callers may still hold views of them.
    std::unordered_map<std::string, std::string_view> cache;
    std::deque<std::string> storage;
    std::vector<std::unique_ptr<const TextTranslator>> retired;
};

Catalogue& TheCatalogue() {
    static Catalogue catalogue;
    return catalogue;
}

// "en-GB", "en_GB.UTF-8" and "en_GB@euro" all name "en_gb".
std::string NormalLanguageName(std::string_view name) {
    name = name.substr(0, name.find_first_of(".@"));
    std::string normal(name);
    std::ranges::replace(normal, '-', '_');
    for (char& c : normal) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return normal;
}

std::string_view PrimaryLanguage(std::string_view normal) {
    return normal.substr(0, normal.find('_'));
}

}  // namespace

std::string ChooseTextLanguage(std::string_view wanted,
                               const std::vector<std::string>& catalogues) {
    const std::string normal = NormalLanguageName(wanted);
    if (PrimaryLanguage(normal) == "ja") {
        return "ja";
    }
    const auto matching = [&](auto&& same) {
        return std::ranges::find_if(catalogues, [&](const std::string& catalogue) {
            return same(NormalLanguageName(catalogue));
        });
    };
    if (const auto exact = matching([&](const std::string& c) { return c == normal; });
        !normal.empty() && exact != catalogues.end()) {
        return *exact;
    }
    if (const auto primary = matching([&](const std::string& c) {
            return !normal.empty() && PrimaryLanguage(c) == PrimaryLanguage(normal);
        });
        primary != catalogues.end()) {
        return *primary;
    }
    return std::ranges::find(catalogues, "en") != catalogues.end() ? "en" : "ja";
}

void InstallTextTranslator(std::unique_ptr<const TextTranslator> translator,
                           std::string_view language) {
    Catalogue& catalogue = TheCatalogue();
    const std::lock_guard lock(catalogue.mutex);
    if (catalogue.translator) {
        catalogue.retired.push_back(std::move(catalogue.translator));
    }
    catalogue.translator = std::move(translator);
    catalogue.language = catalogue.translator ? std::string(language) : std::string("ja");
    catalogue.cache.clear();
}

std::string TextLanguage() {
    Catalogue& catalogue = TheCatalogue();
    const std::lock_guard lock(catalogue.mutex);
    return catalogue.language;
}

std::string_view Translate(std::string_view context, std::string_view source) {
    if (context.empty() || source.empty()) {
        return source;
    }
    Catalogue& catalogue = TheCatalogue();
    const std::lock_guard lock(catalogue.mutex);
    if (!catalogue.translator) {
        return source;
    }
    std::string key;
    key.reserve(context.size() + 1 + source.size());
    key.append(context).push_back('\x04');
    key.append(source);
    if (const auto found = catalogue.cache.find(key); found != catalogue.cache.end()) {
        return found->second;
    }
    std::string translation;
    std::string_view result = source;
    if (catalogue.translator->Translate(context, source, translation) && !translation.empty()) {
        result = catalogue.storage.emplace_back(std::move(translation));
    }
    catalogue.cache.emplace(std::move(key), result);
    return result;
}

}  // namespace palvex
