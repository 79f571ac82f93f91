#pragma once

#include <cstddef>
#include <functional>

namespace palvex {

// How many threads ParallelFor spreads `count` pieces of work over: the machine's cores, at
// most one a piece, at least one.
unsigned WorkersFor(std::size_t count);

// Runs body(i, worker) for i = 0 .. count - 1 on WorkersFor(count) threads (the caller's among
// them), each i exactly once, in no fixed order; `worker` (below WorkersFor(count)) names the
// thread, so that each can keep its own scratch memory. Returns when all are done. The body
// must not throw. When a thread cannot be started, the others do its share.
void ParallelFor(std::size_t count, const std::function<void(std::size_t, unsigned)>& body);

}  // namespace palvex
