// Opening a 100-megapixel PNG in the real editor (offscreen), from the open command to the
// repainted canvas, beside `palvex-cli info` on the same file, run alternately in the same
// process so that both see the same load on the machine. Then the resident memory after
// loading image A, image B and New, which shows whether the old image's buffers are given back.
//
//   palvex_editor_load_bench [--rounds N] [--navigator] [--size WIDTHxHEIGHT] [--folder DIR]
//
// The two images are generated once into the folder (default /tmp/palvex-load-bench) and reused.

#include <QApplication>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/ui/vemmar_app.h"
#include "app/ui/vemmar_doc.h"
#include "base/settings_store.h"
#include "bench/bench_services.h"
#include "canvas/ui/vemmar_view.h"
#include "image/codecs/encoder.h"
#include "image/image_loader.h"
#include "image/output_buffer.h"
#include "mainwindow/ui/main_frame.h"
#include "resources/command_ids.h"
#include "selection/ui/selection_tool.h"
#include "tools/ui/canvas_input.h"

extern char** environ;

namespace palvex {
namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Milliseconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_usec) / 1000.0;
}
// User and system time of every thread of this process so far: less at the mercy of a busy
// machine than wall time.
double OwnCpuMs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return Milliseconds(usage.ru_utime) + Milliseconds(usage.ru_stime);
}

// A photograph of an object on a studio background: the background a soft vertical gradient
// with sensor noise, the object a disc of stronger shading and noise. `seed` makes B differ
// from A. `cutOut`: the background is plain white, written transparent.
Bitmap MakePhoto(int width, int height, std::uint32_t seed, bool cutOut) {
    Bitmap image;
    if (!image.Create(width, height)) {
        return image;
    }
    const int cx = width / 2 + static_cast<int>(seed % 97);
    const int cy = height / 2;
    const long long radius = std::min(width, height) / 3;
    for (int y = 0; y < height; ++y) {
        Pixel* row = image.Row(y);
        std::uint32_t h = seed ^ (static_cast<std::uint32_t>(y) * 0x9E3779B1u);
        for (int x = 0; x < width; ++x) {
            h = h * 1664525u + 1013904223u;
            const int noise = static_cast<int>(h >> 29) - 3;
            const long long dx = x - cx;
            const long long dy = y - cy;
            int r, g, b;
            if (dx * dx + dy * dy < radius * radius) {
                r = 200 - static_cast<int>(dy * 60 / radius) + noise * 2;
                g = 120 + static_cast<int>(dx * 50 / radius) + noise;
                b = 60 + noise * 3;
            } else if (cutOut) {
                r = g = b = 255;
            } else {
                r = 225 - y * 30 / height + noise;
                g = 228 - y * 30 / height + noise;
                b = 235 - y * 20 / height + noise;
            }
            row[x] = PixelFromColour(
                Rgb(std::clamp(r, 0, 255), std::clamp(g, 0, 255), std::clamp(b, 0, 255)));
        }
    }
    return image;
}

bool EnsurePng(const std::filesystem::path& path, int width, int height, std::uint32_t seed,
               bool cutOut) {
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) {
        return true;
    }
    std::fprintf(stderr, "writing %s ...\n", path.c_str());
    const Bitmap image = MakePhoto(width, height, seed, cutOut);
    OutputBuffer out;
    if (image.IsNull() || !EncodePng(image, cutOut ? Rgb(255, 255, 255) : kNoColour, out)) {
        return false;
    }
    const std::filesystem::path partial = path.string() + ".part";
    std::ofstream file(partial, std::ios::binary);
    file.write(reinterpret_cast<const char*>(out.Data()), static_cast<std::streamsize>(out.Size()));
    file.close();
    if (!file) {
        return false;
    }
    std::filesystem::rename(partial, path, ec);
    return !ec;
}

// Wall time of one `palvex-cli info FILE`, its output thrown away, and its processor time.
double TimeCliInfo(const std::string& cli, const std::string& file, double* cpuMs = nullptr) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv = {const_cast<char*>(cli.c_str()), const_cast<char*>("info"),
                               const_cast<char*>(file.c_str()), nullptr};
    const auto start = Clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, cli.c_str(), &actions, nullptr, argv.data(), environ) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return -1;
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const double ms = MillisecondsSince(start);
    if (cpuMs != nullptr) {
        *cpuMs = Milliseconds(usage.ru_utime) + Milliseconds(usage.ru_stime);
    }
    posix_spawn_file_actions_destroy(&actions);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? ms : -1;
}

long StatusKiB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) {
            return std::atol(line.c_str() + std::strlen(field));
        }
    }
    return -1;
}
long ResidentKiB() {
    return StatusKiB("VmRSS:");
}

// A clipboard that takes every picture and keeps none: the copy made for it is not the
// editor's memory.
class DroppingClipboard final : public ui::ImageClipboard {
public:
    bool HasImage() const override { return false; }
    QImage Image() const override { return {}; }
    bool SetImage(const QImage&) override { return true; }
};

