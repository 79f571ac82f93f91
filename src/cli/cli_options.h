#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "image/colour.h"
#include "image/geometry.h"
#include "image/save_format.h"

namespace palvex::cli {

inline constexpr std::string_view kUsage =
    "usage:\n"
    "  palvex-cli info [--first-trans N] FILE...\n"
    "  palvex-cli save [options] --format F -o OUT FILE...\n"
    "  palvex-cli save [options] --overwrite FILE...\n"
    "  palvex-cli --version\n"
    "\n"
    "  info         load each file as the editor does and print its facts as JSON\n"
    "  save         load each file and save it as the editor's save-as does; with several\n"
    "               files (or when OUT is a folder) each goes to OUT/<name>.<extension>\n"
    "  --format F   1..16 or bmp1 bmp4 bmp4rle bmp8 bmp8rle bmp16 bmp24 bmp32 jpeg gif png\n"
    "               tiff tbmp tgif tpng ttiff (t = transparent: the key becomes transparency)\n"
    "  --key RRGGBB       the transparent colour to use instead of the file's\n"
    "  --first-trans N    key for files without one: 0 black 1 white 2 red 3 green 4 blue\n"
    "  --quality Q        JPEG quality 10..100 (default 100)\n"
    "  --overwrite        write each file back in its own format, keeping name(back).ext\n"
    "  --no-backup        with --overwrite: keep no backup copy\n"
    "  --yes              answer the editor's questions with Yes (else the tool stops there)\n"
    "  --lang ja|en       the language of the editor's messages (default: LANGUAGE, LC_ALL,\n"
    "                     LC_MESSAGES or LANG; Japanese for ja, English for any other)\n"
    "\n"
    "  editing before the save, applied to each image in the order given:\n"
    "  --draw-color RRGGBB  the drawing colour of the operations after it (default: the key)\n"
    "  --fill X,Y         flood fill at image pixel X,Y with the drawing colour\n"
    "  --pen-all X,Y      the whole-image pen: every pixel within the tolerance of the colour at\n"
    "                     X,Y gets the drawing colour (by default the key: transparent)\n"
    "  --fill-back-all    every key-coloured pixel gets the mean of its other neighbours\n"
    "  --tolerance N      1..9 for every --pen-all (default 5): channels differ by < 2N\n"
    "  --barrier FILE.bar the barrier for the --outside and --inside after it\n"
    "  --outside          make everything outside the barrier the key (transparent)\n"
    "  --inside           make the inside of the barrier the key\n"
    "  --flip-h, --flip-v mirror left to right, top to bottom\n"
    "  --rotate A         turn clockwise by A degrees (0..359); 90, 180 and 270 are exact\n"
    "                     turns, other angles fill the corners with the key\n"
    "  --resize W,H|P%    nearest-pixel resize to W x H pixels or P percent (1..200) a side\n"
    "  --invert           complement every colour (the key itself stays)\n"
    "  --grey             every pixel grey at its green level\n"
    "  --trim X,Y,W,H     keep only the W x H area at X,Y, which must lie in the image\n";

enum class Command { Info, Save };

// One editing step of `save`, applied to every loaded image in the order given.
enum class OperationKind {
    DrawColour,
    Fill,
    PenAll,
    FillBackAll,
    BarrierOutside,
    BarrierInside,
    // The transforms (cli_transforms.cpp).
    FlipH,
    FlipV,
    Rotate,
    Resize,
    Invert,
    Grey,
    Trim,
};
struct Operation {
    OperationKind kind = OperationKind::PenAll;
    Point at;
    std::string barrierFile;    // the barrier kinds' .bar file
    Colour colour = kNoColour;  // DrawColour: the drawing colour of the operations after it
    int angle = 0;              // Rotate: degrees clockwise
    Size size{};                // Resize to pixels, unless percent > 0
    int percent = 0;            // Resize: percent of each side
    Rect area{};                // Trim
};

struct Options {
    Command command = Command::Info;
    std::vector<std::string> inputs;
    std::filesystem::path output;
    const SaveFormatEntry* format = nullptr;
    std::optional<Colour> key;
    int firstTrans = 1;
    std::optional<int> quality;
    bool overwrite = false;
    bool backup = true;
    bool yes = false;
    std::vector<Operation> operations;
    int tolerance = 5;
};

// RRGGBB, optionally after a '#'.
std::optional<Colour> ParseHexColour(std::string_view text);

// Nothing (with `error` set, or empty for a plain usage request) when the arguments are wrong.
std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error);

// Where an input goes: OUT itself for one input, OUT/<stem>.<format extension> when OUT is a
// folder or there are several inputs.
std::filesystem::path OutputPathFor(const Options& options, const std::string& input);

}  // namespace palvex::cli
