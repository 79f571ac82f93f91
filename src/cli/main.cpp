// palvex-cli: the editor's own load and save code without a window, for batch work.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_barrier.h"
#include "cli/cli_options.h"
#include "cli/cli_pen_ops.h"
#include "cli/cli_prompter.h"
#include "cli/cli_transforms.h"
#include "image/colour_stats.h"
#include "image/image_loader.h"
#include "image/image_saver.h"
#include "image/save_format.h"

namespace palvex::cli {
namespace {

constexpr int kFailed = 1;
constexpr int kUsageError = 2;
constexpr int kStoppedAtQuestion = 3;

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

std::string JsonColour(Colour c) {
    if (c == kNoColour) {
        return "null";
    }
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "\"%02X%02X%02X\"", RedOf(c), GreenOf(c), BlueOf(c));
    return buffer;
}

int Info(const Options& options) {
    ConsolePrompter prompter(options.yes, options.quality);
    int status = 0;
    for (const std::string& file : options.inputs) {
        const LoadResult loaded = LoadImageFile(file, options.firstTrans, prompter);
        if (!loaded.ok) {
            status = kFailed;
            continue;
        }
        std::printf(
            "{\"file\": %s, \"width\": %d, \"height\": %d, \"key\": %s, \"fileColorKey\": %s, "
            "\"sourceBmpFormat\": {\"bitCount\": %d, \"compression\": %d}, \"colours\": %zu}\n",
            JsonString(file).c_str(), loaded.image.Width(), loaded.image.Height(),
            JsonColour(loaded.key).c_str(), JsonColour(loaded.facts.FileColorKey).c_str(),
            loaded.facts.SourceBmpFormat.bitCount, loaded.facts.SourceBmpFormat.compression,
            CountDistinctColours(loaded.image));
    }
    return status;
}

// The editing steps in the order given; nothing is saved when one fails.
bool ApplyOperations(const Options& options, Bitmap& image, Colour key, Prompter& prompter) {
    for (const Operation& operation : options.operations) {
        if (IsBarrierOperation(operation)) {
            if (!ApplyBarrierOperation(operation, image, key, prompter)) {
                return false;
            }
            continue;
        }
        std::string error;
        if (IsTransformOperation(operation)) {
            if (!ApplyTransformOperation(operation, image, key, error)) {
                std::fprintf(stderr, "palvex-cli: %s\n", error.c_str());
                return false;
            }
            continue;
        }
        if (!ApplyPenOperation(operation, options, image, key, error)) {
            std::fprintf(stderr, "palvex-cli: %s\n", error.c_str());
            return false;
        }
    }
    return true;
}

int Save(const Options& options) {
    ConsolePrompter prompter(options.yes, options.quality);
    NoDesktopShell shell;
    MemorySettings settings;
    settings.WriteInt("Last", "MakeBackup", options.backup ? 1 : 0);
    int status = 0;
    for (const std::string& input : options.inputs) {
        LoadResult loaded = LoadImageFile(input, options.firstTrans, prompter);
        if (!loaded.ok) {
            status = kFailed;
            continue;
        }
        const Colour key = options.key.value_or(loaded.key);
        if (!ApplyOperations(options, loaded.image, key, prompter)) {
            status = kFailed;
            continue;
        }
        const SaveContext context{loaded.image, key, loaded.facts, settings, prompter, shell};
        const bool saved =
            options.overwrite
                ? SaveDocument(context, input)
                : SaveImageAsEntry(context, OutputPathFor(options, input), options.format->index);
        if (prompter.AskedUnanswered()) {
            return kStoppedAtQuestion;
        }
        if (!saved) {
            status = kFailed;
        }
    }
    return status;
}

}  // namespace
}  // namespace palvex::cli

int main(int argc, char** argv) {
    using namespace palvex::cli;
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    const std::optional<Options> options = ParseOptions(args, error);
    if (!options) {
        if (!error.empty()) {
            std::fprintf(stderr, "palvex-cli: %s\n", error.c_str());
        }
        std::fputs(kUsage.data(), stderr);
        return kUsageError;
    }
    return options->command == Command::Info ? Info(*options) : Save(*options);
}