// Answers the open dialog with the file set before each command.
class OpeningPrompter final : public Prompter {
public:
    // The question whether to save edits is answered No; anything else means the measured work
    // did not happen, and is shown.
    Answer Show(const MessageRequest& request) override {
        if (request.icon != MessageIcon::Question) {
            std::fprintf(stderr, "message %d: %s\n", request.id, request.Text().c_str());
        }
        return Answer::No;
    }
    std::optional<SaveFileChoice> AskOpenFile(const OpenFileRequest&) override {
        return SaveFileChoice{next, 1};
    }
    std::filesystem::path next;
};

struct Editor {
    explicit Editor(const std::filesystem::path& folder)
        : work(folder / "work-root/"), app({prompter, store, shell, work, {}}) {}

    // From the open command to the canvas repainted with the new image and the events it
    // queued handled.
    double Open(const std::filesystem::path& path) {
        prompter.next = path;
        repaints = 0;
        const auto start = Clock::now();
        app.Router().Dispatch(cmd::ID_FILE_OPEN);
        QApplication::processEvents();
        return MillisecondsSince(start);
    }
    // The file is the document and the canvas was drawn with it.
    bool Holds(const std::filesystem::path& path) {
        return app.Document().PathName() == path && !app.Model().image.WorkImage.IsNull() &&
               repaints > 0;
    }
    void CountRepaints() {
        QObject::connect(app.View(), &ui::CVemmarView::ImageLayerRepainted, [this] { ++repaints; });
    }
    void New() {
        app.Router().Dispatch(cmd::ID_FILE_NEW);
        QApplication::processEvents();
    }
    void Click(QPointF at) { bench::ClickCanvas(app, at); }
    // Edits of every kind that keeps memory: a recorded fill, whole-image passes with their
    // snapshots, a pen stroke over the whole image, and a floating copy of the whole image.
    void Edit() {
        auto& router = app.Router();
        router.Dispatch(cmd::ID_PAINT);
        Click({5, 5});
        router.Dispatch(cmd::ID_ROT_180);
        router.Dispatch(cmd::ID_GRAY_SCALE);
        router.Dispatch(cmd::ID_PEN);
        router.Dispatch(cmd::ID_HANI_ALL);
        Click({300, 300});
        router.Dispatch(cmd::ID_HANI_ALL);
        router.Dispatch(cmd::ID_SELECT);
        auto& selection =
            dynamic_cast<ui::SelectionTool&>(app.MainFrame()->Input()->Hooks().Selection());
        selection.SetClipboard(std::make_unique<DroppingClipboard>());
        router.Dispatch(cmd::ID_EDIT_SELECT_ALL);
        router.Dispatch(cmd::ID_EDIT_COPY);
        app.View()->WaitForHistoryWrites();
        QApplication::processEvents();
        // Nobody is there to answer whether to save the edits.
        app.Document().SetModifiedFlag(false);
    }

    OpeningPrompter prompter;
    MemorySettings store;
    bench::NoShell shell;
    WorkFolder work;
    ui::CVemmarApp app;
    int repaints = 0;
};

struct Range {
    std::vector<double> values;
    double Min() const { return *std::min_element(values.begin(), values.end()); }
    double Max() const { return *std::max_element(values.begin(), values.end()); }
    double Median() const {
        std::vector<double> sorted = values;
        std::sort(sorted.begin(), sorted.end());
        return sorted[sorted.size() / 2];
    }
};

