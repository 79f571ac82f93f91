#pragma once

namespace palvex {

// Hands the free memory the allocator keeps back to the system, where the system allows it:
// after an image is replaced its freed buffers should leave the process, not wait in the heap.
void ReturnFreedMemory();

}  // namespace palvex
