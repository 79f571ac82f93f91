// The edits that make an undo step of the whole image or of a large region, on the real editor
// at 10000 x 10000, each from the command to the repainted canvas with its undo step, and their
// undos. Every iteration times its reference right beside the edit (the flood fill of the same
// pixels for the barrier, a memcpy of the image for the whole-image passes) and reports the
// ratio of the two sums (x_ref): on a shared machine only such pairs are comparable. Runs on the
// offscreen platform.

#include <QApplication>
#include <chrono>
#include <cstring>
#include <functional>
#include <vector>

#include <benchmark/benchmark.h>

#include "app/ui/vemmar_app.h"
#include "barrier/ui/barrier_tool.h"
#include "base/settings_store.h"
#include "bench/bench_services.h"
#include "canvas/ui/vemmar_view.h"
#include "image/raster/draw.h"
#include "mainwindow/ui/main_frame.h"
#include "resources/command_ids.h"
#include "tools/ui/canvas_input.h"

namespace palvex {
namespace {

using Clock = std::chrono::steady_clock;
constexpr int kSide = 10000;
constexpr Colour kWhite = Rgb(255, 255, 255);
constexpr Colour kKey = Rgb(0, 255, 0);

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// White, with a photo-like object (a gradient with noise) over `object` when it is not empty,
// and a black one-pixel frame around `frame` when that is not empty.
void Paint(Bitmap& image, const Rect& object, const Rect& frame) {
    std::uint32_t noise = 12345;
    for (int y = 0; y < image.Height(); ++y) {
        Pixel* row = image.Row(y);
        for (int x = 0; x < image.Width(); ++x) {
            if (object.Contains(x, y)) {
                noise = noise * 1664525u + 1013904223u;
                row[x] = PixelFromColour(Rgb(x * 255 / image.Width(), y * 255 / image.Height(),
                                             static_cast<int>(noise >> 24)));
            } else {
                row[x] = PixelFromColour(kWhite);
            }
        }
    }
    if (!frame.IsEmpty()) {
        FillRect(image, {frame.left, frame.top, frame.right, frame.top + 1}, Rgb(0, 0, 0));
        FillRect(image, {frame.left, frame.bottom - 1, frame.right, frame.bottom}, Rgb(0, 0, 0));
        FillRect(image, {frame.left, frame.top, frame.left + 1, frame.bottom}, Rgb(0, 0, 0));
        FillRect(image, {frame.right - 1, frame.top, frame.right, frame.bottom}, Rgb(0, 0, 0));
    }
}

// The middle ninth, where the object sits.
constexpr Rect kObject{kSide / 3, kSide / 3, 2 * kSide / 3, 2 * kSide / 3};

struct Editor {
    explicit Editor(const Rect& object, const Rect& frame = {}, Size size = {kSide, kSide})
        : app(Services()) {
        ok = app.InitInstance({});
        ImageState& image = app.Model().image;
        ok = ok && image.WorkImage.Create(size.width, size.height);
        if (!ok) {
            return;
        }
        Paint(image.WorkImage, object, frame);
        image.width = size.width;
        image.height = size.height;
        image.TransparentColor = kKey;
        ok = bench::ShowEditor(app);
    }
    ui::AppServices Services() { return {prompter, store, shell, WorkFolder(), {}}; }
    void Run(int id) { app.Router().Dispatch(id); }
    void Click(QPointF p) { bench::ClickCanvas(app, p); }
    // A flood fill at the window point, in the colour the barrier writes.
    void Fill(QPointF p) {
        Run(cmd::ID_PAINT);
        app.Model().settings.drawColour = kKey;
        Click(p);
    }
    void PlaceBarrier(const Rect& r) {
        Run(cmd::ID_BARRIER);
        auto& tool = dynamic_cast<ui::BarrierTool&>(app.MainFrame()->Input()->Hooks().Barrier());
        const std::vector<Point> square{
            {r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}};
        ok = ok && tool.Model().ReplaceVertices(square);
    }
    // The reference fill undone, and the barrier mode back.
    void RestoreForBarrier() {
        Run(cmd::ID_UNDO);
        Run(cmd::ID_BARRIER);
    }

