#pragma once

namespace palvex::test {

// Counts calls of the global operator new between the two calls; the rest of the test program
// allocates as usual.
void StartCountingAllocations();
int StopCountingAllocations();

}  // namespace palvex::test
