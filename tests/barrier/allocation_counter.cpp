#include "allocation_counter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<bool> g_counting{false};
std::atomic<int> g_allocations{0};
}  // namespace

// In a file of its own, so that no caller sees these definitions inlined.
void* operator new(std::size_t size) {
    if (g_counting) {
        ++g_allocations;
    }
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept {
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace palvex::test {

void StartCountingAllocations() {
    g_allocations = 0;
    g_counting = true;
}

int StopCountingAllocations() {
    g_counting = false;
    return g_allocations;
}

}  // namespace palvex::test
