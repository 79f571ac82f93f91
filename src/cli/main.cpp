// palvex-cli: the editor's own load (and later save and edit) code without a window.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_prompter.h"
#include "image/colour_stats.h"
#include "image/image_loader.h"

namespace {

constexpr std::string_view kUsage =
    "usage: palvex-cli info [--first-trans N] FILE...\n"
    "  info   load each file as the editor does and print its facts as JSON\n";

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", u);
            out += buffer;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string JsonColour(palvex::Colour c) {
    if (c == palvex::kNoColour) {
        return "null";
    }
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "\"%02X%02X%02X\"", palvex::RedOf(c), palvex::GreenOf(c),
                  palvex::BlueOf(c));
    return buffer;
}

int Info(const std::vector<std::string>& files, int firstTrans) {
    palvex::cli::ConsolePrompter prompter(false);
    int status = 0;
    for (const std::string& file : files) {
        palvex::LoadedFileFacts facts;
        palvex::LoadResult loaded = palvex::LoadImageFile(file, firstTrans, prompter, facts);
        if (!loaded.ok) {
            status = 1;
            continue;
        }
        std::printf(
            "{\"file\": %s, \"width\": %d, \"height\": %d, \"key\": %s, \"fileColorKey\": %s, "
            "\"sourceBmpFormat\": {\"bitCount\": %d, \"compression\": %d}, \"colours\": %zu}\n",
            JsonString(file).c_str(), loaded.image.Width(), loaded.image.Height(),
            JsonColour(loaded.key).c_str(), JsonColour(facts.FileColorKey).c_str(),
            facts.SourceBmpFormat.bitCount, facts.SourceBmpFormat.compression,
            palvex::CountDistinctColours(loaded.image));
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] != "info") {
        std::fputs(kUsage.data(), stderr);
        return 2;
    }
    int firstTrans = 1;
    std::vector<std::string> files;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--first-trans" && i + 1 < args.size()) {
            firstTrans = std::atoi(args[++i].c_str());
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.empty()) {
        std::fputs(kUsage.data(), stderr);
        return 2;
    }
    return Info(files, firstTrans);
}