    bench::PrintingPrompter prompter;
    MemorySettings store;
    bench::NoShell shell;
    ui::CVemmarApp app;
    bool ok = false;
};

// The pair of one iteration: the reference, then the edit; `between` and `after` (untimed) put
// the image back for the edit and for the next iteration.
void Paired(
    benchmark::State& state, Editor& editor, const std::function<void()>& reference,
    const std::function<void()>& edit, const std::function<void()>& after,
    const std::function<void()>& between = [] {}) {
    if (!editor.ok) {
        state.SkipWithError("no editor");
        return;
    }
    // Once untimed first: the first edit after a load maps fresh memory, which the ones after
    // it find mapped. Its time is shown apart.
    reference();
    between();
    auto start = Clock::now();
    edit();
    state.counters["cold_ms"] = Seconds(start) * 1000;
    after();
    double referenceSum = 0;
    double editSum = 0;
    for (auto _ : state) {
        start = Clock::now();
        reference();
        referenceSum += Seconds(start);
        between();
        start = Clock::now();
        edit();
        const double took = Seconds(start);
        editSum += took;
        state.SetIterationTime(took);
        after();
    }
    state.counters["x_ref"] = editSum / referenceSum;
    state.counters["ref_ms"] =
        benchmark::Counter(referenceSum * 1000, benchmark::Counter::kAvgIterations);
}

// The reference of the whole-image passes: one copy of the image into memory already in use.
struct Memcpy {
    Memcpy() : from(std::size_t{kSide} * kSide, 1), to(from.size(), 2) {}
    void operator()() {
        std::memcpy(to.data(), from.data(), from.size() * sizeof(Pixel));
        benchmark::ClobberMemory();
    }
    std::vector<Pixel> from;
    std::vector<Pixel> to;
};

// Barrier outside around the object: it clears exactly the white pixels, as the flood fill from
// the corner does. The reference is that fill's click, undone before the command.
void BM_BarrierOutside(benchmark::State& state) {
    Editor editor(kObject);
    editor.PlaceBarrier({kObject.left - 1, kObject.top - 1, kObject.right, kObject.bottom});
    Paired(
        state, editor,
        [&editor] {
            editor.Fill({5, 5});
        },
        [&editor] { editor.Run(cmd::ID_BARI_OUT_TRANS); }, [&editor] { editor.Run(cmd::ID_UNDO); },
        [&editor] { editor.RestoreForBarrier(); });
}

// Barrier inside a black frame on white: the inside is the framed white, as the flood fill from
// a point inside the frame.
constexpr Rect kFrame{1000, 500, 9001, 9501};
void BM_BarrierInside(benchmark::State& state) {
    Editor editor({}, kFrame);
    editor.PlaceBarrier({kFrame.left, kFrame.top, kFrame.right - 1, kFrame.bottom - 1});
    Paired(
        state, editor,
        [&editor] {
            editor.Fill({1500, 800});
        },
        [&editor] { editor.Run(cmd::ID_BARI_IN_TRANS); }, [&editor] { editor.Run(cmd::ID_UNDO); },
        [&editor] { editor.RestoreForBarrier(); });
}

// Barrier inside around the many-coloured object: no record fits, so its snapshot is the
// changed area, against a memcpy of the image.
void BM_BarrierInsideManyColours(benchmark::State& state) {
    Editor editor(kObject);
    editor.PlaceBarrier({kObject.left - 1, kObject.top - 1, kObject.right, kObject.bottom});
    Memcpy memcpy;
    Paired(
        state, editor, memcpy, [&editor] { editor.Run(cmd::ID_BARI_IN_TRANS); },
        [&editor] {
            editor.app.View()->WaitForHistoryWrites();
            editor.Run(cmd::ID_UNDO);
        });
}

// The whole-image passes, by command; the pens by a click with the whole-image range.
enum Pass : int {
    kInvert,
    kMirrorX,
    kMirrorY,
    kTurn180,
    kTurnRight,
    kTurnLeft,
    kGreyscale,
    kPen,
    kFillBack,
};

void RunPass(Editor& editor, int pass) {
    switch (pass) {
        case kInvert:
            return editor.Run(cmd::ID_REVERSE);
        case kMirrorX:
            return editor.Run(cmd::ID_REVERSE_H);
        case kMirrorY:
            return editor.Run(cmd::ID_REVERSE_V);
        case kTurn180:
            return editor.Run(cmd::ID_ROT_180);
        case kTurnRight:
            return editor.Run(cmd::ID_ROT_90);
        case kTurnLeft:
            return editor.Run(cmd::ID_ROT_270);
        case kGreyscale:
            return editor.Run(cmd::ID_GRAY_SCALE);
        default:
            editor.Click({5, 5});
    }
}

// The pens' pass needs their mode and range; fill-back needs transparent pixels to refill (the
// white made the key).
void PreparePass(Editor& editor, int pass) {
    if (pass == kFillBack) {
        editor.Fill({5, 5});
    }
    if (pass == kPen || pass == kFillBack) {
        editor.Run(pass == kPen ? cmd::ID_PEN : cmd::ID_FILL_BACK_MODE);
        editor.app.Model().settings.wholeImage = 1;
        editor.app.Model().settings.allColours = 0;
        editor.app.Model().settings.drawColour = Rgb(255, 0, 0);
    }
}

void BM_WholeImagePass(benchmark::State& state) {
    Editor editor(kObject);
    const int pass = static_cast<int>(state.range(0));
    PreparePass(editor, pass);
    Memcpy memcpy;
    Paired(
        state, editor, memcpy, [&editor, pass] { RunPass(editor, pass); },
        [&editor] {
            editor.Run(cmd::ID_UNDO);
            // Passes come seconds apart: a snapshot's background write is not the next one's.
            editor.app.View()->WaitForHistoryWrites();
        });
}

void BM_WholeImagePassUndo(benchmark::State& state) {
    Editor editor(kObject);
    const int pass = static_cast<int>(state.range(0));
    PreparePass(editor, pass);
    Memcpy memcpy;
    RunPass(editor, pass);
    editor.app.View()->WaitForHistoryWrites();
    Paired(
        state, editor, memcpy, [&editor] { editor.Run(cmd::ID_UNDO); },
        [&editor, pass] {
            RunPass(editor, pass);
            // An undo comes seconds after the edit, when its snapshot is written.
            editor.app.View()->WaitForHistoryWrites();
        });
}

// The redo of a pass, which for the operations and the fill-back is the pass again without a
// new step.
void BM_WholeImagePassRedo(benchmark::State& state) {
    Editor editor(kObject);
    const int pass = static_cast<int>(state.range(0));
    PreparePass(editor, pass);
    Memcpy memcpy;
    RunPass(editor, pass);
    editor.app.View()->WaitForHistoryWrites();
    editor.Run(cmd::ID_UNDO);
    Paired(
        state, editor, memcpy, [&editor] { editor.Run(cmd::ID_REDO); },
        [&editor] {
            editor.Run(cmd::ID_UNDO);
            editor.app.View()->WaitForHistoryWrites();
        });
}

// The quarter turns of a photo's shape with the same pixel count as the square: each turn
// changes the image's size.
constexpr Size kWide{12500, 8000};
void BM_WideTurn(benchmark::State& state) {
    Editor editor(kObject, {}, kWide);
    const int pass = static_cast<int>(state.range(0));
    Memcpy memcpy;
    Paired(
        state, editor, memcpy, [&editor, pass] { RunPass(editor, pass); },
        [&editor] { editor.Run(cmd::ID_UNDO); });
}

void BM_WideTurnUndo(benchmark::State& state) {
    Editor editor(kObject, {}, kWide);
    const int pass = static_cast<int>(state.range(0));
    Memcpy memcpy;
    RunPass(editor, pass);
    Paired(
        state, editor, memcpy, [&editor] { editor.Run(cmd::ID_UNDO); },
        [&editor, pass] { RunPass(editor, pass); });
}

#define PALVEX_PASSES                   \
    Arg(kInvert)                        \
        ->Arg(kMirrorX)                 \
        ->Arg(kMirrorY)                 \
        ->Arg(kTurn180)                 \
        ->Arg(kTurnRight)               \
        ->Arg(kTurnLeft)                \
        ->Arg(kGreyscale)               \
        ->Arg(kPen)                     \
        ->Arg(kFillBack)                \
        ->Unit(benchmark::kMillisecond) \
        ->UseManualTime()
BENCHMARK(BM_BarrierOutside)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_BarrierInside)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_BarrierInsideManyColours)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_WholeImagePass)->PALVEX_PASSES;
BENCHMARK(BM_WholeImagePassUndo)->PALVEX_PASSES;
BENCHMARK(BM_WideTurn)
    ->Arg(kTurnRight)
    ->Arg(kTurnLeft)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();
BENCHMARK(BM_WideTurnUndo)
    ->Arg(kTurnRight)
    ->Arg(kTurnLeft)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();
BENCHMARK(BM_WholeImagePassRedo)
    ->Arg(kTurnRight)
    ->Arg(kTurnLeft)
    ->Arg(kFillBack)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();
#undef PALVEX_PASSES

}  // namespace
}  // namespace palvex
