// A pen stroke on the real editor: from the press to the first application repainted on the
// canvas, beside a memcpy of the image (what a copy of the image at the press would cost at the
// least), and the whole stroke with its undo step. Runs on the offscreen platform.

#include <QApplication>
#include <QMouseEvent>
#include <QWindow>
#include <cstdio>
#include <cstring>
#include <vector>

#include <benchmark/benchmark.h>

#include "app/ui/vemmar_app.h"
#include "base/prompter.h"
#include "base/settings_store.h"
#include "bench/bench_services.h"
#include "canvas/ui/vemmar_view.h"
#include "mainwindow/ui/main_frame.h"
#include "resources/command_ids.h"

namespace palvex {
namespace {

using bench::NoShell;
using bench::PrintingPrompter;

// The editor with a grey image in the transparent pen's mode at 100 % in a 1920 x 1080 window,
// the range a rectangle of `size`.
struct Editor {
    Editor(int width, int height, int size) : app(AppServices()) {
        ok = app.InitInstance({});
        ImageState& image = app.Model().image;
        ok = ok && image.WorkImage.Create(width, height);
        if (!ok) {
            return;
        }
        const std::size_t count = image.WorkImage.PixelCount();
        Pixel* data = image.WorkImage.Data();
        std::fill(data, data + count, PixelFromColour(Rgb(100, 100, 100)));
        image.width = width;
        image.height = height;
        image.TransparentColor = Rgb(0, 255, 0);
        app.Model().settings.rangeSize = size;
        ok = bench::ShowEditor(app);
        app.Router().Dispatch(cmd::ID_PEN_TRANS);
    }
    ui::AppServices AppServices() { return {prompter, store, shell, WorkFolder(), {}}; }

    void Send(QEvent::Type type, QPointF p, Qt::MouseButton button, Qt::MouseButtons held) {
        QWidget* viewport = app.View()->viewport();
        QMouseEvent event(type, p, viewport->mapToGlobal(p), button, held, Qt::NoModifier);
        QApplication::sendEvent(viewport, &event);
    }
    // The press and the first move of the stroke: the move applies the pen and repaints.
    void PressAndFirstMove() {
        Send(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
        Send(QEvent::MouseMove, at + QPointF(1, 0), Qt::NoButton, Qt::LeftButton);
    }
    void Release() {
        Send(QEvent::MouseButtonRelease, at + QPointF(1, 0), Qt::LeftButton, Qt::NoButton);
    }

    PrintingPrompter prompter;
    MemorySettings store;
    NoShell shell;
    ui::CVemmarApp app;
    bool ok = false;
    QPointF at{600, 400};
};

int Width(const benchmark::State& state) {
    return static_cast<int>(state.range(0));
}
int Height(const benchmark::State& state) {
    return static_cast<int>(state.range(1));
}

void BM_MemcpyOfImage(benchmark::State& state) {
    const std::size_t bytes = std::size_t{4} * static_cast<std::size_t>(Width(state)) *
                              static_cast<std::size_t>(Height(state));
    std::vector<std::uint8_t> from(bytes, 1);
    std::vector<std::uint8_t> to(bytes, 2);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}

// From the press to the first application on the screen; the release and its undo step are
// left out of the time.
void BM_PressToFirstRepaintedApplication(benchmark::State& state) {
    Editor editor(Width(state), Height(state), static_cast<int>(state.range(2)));
    if (!editor.ok) {
        state.SkipWithError("no editor");
        return;
    }
    for (auto _ : state) {
        editor.PressAndFirstMove();
        state.PauseTiming();
        editor.Release();
        editor.app.View()->WaitForHistoryWrites();
        state.ResumeTiming();
    }
}

// A click: press, the application at the release, the undo step of the stroke's rectangle.
void BM_ClickWithItsUndoStep(benchmark::State& state) {
    Editor editor(Width(state), Height(state), static_cast<int>(state.range(2)));
    if (!editor.ok) {
        state.SkipWithError("no editor");
        return;
    }
    for (auto _ : state) {
        editor.Send(QEvent::MouseButtonPress, editor.at, Qt::LeftButton, Qt::LeftButton);
        editor.Send(QEvent::MouseButtonRelease, editor.at, Qt::LeftButton, Qt::NoButton);
        state.PauseTiming();
        editor.app.View()->WaitForHistoryWrites();
        state.ResumeTiming();
    }
}

// 100 megapixels, with the default range and the largest.
BENCHMARK(BM_MemcpyOfImage)->Args({10000, 10000})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PressToFirstRepaintedApplication)
    ->Args({10000, 10000, 30})
    ->Args({10000, 10000, 500})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_ClickWithItsUndoStep)
    ->Args({10000, 10000, 30})
    ->Args({10000, 10000, 500})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

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
