#include "cli/cli_options.h"

#include <charconv>

#include "cli/cli_barrier.h"
#include "cli/cli_operations.h"
#include "cli/cli_pen_ops.h"
#include "cli/cli_transforms.h"

namespace palvex::cli {
namespace {

bool ParseInt(std::string_view text, int low, int high, int& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && value >= low && value <= high;
}

const SaveFormatEntry* ParseFormat(std::string_view text) {
    int index = 0;
    if (ParseInt(text, 1, kSaveFormatCount, index)) {
        return SaveFormatAt(index);
    }
    return SaveFormatNamed(text);
}

}  // namespace

std::optional<Colour> ParseHexColour(std::string_view text) {
    if (!text.empty() && text[0] == '#') {
        text.remove_prefix(1);
    }
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (text.size() != 6 || ec != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return Rgb(static_cast<int>(value >> 16), static_cast<int>(value >> 8 & 0xFF),
               static_cast<int>(value & 0xFF));
}

std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error) {
    if (args.empty() || (args[0] != "info" && args[0] != "save")) {
        return std::nullopt;
    }
    Options options;
    options.command = args[0] == "info" ? Command::Info : Command::Save;
    BarrierOptions barrier;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        int number = 0;
        if (ParseBarrierOption(args, i, barrier, options.operations, error)) {
            if (!error.empty()) {
                return std::nullopt;
            }
        } else if (arg == "--first-trans" && hasValue) {
            if (!ParseInt(args[++i], -1000000, 1000000, number)) {
                error = "--first-trans needs a number";
                return std::nullopt;
            }
            options.firstTrans = number;
        } else if (arg == "--quality" && hasValue) {
            if (!ParseInt(args[++i], 10, 100, number)) {
                error = "--quality needs a number from 10 to 100";
                return std::nullopt;
            }
            options.quality = number;
        } else if (arg == "--key" && hasValue) {
            options.key = ParseHexColour(args[++i]);
            if (!options.key) {
                error = "--key needs a colour as RRGGBB";
                return std::nullopt;
            }
        } else if (arg == "--format" && hasValue) {
            options.format = ParseFormat(args[++i]);
            if (options.format == nullptr) {
                error = "unknown format '" + args[i] + "'";
                return std::nullopt;
            }
        } else if ((arg == "-o" || arg == "--output") && hasValue) {
            options.output = args[++i];
        } else if (arg == "--overwrite") {
            options.overwrite = true;
        } else if (arg == "--no-backup") {
            options.backup = false;
        } else if (arg == "--yes" || arg == "-y") {
            options.yes = true;
        } else if (const ParsedOption pen = ParsePenOption(args, i, options, error);
                   pen != ParsedOption::NotMine) {
            if (pen == ParsedOption::Invalid) {
                return std::nullopt;
            }
        } else if (const ParsedOption fill = ParseFillOption(args, i, options, error);
                   fill != ParsedOption::NotMine) {
            if (fill == ParsedOption::Invalid) {
                return std::nullopt;
            }
        } else if (const ParsedOption transform = ParseTransformOption(args, i, options, error);
                   transform != ParsedOption::NotMine) {
            if (transform == ParsedOption::Invalid) {
                return std::nullopt;
            }
        } else if (arg.size() > 1 && arg[0] == '-') {
            error = "unknown option '" + arg + "'";
            return std::nullopt;
        } else {
            options.inputs.push_back(arg);
        }
    }
    if (!barrier.used) {
        error = "--barrier needs --outside or --inside after it";
        return std::nullopt;
    }
    if (options.inputs.empty()) {
        error = "no input file";
        return std::nullopt;
    }
    if (options.command == Command::Info && !options.operations.empty()) {
        error = "editing options belong to save";
        return std::nullopt;
    }
    if (options.command == Command::Save && !options.overwrite &&
        (options.format == nullptr || options.output.empty())) {
        error = "save needs --format and -o (or --overwrite)";
        return std::nullopt;
    }
    return options;
}

std::filesystem::path OutputPathFor(const Options& options, const std::string& input) {
    std::error_code ec;
    const bool folder = options.inputs.size() > 1 ||
                        std::filesystem::is_directory(options.output, ec) ||
                        options.output.string().ends_with('/');
    if (!folder) {
        return options.output;
    }
    std::filesystem::create_directories(options.output, ec);
    std::filesystem::path name = std::filesystem::path(input).stem();
    name += std::string(options.format->pattern.substr(1));  // ".bmp" of "*.bmp"
    return options.output / name;
}

}  // namespace palvex::cli