int Run(int argc, char** argv) {
    int rounds = 5;
    bool navigator = false;
    bool cutOut = false;
    int width = 10000;
    int height = 10000;
    std::filesystem::path folder = "/tmp/palvex-load-bench";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--rounds" && i + 1 < argc) {
            rounds = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--navigator") {
            navigator = true;
        } else if (arg == "--alpha") {
            cutOut = true;
        } else if (arg == "--size" && i + 1 < argc) {
            if (std::sscanf(argv[++i], "%dx%d", &width, &height) != 2) {
                return 2;
            }
        } else if (arg == "--folder" && i + 1 < argc) {
            folder = argv[++i];
        } else {
            std::fprintf(stderr, "unknown argument %s\n", arg.c_str());
            return 2;
        }
    }
    std::error_code ec;
    std::filesystem::create_directories(folder / "work-root", ec);
    const std::string name =
        std::to_string(width) + "x" + std::to_string(height) + (cutOut ? "-alpha.png" : ".png");
    const std::filesystem::path a = folder / ("photo-a-" + name);
    const std::filesystem::path b = folder / ("photo-b-" + name);
    if (!EnsurePng(a, width, height, 1, cutOut) || !EnsurePng(b, width, height, 2, cutOut)) {
        std::fprintf(stderr, "cannot write the test images\n");
        return 1;
    }
    const std::string cli = PALVEX_CLI_PATH;

    Editor editor(folder);
    if (!editor.app.InitInstance({}) || !bench::ShowEditor(editor.app)) {
        std::fprintf(stderr, "no editor\n");
        return 1;
    }
    editor.CountRepaints();
    if (navigator) {
        editor.app.Router().Dispatch(cmd::ID_NAVI_DSP);
    }
    const long rssEmpty = ResidentKiB();

    // Three measurements a round, their order turning from round to round: the editor's open
    // from an empty editor (New first, not timed), `palvex-cli info`, and the loader alone in
    // this process (what both spend decoding).
    // One of each first, not counted: the first run of each pays for a cold file cache and
    // fresh heap, which says nothing about either.
    editor.Open(a);
    editor.New();
    TimeCliInfo(cli, a.string());
    Range editorMs;
    Range cliMs;
    Range loaderMs;
    Range ratios;
    Range cpuRatios;
    Range replaceMs;
    std::printf(
        "round  editor_ms  cli_ms  loader_ms  editor/cli  editor/loader  "
        "editor_cpu  cli_cpu  cpu_ratio\n");
    for (int round = 0; round < rounds; ++round) {
        double times[3] = {};
        double cpu[2] = {};
        for (int turn = 0; turn < 3; ++turn) {
            const int which = (turn + round) % 3;
            if (which == 0) {
                editor.New();
                const double before = OwnCpuMs();
                times[0] = editor.Open(a);
                cpu[0] = OwnCpuMs() - before;
                if (!editor.Holds(a)) {
                    std::fprintf(stderr, "the editor did not open %s\n", a.c_str());
                    return 1;
                }
            } else if (which == 1) {
                times[1] = TimeCliInfo(cli, a.string(), &cpu[1]);
                if (times[1] < 0) {
                    std::fprintf(stderr, "%s info failed\n", cli.c_str());
                    return 1;
                }
            } else {
                // The editor's image is let go first, as the CLI starts without one.
                editor.New();
                const auto start = Clock::now();
                const LoadResult loaded = LoadImageFile(a, 1, editor.prompter);
                times[2] = MillisecondsSince(start);
                if (!loaded.ok) {
                    return 1;
                }
            }
        }
        editorMs.values.push_back(times[0]);
        cliMs.values.push_back(times[1]);
        loaderMs.values.push_back(times[2]);
        ratios.values.push_back(times[0] / times[1]);
        cpuRatios.values.push_back(cpu[0] / cpu[1]);
        std::printf("%5d  %9.0f  %6.0f  %9.0f  %10.2f  %13.2f  %9.0f  %6.0f  %8.2f\n", round + 1,
                    times[0], times[1], times[2], times[0] / times[1], times[0] / times[2], cpu[0],
                    cpu[1], cpu[0] / cpu[1]);
        std::fflush(stdout);
        // Opening over an open image of the same size: the old one is given back on the way.
        replaceMs.values.push_back(editor.Open(b));
    }
    const auto print = [](const char* what, const Range& range) {
        std::printf("%-18s min %6.0f  median %6.0f  max %6.0f\n", what, range.Min(), range.Median(),
                    range.Max());
    };
    print("editor open ms", editorMs);
    print("cli info ms", cliMs);
    print("loader alone ms", loaderMs);
    print("open over open ms", replaceMs);
    std::printf("editor/cli         min %6.2f  median %6.2f  max %6.2f  (target <= 1.10)\n",
                ratios.Min(), ratios.Median(), ratios.Max());
    std::printf("processor time     min %6.2f  median %6.2f  max %6.2f  (editor/cli)\n",
                cpuRatios.Min(), cpuRatios.Median(), cpuRatios.Max());

    // Resident memory: each load must give back every buffer of the image before it, edited or
    // not.
    const double imageMiB = 4.0 * width * height / (1024.0 * 1024.0);
    editor.New();
    const long rssNew0 = ResidentKiB();
    editor.Open(a);
    const long rssA = ResidentKiB();
    editor.Open(b);
    const long rssB = ResidentKiB();
    editor.New();
    const long rssNew = ResidentKiB();
    std::printf(
        "image %.0f MiB; resident MiB: started %.0f, after New %.0f, load A %.0f, "
        "load B %.0f, New %.0f\n",
        imageMiB, rssEmpty / 1024.0, rssNew0 / 1024.0, rssA / 1024.0, rssB / 1024.0,
        rssNew / 1024.0);
    editor.Open(a);
    const long rssOpen = ResidentKiB();
    editor.Edit();
    const long rssEdited = ResidentKiB();
    editor.Open(b);
    const long rssAfterEdited = ResidentKiB();
    editor.Edit();
    editor.New();
    const long rssNewAfterEdited = ResidentKiB();
    std::printf(
        "with edits, resident MiB: load A %.0f, edited %.0f, load B %.0f, edited and New "
        "%.0f; peak %.0f\n",
        rssOpen / 1024.0, rssEdited / 1024.0, rssAfterEdited / 1024.0, rssNewAfterEdited / 1024.0,
        StatusKiB("VmHWM:") / 1024.0);
    editor.app.Document().SetModifiedFlag(false);
    editor.app.MainFrame()->close();
    return 0;
}

}  // namespace
}  // namespace palvex

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    return palvex::Run(argc, argv);
}
