#pragma once

#include <vector>

#include "barrier/barrier.h"

namespace palvex::test {

// A barrier over the given vertices that counts its undo snapshots.
struct CountingBarrier {
    Barrier barrier;
    int pushes = 0;
    bool pushSucceeds = true;

    explicit CountingBarrier(const std::vector<Point>& vertices = {}) {
        barrier.ReplaceVertices(vertices);
        barrier.SetSnapshotPush([this] {
            ++pushes;
            return pushSucceeds;
        });
    }

    std::vector<Point> Points() const {
        const auto v = barrier.Vertices();
        return {v.begin(), v.end()};
    }

    std::vector<int> Selected() const {
        std::vector<int> out;
        for (int i = 0; i < barrier.Count(); ++i) {
            if (barrier.IsSelected(i)) {
                out.push_back(i);
            }
        }
        return out;
    }
};

}  // namespace palvex::test
