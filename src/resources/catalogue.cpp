#include "resources/catalogue.h"

#include <algorithm>
#include <tuple>

namespace palvex {
namespace {

class EmbeddedTranslator final : public TextTranslator {
public:
    explicit EmbeddedTranslator(std::span<const CatalogueMessage> messages) : messages_(messages) {}

    bool Translate(std::string_view context, std::string_view source,
                   std::string& translation) const override {
        const auto key = std::tie(context, source);
        const auto found = std::ranges::lower_bound(messages_, key, {}, [](const auto& message) {
            return std::tie(message.context, message.source);
        });
        if (found == messages_.end() || std::tie(found->context, found->source) != key ||
            found->translation.empty()) {
            return false;
        }
        translation = found->translation;
        return true;
    }

private:
    std::span<const CatalogueMessage> messages_;
};

}  // namespace

std::vector<std::string> EmbeddedCatalogueNames() {
    std::vector<std::string> names;
    for (const CatalogueLanguage& catalogue : EmbeddedCatalogues()) {
        names.emplace_back(catalogue.language);
    }
    return names;
}

std::unique_ptr<const TextTranslator> MakeEmbeddedTranslator(std::string_view language) {
    for (const CatalogueLanguage& catalogue : EmbeddedCatalogues()) {
        if (catalogue.language == language) {
            return std::make_unique<EmbeddedTranslator>(catalogue.messages);
        }
    }
    return nullptr;
}

std::string InstallEmbeddedLanguage(std::string_view wanted) {
    const std::string language = ChooseTextLanguage(wanted, EmbeddedCatalogueNames());
    std::unique_ptr<const TextTranslator> translator =
        language == "ja" ? nullptr : MakeEmbeddedTranslator(language);
    if (translator == nullptr) {
        InstallTextTranslator(nullptr, "ja");
        return "ja";
    }
    InstallTextTranslator(std::move(translator), language);
    return language;
}

}  // namespace palvex
