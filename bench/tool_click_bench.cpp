// A flood-fill click on the real editor, from the press to the repainted canvas, beside a memcpy
// of the image and beside each of its steps (the fill with and without its undo record, the full
// repaint, and the whole-image snapshot other steps make), and its undo and redo, all in one run.
// Runs on the offscreen platform.

#include <QApplication>
#include <QMouseEvent>
#include <QWindow>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include <benchmark/benchmark.h>

#include "app/ui/vemmar_app.h"
#include "base/prompter.h"
#include "base/settings_store.h"
#include "bench/bench_services.h"
#include "canvas/ui/navi_dlg.h"
#include "canvas/ui/navigator_tool.h"
#include "canvas/ui/vemmar_view.h"
#include "mainwindow/ui/main_frame.h"
#include "resources/command_ids.h"
#include "tools/colour_tools.h"

namespace palvex {
namespace {

using bench::NoShell;
using bench::PrintingPrompter;

// A plain white background around a photo-like object (a gradient with noise) that fills the
// middle ninth of the picture.
void PaintBackgroundPicture(Bitmap& image) {
    const int w = image.Width();
    const int h = image.Height();
    std::uint32_t noise = 12345;
    for (int y = 0; y < h; ++y) {
        Pixel* row = image.Row(y);
        const bool band = y >= h / 3 && y < 2 * h / 3;
        for (int x = 0; x < w; ++x) {
            if (band && x >= w / 3 && x < 2 * w / 3) {
                noise = noise * 1664525u + 1013904223u;
                row[x] =
                    PixelFromColour(Rgb(x * 255 / w, y * 255 / h, static_cast<int>(noise >> 24)));
            } else {
                row[x] = PixelFromColour(Rgb(255, 255, 255));
            }
        }
    }
}

// The editor with an image of the given size in flood-fill mode, shown at 100 % in a window of
// 1920 x 1080.
struct Editor {
    explicit Editor(int width, int height) : app(AppServices()) {
        ok = app.InitInstance({});
        ImageState& image = app.Model().image;
        ok = ok && image.WorkImage.Create(width, height);
        if (!ok) {
            return;
        }
        PaintBackgroundPicture(image.WorkImage);
        image.width = width;
        image.height = height;
        image.TransparentColor = Rgb(0, 255, 0);
        ok = bench::ShowEditor(app);
        app.Router().Dispatch(cmd::ID_PAINT);
    }
    ui::AppServices AppServices() { return {prompter, store, shell, WorkFolder(), {}}; }
    // One click at (5, 5), on the background; each click paints the other of two colours, so
    // every click fills the whole background.
    void Click() {
        colour = colour == Rgb(255, 0, 0) ? Rgb(0, 0, 255) : Rgb(255, 0, 0);
        app.Model().settings.drawColour = colour;
        QWidget* viewport = app.View()->viewport();
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5),
                          viewport->mapToGlobal(QPointF(5, 5)), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(viewport, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5),
                            viewport->mapToGlobal(QPointF(5, 5)), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(viewport, &release);
    }

