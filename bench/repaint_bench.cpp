// The canvas repaint path (image layer into the screen buffer, then one copy to the window
// surface) beside a plain QPainter::drawImage of the same area, in the same run.

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include "canvas/canvas_mapping.h"
#include "canvas/image_layer.h"

namespace palvex {
namespace {

constexpr int kImageWidth = 6000;
constexpr int kImageHeight = 4000;
constexpr int kViewWidth = 1920;
constexpr int kViewHeight = 1080;
constexpr Colour kKey = Rgb(0, 255, 0);

const Bitmap& LargeImage() {
    static const Bitmap image = [] {
        Bitmap b;
        if (b.Create(kImageWidth, kImageHeight)) {
            for (int y = 0; y < kImageHeight; ++y) {
                for (int x = 0; x < kImageWidth; ++x) {
                    const bool key = (x / 16 + y / 16) % 5 == 0;
                    b.Row(y)[x] = PixelFromColour(key ? kKey : Rgb(x, y, x ^ y));
                }
            }
        }
        return b;
    }();
    return image;
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

void BM_CanvasRepaint(benchmark::State& state) {
    const float zoom = Zoom(state);
    const Bitmap& image = LargeImage();
    Bitmap screen;
    if (!screen.Create(kViewWidth, kViewHeight)) {
        state.SkipWithError("no memory");
        return;
    }
    const BackgroundTiles tiles{MakeCheckerTile(), MakeIconTile(), {}};
    QImage window(kViewWidth, kViewHeight, QImage::Format_RGB32);
    const Point scroll = MiddleScroll(zoom);
    for (auto _ : state) {
        DrawImageLayer(screen, scroll, {image, kKey, zoom}, {}, kBackgroundChecker, tiles);
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
    const float zoom = Zoom(state);
    const Bitmap& image = LargeImage();
    Bitmap screen;
    if (!screen.Create(kViewWidth, kViewHeight)) {
        state.SkipWithError("no memory");
        return;
    }
    const BackgroundTiles tiles{MakeCheckerTile(), MakeIconTile(), {}};
    const Point scroll = MiddleScroll(zoom);
    for (auto _ : state) {
        DrawImageLayer(screen, scroll, {image, kKey, zoom}, {}, kBackgroundChecker, tiles);
        benchmark::DoNotOptimize(screen.Data());
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
    const float zoom = Zoom(state);
    const Bitmap& image = LargeImage();
    Bitmap screen;
    if (!screen.Create(kViewWidth, kViewHeight)) {
        state.SkipWithError("no memory");
        return;
    }
    const BackgroundTiles tiles{MakeCheckerTile(), MakeIconTile(), {}};
    const Point scroll = MiddleScroll(zoom);
    const Point pixel = CanvasMapping{zoom, scroll}.WindowToImage({960, 540});
    for (auto _ : state) {
        DrawImageLayer(screen, scroll, {image, kKey, zoom},
                       {pixel.x, pixel.y, pixel.x + 1, pixel.y + 1}, kBackgroundChecker, tiles);
        benchmark::DoNotOptimize(screen.Data());
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
