// Peak resident memory of an editing session on a 100-megapixel image, on the real editor
// (offscreen): load a PNG, 10 flood fills, 10 undos, 10 redos, a quarter turn, a barrier
// outside, a transparent PNG save. Prints the resident and peak memory after each step and the
// peak against three times the image's bytes.
//
//   palvex_memory_sequence [FOLDER]   (default: the system's temporary folder)
//
// The PNG is made first by a child process, so that making it does not count.

#include <QApplication>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <png.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/ui/vemmar_app.h"
#include "barrier/ui/barrier_tool.h"
#include "base/settings_store.h"
#include "bench/bench_services.h"
#include "canvas/ui/vemmar_view.h"
#include "mainwindow/ui/main_frame.h"
#include "resources/command_ids.h"
#include "tools/ui/canvas_input.h"

namespace palvex {
namespace {

constexpr int kSide = 10000;
constexpr double kImageBytes = 4.0 * kSide * kSide;
constexpr int kObjectFrom = kSide / 3;
constexpr int kObjectTo = 2 * kSide / 3;

// White with a noisy object in the middle ninth, as an opaque RGB PNG.
bool MakePng(const std::filesystem::path& path) {
    std::vector<std::uint8_t> rgb(std::size_t{3} * kSide * kSide, 255);
    std::uint32_t noise = 12345;
    for (int y = kObjectFrom; y < kObjectTo; ++y) {
        std::uint8_t* row = rgb.data() + std::size_t{3} * kSide * static_cast<std::size_t>(y);
        for (int x = kObjectFrom; x < kObjectTo; ++x) {
            noise = noise * 1664525u + 1013904223u;
            row[3 * x] = static_cast<std::uint8_t>(x * 255 / kSide);
            row[3 * x + 1] = static_cast<std::uint8_t>(y * 255 / kSide);
            row[3 * x + 2] = static_cast<std::uint8_t>(noise >> 24);
        }
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = kSide;
    image.height = kSide;
    image.format = PNG_FORMAT_RGB;
    return png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr) != 0;
}

// kB of a line of /proc/self/status.
long StatusKb(const char* key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(key) + ":";
    while (std::getline(status, line)) {
        if (line.rfind(prefix, 0) == 0) {
            return std::stol(line.substr(prefix.size()));
        }
    }
    return -1;
}

void Report(const char* step) {
    std::printf("%-28s rss %7.0f MB  peak %7.0f MB\n", step, StatusKb("VmRSS") / 1024.0,
                StatusKb("VmHWM") / 1024.0);
    std::fflush(stdout);
}

// Names the transparent PNG as the save dialog's answer; every question is answered No.
class SavingPrompter final : public Prompter {
public:
    Answer Show(const MessageRequest& request) override {
        std::fprintf(stderr, "message %d: %s\n", request.id, request.Text().c_str());
        return Answer::No;
    }
    std::optional<SaveFileChoice> AskSaveFile(const SaveFileRequest&) override {
        SaveFileChoice choice;
        choice.path = savePath;
        choice.filter = 15;  // transparent PNG
        return choice;
    }
    std::filesystem::path savePath;
};

// Made by a child process before anything else starts, so that neither its memory nor threads
// of the parent are involved.
bool EnsurePng(const std::filesystem::path& png) {
    if (std::filesystem::exists(png)) {
        return true;
    }
    const pid_t child = fork();
    if (child == 0) {
        _exit(MakePng(png) ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return child > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

int Run(const std::filesystem::path& folder, const std::filesystem::path& png) {
    Report("start");

    SavingPrompter prompter;
    prompter.savePath = folder / "palvex-memory-sequence-out.png";
    std::filesystem::remove(prompter.savePath);
    MemorySettings store;
    bench::NoShell shell;
    ui::CVemmarApp app({prompter, store, shell, WorkFolder(), {}});
    if (!app.InitInstance({}) || !app.OpenImageFile(png)) {
        std::fprintf(stderr, "no editor or no image\n");
        return 1;
    }
    bench::ShowEditor(app);
    Report("loaded");

    const auto click = [&app](QPointF p) { bench::ClickCanvas(app, p); };
    app.Router().Dispatch(cmd::ID_PAINT);
    for (int i = 0; i < 10; ++i) {
        app.Model().settings.drawColour = i % 2 == 0 ? Rgb(255, 0, 0) : Rgb(0, 0, 255);
        click({5, 5});
    }
    Report("10 fills");
    for (int i = 0; i < 10; ++i) {
        app.Router().Dispatch(cmd::ID_UNDO);
    }
    Report("10 undos");
    for (int i = 0; i < 10; ++i) {
        app.Router().Dispatch(cmd::ID_REDO);
    }
    Report("10 redos");
    app.Router().Dispatch(cmd::ID_ROT_90);
    Report("quarter turn");

    app.Router().Dispatch(cmd::ID_BARRIER);
    auto& tool = dynamic_cast<ui::BarrierTool&>(app.MainFrame()->Input()->Hooks().Barrier());
    const std::vector<Point> around{{kObjectFrom - 1, kObjectFrom - 1},
                                    {kObjectTo, kObjectFrom - 1},
                                    {kObjectTo, kObjectTo},
                                    {kObjectFrom - 1, kObjectTo}};
    if (!tool.Model().ReplaceVertices(around)) {
        std::fprintf(stderr, "no barrier\n");
        return 1;
    }
    app.Router().Dispatch(cmd::ID_BARI_OUT_TRANS);
    Report("barrier outside");

    app.Router().Dispatch(cmd::ID_AS_A_PNG);
    if (!std::filesystem::exists(prompter.savePath)) {
        std::fprintf(stderr, "not saved\n");
        return 1;
    }
    Report("transparent PNG saved");
    app.View()->WaitForHistoryWrites();
    Report("writes finished");

    const double peak = StatusKb("VmHWM") * 1024.0;
    std::printf("peak %.0f MB = %.2f x the image's %.0f MB (target 3.00)\n", peak / 1e6,
                peak / kImageBytes, kImageBytes / 1e6);
    std::filesystem::remove(prompter.savePath);
    return 0;
}

}  // namespace
}  // namespace palvex

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::filesystem::path folder =
        argc > 1 ? std::filesystem::path(argv[1]) : std::filesystem::temp_directory_path();
    const std::filesystem::path png = folder / "palvex-memory-sequence.png";
    if (!palvex::EnsurePng(png)) {
        std::fprintf(stderr, "could not write %s\n", png.c_str());
        return 1;
    }
    QApplication application(argc, argv);
    return palvex::Run(folder, png);
}
