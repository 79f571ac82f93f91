// Hit-testing a full 1000-vertex barrier, as every mouse move over the canvas does, against a
// copy of its vertex list (8 KB) as the yardstick; the budget is well under a millisecond.

#include <cmath>
#include <cstring>
#include <vector>

#include <benchmark/benchmark.h>

#include "barrier/barrier.h"

namespace palvex {
namespace {

constexpr Size kImage{6000, 4000};

// 1000 vertices round an ellipse filling most of the image: no early exit at any vertex or side
// for a point in the middle.
Barrier& FullBarrier() {
    static Barrier barrier = [] {
        std::vector<Point> v;
        for (int i = 0; i < kBarrierCapacity; ++i) {
            const double a = 6.283185307 * i / kBarrierCapacity;
            v.push_back({3000 + int(2900 * std::cos(a)), 2000 + int(1900 * std::sin(a))});
        }
        Barrier b;
        b.ReplaceVertices(v);
        return b;
    }();
    return barrier;
}

void BM_BarrierHitTestInside(benchmark::State& state) {
    const Barrier& barrier = FullBarrier();
    const float zoom = float(state.range(0)) / 2.0f;
    const BarrierView view{zoom, {int(3000 * zoom) - 500, int(2000 * zoom) - 400}};
    for (auto _ : state) {
        const BarrierHitResult hit = barrier.HitTest({500, 400}, view);
        benchmark::DoNotOptimize(hit);
    }
}
BENCHMARK(BM_BarrierHitTestInside)->Arg(1)->Arg(2)->Arg(16)->Unit(benchmark::kMicrosecond);

// The pointer over the last vertex: every vertex box is tested first.
void BM_BarrierHitTestLastVertex(benchmark::State& state) {
    const Barrier& barrier = FullBarrier();
    const Point last = barrier.Vertex(kBarrierCapacity - 1);
    for (auto _ : state) {
        const BarrierHitResult hit = barrier.HitTest(last, {});
        benchmark::DoNotOptimize(hit);
    }
}
BENCHMARK(BM_BarrierHitTestLastVertex)->Unit(benchmark::kMicrosecond);

// What the canvas asks on a move with the whole barrier selected: handles, frame sides, then the
// hit test.
void BM_BarrierHoverWithFrame(benchmark::State& state) {
    static Barrier barrier = FullBarrier();
    barrier.ContextMenu({3000, 2000}, {});
    for (auto _ : state) {
        const BarrierHover hover = barrier.Hover({3000, 2000}, {});
        benchmark::DoNotOptimize(hover);
    }
}
BENCHMARK(BM_BarrierHoverWithFrame)->Unit(benchmark::kMicrosecond);

// One mouse move of a drag of all 1000 vertices (the offset is limited vertex by vertex).
void BM_BarrierVertexDragMove(benchmark::State& state) {
    static Barrier barrier = FullBarrier();
    barrier.ContextMenu({3000, 2000}, {});  // selects every vertex
    barrier.ContextMenu({100, 2000}, {});   // vertex 500; the flags stay
    barrier.Press({100, 2000}, {}, {});
    if (barrier.Dragging() != BarrierDrag::Vertices ||
        barrier.SelectedCount() != kBarrierCapacity) {
        state.SkipWithError("not a drag of every vertex");
        return;
    }
    int x = 0;
    for (auto _ : state) {
        barrier.Move({100 + (x++ & 63), 2000}, {}, kImage);
        benchmark::DoNotOptimize(barrier.PendingOffset());
    }
    // Back to the press point, so the release moves nothing and the next run finds the vertex.
    barrier.Move({100, 2000}, {}, kImage);
    barrier.Release({});
}
BENCHMARK(BM_BarrierVertexDragMove)->Unit(benchmark::kMicrosecond);

void BM_CopyBarrierVertices(benchmark::State& state) {
    const Barrier& barrier = FullBarrier();
    std::vector<Point> copy(kBarrierCapacity);
    for (auto _ : state) {
        std::memcpy(copy.data(), barrier.Vertices().data(), sizeof(Point) * kBarrierCapacity);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CopyBarrierVertices)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace palvex
