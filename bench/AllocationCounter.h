#pragma once
// Counts the program's heap allocations and the peak of bytes held, by replacing the global
// allocation functions in the benchmark program.
#include <cstddef>

namespace AllocationCounter {
std::size_t Allocations();
std::size_t BytesHeld();
std::size_t PeakBytes();
void ResetPeak();  // the peak starts again from the bytes held now
}  // namespace AllocationCounter
