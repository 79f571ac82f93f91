#include "resources/language.h"

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

}  // namespace

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
