// Compiles the translation catalogues (palvex_<language>.ts) into a C++ source for the programs
// that do without Qt: palvex_catalogue_tool OUT.cpp CATALOGUE.ts...

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "resources/ts_catalogue.h"

namespace {

// Every byte outside printable ASCII as an octal escape, which never runs into the next
// character as a hex escape would.
std::string Literal(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte >= 0x7F || c == '?') {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\%03o", byte);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

bool ValidLanguage(const std::string& language) {
    return !language.empty() && std::ranges::all_of(language, [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
    });
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: palvex_catalogue_tool OUT.cpp CATALOGUE.ts...\n", stderr);
        return 2;
    }
    std::ostringstream out;
    out << "// Made by palvex_catalogue_tool from the translation catalogues; not to be edited.\n"
           "#include \"resources/catalogue.h\"\n\nnamespace palvex {\nnamespace {\n\n";
    std::vector<std::string> languages;
    for (int i = 2; i < argc; ++i) {
        const std::filesystem::path path = argv[i];
        const std::string stem = path.stem().string();
        const std::string language = stem.starts_with("palvex_") ? stem.substr(7) : "";
        if (!ValidLanguage(language)) {
            std::fprintf(stderr, "%s: not named palvex_<language>.ts\n", argv[i]);
            return 1;
        }
        std::ifstream file(path, std::ios::binary);
        const std::string xml((std::istreambuf_iterator<char>(file)),
                              std::istreambuf_iterator<char>());
        palvex::TsCatalogue catalogue;
        std::string error;
        if (!file || !palvex::ParseTsCatalogue(xml, catalogue, error)) {
            std::fprintf(stderr, "%s: %s\n", argv[i], file ? error.c_str() : "cannot be read");
            return 1;
        }
        // As lrelease does: obsolete and vanished texts are left out, unfinished ones kept.
        std::erase_if(catalogue.messages, [](const palvex::TsMessage& message) {
            return message.type == "obsolete" || message.type == "vanished" ||
                   message.translation.empty();
        });
        std::ranges::sort(catalogue.messages, {}, [](const palvex::TsMessage& message) {
            return std::tie(message.context, message.source);
        });
        out << "constexpr CatalogueMessage k_" << language << "[] = {\n";
        for (const palvex::TsMessage& message : catalogue.messages) {
            out << "    {" << Literal(message.context) << ", " << Literal(message.source) << ", "
                << Literal(message.translation) << "},\n";
        }
        if (catalogue.messages.empty()) {
            out << "    {\"\", \"\", \"\"},\n";
        }
        out << "};\n\n";
        languages.push_back(language);
    }
    out << "}  // namespace\n\nstd::span<const CatalogueLanguage> EmbeddedCatalogues() {\n";
    if (languages.empty()) {
        out << "    return {};\n";
    } else {
        out << "    static constexpr CatalogueLanguage kLanguages[] = {\n";
        for (const std::string& language : languages) {
            out << "        {" << Literal(language) << ", k_" << language << "},\n";
        }
        out << "    };\n    return kLanguages;\n";
    }
    out << "}\n\n}  // namespace palvex\n";

    // Written whole under another name first, so a failed run never leaves half a source.
    const std::filesystem::path target = argv[1];
    const std::filesystem::path partial = target.string() + ".part";
    std::filesystem::create_directories(target.parent_path());
    {
        std::ofstream file(partial, std::ios::binary | std::ios::trunc);
        file << out.str();
        if (!file.flush()) {
            std::fprintf(stderr, "%s: cannot be written\n", partial.string().c_str());
            return 1;
        }
    }
    std::error_code ec;
    std::filesystem::rename(partial, target, ec);
    if (ec) {
        std::fprintf(stderr, "%s: %s\n", target.string().c_str(), ec.message().c_str());
        return 1;
    }
    return 0;
}
