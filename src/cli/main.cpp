// palvex-cli: the editor's own load and save code without a window, for batch work.

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "app/version.h"
#include "cli/cli_language.h"
#include "cli/cli_operations.h"
#include "cli/cli_options.h"
#include "cli/cli_prompter.h"
#include "image/colour_stats.h"
#include "image/image_loader.h"
#include "image/image_saver.h"
#include "image/parallel.h"
#include "image/save_format.h"
#include "resources/catalogue.h"

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

std::string Printf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int size = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text(size > 0 ? static_cast<std::size_t>(size) : 0, '\0');
    std::vsnprintf(text.data(), text.size() + 1, format, again);
    va_end(again);
    return text;
}

// One file's work: what it prints (on stdout and stderr) and its exit status.
struct FileReport {
    std::string out;
    std::string err;
    int status = 0;
};
using FileJob = std::function<FileReport(const std::string& input)>;

void Print(const FileReport& report) {
    std::fputs(report.out.c_str(), stdout);
    std::fputs(report.err.c_str(), stderr);
    std::fflush(stdout);
}

// Runs the job for every input, one after another or, when `parallel`, on every core with
// each file's report printed in input order as soon as the files before it are done. A serial
// run ends at the first file stopped by a question; the worst status is returned.
int RunBatch(const std::vector<std::string>& inputs, bool parallel, const FileJob& job) {
    int status = 0;
    if (!parallel || inputs.size() < 2) {
        for (const std::string& input : inputs) {
            const FileReport report = job(input);
            Print(report);
            if (report.status == kStoppedAtQuestion) {
                return kStoppedAtQuestion;
            }
            status = std::max(status, report.status);
        }
        return status;
    }
    std::vector<std::optional<FileReport>> reports(inputs.size());
    std::mutex printing;
    std::size_t nextToPrint = 0;
    ParallelFor(inputs.size(), [&](std::size_t i, unsigned /*worker*/) {
        FileReport report = job(inputs[i]);
        const std::lock_guard<std::mutex> lock(printing);
        reports[i] = std::move(report);
        for (; nextToPrint < reports.size() && reports[nextToPrint]; ++nextToPrint) {
            Print(*reports[nextToPrint]);
            status = std::max(status, reports[nextToPrint]->status);
            reports[nextToPrint].reset();
        }
    });
    return status;
}

FileReport InfoOf(const Options& options, const std::string& file) {
    FileReport report;
    ConsolePrompter prompter(options.yes, options.quality, &report.err);
    const LoadResult loaded = LoadImageFile(file, options.firstTrans, prompter);
    if (!loaded.ok) {
        report.status = kFailed;
        return report;
    }
    const LoadedFileFacts& facts = loaded.facts;
    report.out = Printf(
        "{\"file\": %s, \"width\": %d, \"height\": %d, \"key\": %s, \"fileColorKey\": %s, "
        "\"sourceBmpFormat\": {\"bitCount\": %d, \"compression\": %d}, \"colours\": %zu}\n",
        JsonString(file).c_str(), loaded.image.Width(), loaded.image.Height(),
        JsonColour(loaded.key).c_str(), JsonColour(facts.FileColorKey).c_str(),
        facts.SourceBmpFormat.bitCount, facts.SourceBmpFormat.compression,
        CountDistinctColours(loaded.image));
    return report;
}

FileReport SaveOne(const Options& options, const std::string& input) {
    FileReport report;
    ConsolePrompter prompter(options.yes, options.quality, &report.err);
    NoDesktopShell shell;
    MemorySettings settings;
    settings.WriteInt("Last", "MakeBackup", options.backup ? 1 : 0);
    LoadResult loaded = LoadImageFile(input, options.firstTrans, prompter);
    if (!loaded.ok) {
        report.status = kFailed;
        return report;
    }
    const Colour key = options.key.value_or(loaded.key);
    std::string error;
    const OperationResult edited = ApplyOperations(options, loaded.image, key, prompter, error);
    if (!error.empty()) {
        report.err += "palvex-cli: " + input + ": " + error + "\n";
    }
    if (edited != OperationResult::Done) {
        report.status = edited == OperationResult::OffImage ? kUsageError : kFailed;
        return report;
    }
    const SaveContext context{loaded.image, key, loaded.facts, settings, prompter, shell};
    const bool saved = options.overwrite ? SaveDocument(context, input)
                                         : SaveImageAsEntry(context, OutputPathFor(options, input),
                                                            options.format->index);
    if (prompter.AskedUnanswered()) {
        report.status = kStoppedAtQuestion;
    } else if (!saved) {
        report.status = kFailed;
    }
    return report;
}

// Files may be saved side by side when no question can stop the run half-way and no two of
// them write the same file (which, one after another, the later one wins).
bool CanSaveInParallel(const Options& options) {
    if (!options.yes) {
        return false;
    }
    std::set<std::filesystem::path> targets;
    for (const std::string& input : options.inputs) {
        const std::filesystem::path target =
            options.overwrite ? std::filesystem::path(input) : OutputPathFor(options, input);
        std::error_code ec;
        const std::filesystem::path absolute = std::filesystem::absolute(target, ec);
        if (ec || !targets.insert(absolute.lexically_normal()).second) {
            return false;
        }
    }
    return true;
}

int Info(const Options& options) {
    return RunBatch(options.inputs, true,
                    [&](const std::string& file) { return InfoOf(options, file); });
}

int Save(const Options& options) {
    return RunBatch(options.inputs, CanSaveInParallel(options),
                    [&](const std::string& input) { return SaveOne(options, input); });
}

}  // namespace
}  // namespace palvex::cli

int main(int argc, char** argv) {
    using namespace palvex::cli;
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string language;
    std::string error;
    if (!TakeLanguageOption(args, language, error)) {
        std::fprintf(stderr, "palvex-cli: %s\n", error.c_str());
        std::fputs(kUsage.data(), stderr);
        return kUsageError;
    }
    palvex::InstallEmbeddedLanguage(!language.empty() ? language
                                                      : EnvironmentLanguage([](const char* name) {
                                                            return std::getenv(name);
                                                        }));
    if (args.size() == 1 && args[0] == "--version") {
        std::printf("palvex-cli %s\n", palvex::kVersion);
        return 0;
    }
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
