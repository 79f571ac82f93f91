// The canvas repaint path (image layer into the screen buffer, then one copy to the window
// surface) beside a plain QPainter::drawImage of the same area, in the same run.

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include "bench/bench_images.h"
#include "canvas/canvas_mapping.h"
#include "canvas/image_layer.h"

namespace palvex {
namespace {

using bench::kImageHeight;
using bench::kImageWidth;
using bench::kKey;
using bench::kViewHeight;
using bench::kViewWidth;

const Bitmap& LargeImage() {
    return bench::LargeKeyedImage();
}

QImage WrapImage(const Bitmap& bitmap) {
    return QImage(reinterpret_cast<const uchar*>(bitmap.Data()), bitmap.Width(), bitmap.Height(),
                  static_cast<qsizetype>(bitmap.Stride()), QImage::Format_RGB32);
}

float Zoom(const benchmark::State& state) {
    return static_cast<float>(state.range(0)) / 10.0f;
}

// A scroll position in the middle of the zoomed image.
Point MiddleScroll(float zoom) {
    const Size extent = ScrollExtent(kImageWidth, kImageHeight, zoom);
    return {std::max(0, (extent.width - kViewWidth) / 2),
            std::max(0, (extent.height - kViewHeight) / 2)};
}

// What every canvas benchmark draws with: a screen buffer, the tiles and a mid-image scroll.
struct Canvas {
    explicit Canvas(benchmark::State& state)
        : zoom(Zoom(state)),
          tiles{MakeCheckerTile(), MakeIconTile(), {}},
          scroll(MiddleScroll(zoom)) {
        if (!screen.Create(kViewWidth, kViewHeight)) {
            state.SkipWithError("no memory");
        }
    }
    Rect Draw(const Rect& dirty = {}) {
        return DrawImageLayer(screen, scroll, {LargeImage(), kKey, zoom}, dirty, kBackgroundChecker,
                              tiles);
    }

    float zoom;
    Bitmap screen;
    BackgroundTiles tiles;
    Point scroll;
};

void BM_CanvasRepaint(benchmark::State& state) {
    Canvas canvas(state);
    Bitmap& screen = canvas.screen;
    const float zoom = canvas.zoom;
    const Point scroll = canvas.scroll;
    QImage window(kViewWidth, kViewHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        canvas.Draw();
        FillBeyondImage(screen, scroll, ScrollExtent(kImageWidth, kImageHeight, zoom),
                        {kViewWidth, kViewHeight});
        QPainter painter(&window);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, WrapImage(screen));
        benchmark::DoNotOptimize(window.constBits());
    }
}

// The two halves of the repaint, to see where the time goes.
void BM_ImageLayerOnly(benchmark::State& state) {
    Canvas canvas(state);
    for (auto _ : state) {
        canvas.Draw();
        benchmark::DoNotOptimize(canvas.screen.Data());
    }
}

void BM_BufferToWindowCopy(benchmark::State& state) {
    Bitmap screen;
    if (!screen.Create(kViewWidth, kViewHeight)) {
        state.SkipWithError("no memory");
        return;
    }
    screen.Fill(0xFF808080u);
    QImage window(kViewWidth, kViewHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&window);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, WrapImage(screen));
        benchmark::DoNotOptimize(window.constBits());
    }
}

// The reference: Qt drawing the same visible part of the image at the same scale.
void BM_QPainterDrawImage(benchmark::State& state) {
    const float zoom = Zoom(state);
    const QImage source = WrapImage(LargeImage());
    QImage window(kViewWidth, kViewHeight, QImage::Format_RGB32);
    const Point scroll = MiddleScroll(zoom);
    const QRectF target(0, 0, kViewWidth, kViewHeight);
    const QRectF from(scroll.x / zoom, scroll.y / zoom, kViewWidth / zoom, kViewHeight / zoom);
    for (auto _ : state) {
        QPainter painter(&window);
        painter.drawImage(target, source, from);
        benchmark::DoNotOptimize(window.constBits());
    }
}

// One edited pixel: the layer redraws its dirty rectangle only.
void BM_CanvasRepaintOnePixel(benchmark::State& state) {
    Canvas canvas(state);
    const Point pixel = CanvasMapping{canvas.zoom, canvas.scroll}.WindowToImage({960, 540});
    for (auto _ : state) {
        canvas.Draw({pixel.x, pixel.y, pixel.x + 1, pixel.y + 1});
        benchmark::DoNotOptimize(canvas.screen.Data());
    }
}

BENCHMARK(BM_CanvasRepaint)->Arg(5)->Arg(10)->Arg(80)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QPainterDrawImage)->Arg(5)->Arg(10)->Arg(80)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ImageLayerOnly)->Arg(5)->Arg(10)->Arg(80)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BufferToWindowCopy)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CanvasRepaintOnePixel)->Arg(10)->Arg(80)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace palvex

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);  // QPainter on images needs only the GUI module
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