    PrintingPrompter prompter;
    MemorySettings store;
    NoShell shell;
    ui::CVemmarApp app;
    bool ok = false;
    Colour colour = Rgb(255, 255, 255);
};

void MemcpyOf(benchmark::State& state, int width, int height) {
    const std::size_t bytes =
        std::size_t{4} * static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    std::vector<std::uint8_t> from(bytes, 1);
    std::vector<std::uint8_t> to(bytes, 2);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}

int Width(const benchmark::State& state) {
    return static_cast<int>(state.range(0));
}
int Height(const benchmark::State& state) {
    return static_cast<int>(state.range(1));
}

void BM_Memcpy(benchmark::State& state) {
    MemcpyOf(state, Width(state), Height(state));
}

// From the press to the repainted canvas: snapshot, fill, full repaint.
void BM_FloodFillClick(benchmark::State& state) {
    Editor editor(Width(state), Height(state));
    if (!editor.ok) {
        state.SkipWithError("no editor");
        return;
    }
    for (auto _ : state) {
        editor.Click();
        // Clicks come seconds apart: the snapshot's background write is not the next click's.
        state.PauseTiming();
        editor.app.View()->WaitForHistoryWrites();
        state.ResumeTiming();
    }
}

// The steps of the click, one by one.
void BM_StepSnapshot(benchmark::State& state) {
    Editor editor(Width(state), Height(state));
    if (!editor.ok) {
        state.SkipWithError("no editor");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(editor.app.View()->PushImageSnapshot({}));
        state.PauseTiming();
        editor.app.View()->WaitForHistoryWrites();
        state.ResumeTiming();
    }
}

void BM_StepFill(benchmark::State& state) {
    Editor editor(Width(state), Height(state));
    if (!editor.ok) {
        state.SkipWithError("no editor");
        return;
    }
    Bitmap& image = editor.app.Model().image.WorkImage;
    Colour colour = Rgb(255, 0, 0);
    for (auto _ : state) {
        colour = colour == Rgb(255, 0, 0) ? Rgb(0, 0, 255) : Rgb(255, 0, 0);
        benchmark::DoNotOptimize(FloodFillAt(image, {5, 5}, colour));
    }
}

// The fill as the click makes it: gathering its undo record on the way.
void BM_StepFillRecorded(benchmark::State& state) {
    Editor editor(Width(state), Height(state));
    if (!editor.ok) {
        state.SkipWithError("no editor");
        return;
    }
    Bitmap& image = editor.app.Model().image.WorkImage;
    Colour colour = Rgb(255, 0, 0);
    FillRecord record;
    for (auto _ : state) {
        colour = colour == Rgb(255, 0, 0) ? Rgb(0, 0, 255) : Rgb(255, 0, 0);
        benchmark::DoNotOptimize(FloodFillAt(image, {5, 5}, colour, &record));
    }
    state.counters["record_kib"] = static_cast<double>(record.Bytes()) / 1024.0;
}

// Undo and redo of the click's fill, each to the repainted canvas.
void FillUndoOrRedo(benchmark::State& state, bool undo) {
    Editor editor(Width(state), Height(state));
    if (!editor.ok) {
        state.SkipWithError("no editor");
        return;
    }
    auto& router = editor.app.Router();
    for (auto _ : state) {
        state.PauseTiming();
        editor.Click();
        if (!undo) {
            router.Dispatch(cmd::ID_UNDO);
        }
        state.ResumeTiming();
        router.Dispatch(undo ? cmd::ID_UNDO : cmd::ID_REDO);
    }
}
void BM_FloodFillUndo(benchmark::State& state) {
    FillUndoOrRedo(state, true);
}
void BM_FloodFillRedo(benchmark::State& state) {
    FillUndoOrRedo(state, false);
}

void BM_StepFullRepaint(benchmark::State& state) {
    Editor editor(Width(state), Height(state));
    if (!editor.ok) {
        state.SkipWithError("no editor");
        return;
    }
    ui::CVemmarView& view = *editor.app.View();
    for (auto _ : state) {
        view.SetDirtyRect({});
        view.RepaintNow();
    }
}

// A floating picture as large as the image, dragged by a few pixels: press inside, one move (its
// outline follows), release (the canvas repainted with the picture at its new place, of which
// only the part in the window is stretched).
void BM_FloatingPictureDrag(benchmark::State& state) {
    Editor editor(Width(state), Height(state));
    if (!editor.ok) {
        state.SkipWithError("no editor");
        return;
    }
    editor.app.Router().Dispatch(cmd::ID_SELECT);
    editor.app.Router().Dispatch(cmd::ID_EDIT_SELECT_ALL);
    editor.app.Router().Dispatch(cmd::ID_EDIT_COPY);
    QWidget* viewport = editor.app.View()->viewport();
    const auto send = [viewport](QEvent::Type type, QPointF p, Qt::MouseButtons held) {
        QMouseEvent event(type, p, viewport->mapToGlobal(p),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                          Qt::NoModifier);
        QApplication::sendEvent(viewport, &event);
    };
    int step = 1;
    for (auto _ : state) {
        step = -step;  // back and forth, so the picture stays in view
        send(QEvent::MouseButtonPress, {500, 400}, Qt::LeftButton);
        send(QEvent::MouseMove, {500.0 + 3 * step, 400}, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, {500.0 + 3 * step, 400}, Qt::NoButton);
    }
}

// 6000 x 4000, and 100 megapixels, where the click must return within 100 ms.
#define PALVEX_SIZES \
    Args({6000, 4000})->Args({10000, 10000})->Unit(benchmark::kMillisecond)->UseRealTime()
BENCHMARK(BM_Memcpy)->PALVEX_SIZES;
BENCHMARK(BM_FloodFillClick)->PALVEX_SIZES;
BENCHMARK(BM_StepSnapshot)->PALVEX_SIZES;
BENCHMARK(BM_StepFill)->PALVEX_SIZES;
BENCHMARK(BM_StepFillRecorded)->PALVEX_SIZES;
BENCHMARK(BM_FloodFillUndo)->PALVEX_SIZES;
BENCHMARK(BM_FloodFillRedo)->PALVEX_SIZES;
BENCHMARK(BM_StepFullRepaint)->PALVEX_SIZES;
BENCHMARK(BM_FloatingPictureDrag)->PALVEX_SIZES;
#undef PALVEX_SIZES

// One tick of the pointer animation: the previous dots put back from the composed frame and ten
// rings drawn again, on a 1920 x 1080 view over a 100-megapixel image.
void BM_AnimationTick(benchmark::State& state) {
    Editor editor(10000, 10000);
    if (!editor.ok) {
        state.SkipWithError("no editor");
        return;
    }
    editor.app.Model().settings.animationRings = 10;
    ui::PointerAnimator& animator = editor.app.MainFrame()->Navigator()->Animator();
    if (!animator.Start({900, 500})) {
        state.SkipWithError("no rings");
        return;
    }
    for (auto _ : state) {
        animator.Tick();
    }
    animator.Stop();
}
BENCHMARK(BM_AnimationTick)->Unit(benchmark::kMicrosecond)->UseRealTime();

// A scroll of the canvas with the navigator shown: the canvas and the navigator repainted, the
// navigator's picture of the 100-megapixel image made once before and never again.
void BM_ScrollWithNavigator(benchmark::State& state) {
    Editor editor(10000, 10000);
    if (!editor.ok) {
        state.SkipWithError("no editor");
        return;
    }
    editor.app.Router().Dispatch(cmd::ID_NAVI_DSP);
    ui::CNaviDlg* navigator = editor.app.MainFrame()->Navigator()->Navigator();
    navigator->resize(300, 300);
    navigator->repaint();
    ui::CVemmarView& view = *editor.app.View();
    int x = 0;
    for (auto _ : state) {
        x = (x + 97) % 5000;
        view.ScrollTo({x, x});
        view.RepaintNow();
        navigator->repaint();
    }
}
BENCHMARK(BM_ScrollWithNavigator)->Unit(benchmark::kMillisecond)->UseRealTime();

// Making the navigator's averaged picture of a 100-megapixel image (once per load).
void BM_NavigatorPicture(benchmark::State& state) {
    Editor editor(10000, 10000);
    if (!editor.ok) {
        state.SkipWithError("no editor");
        return;
    }
    const ImageState& image = editor.app.Model().image;
    Bitmap picture;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            MakeNavigatorPicture(image.WorkImage, image.TransparentColor, {300, 300}, picture));
    }
}
BENCHMARK(BM_NavigatorPicture)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace palvex

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
