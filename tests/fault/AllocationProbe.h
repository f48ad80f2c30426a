#pragma once
// Watches the sizes that operator new is asked for, so that a test can prove a refusal came
// before any large allocation. Linked into the fault tests only: it replaces the global
// operator new and delete of that executable.

#include <cstddef>

namespace AllocationProbe {

// From now on records the largest single request and refuses (std::bad_alloc) any request above
// ceiling, so that a regression fails fast instead of taking the machine's memory.
void Arm(std::size_t ceiling);
// Stops refusing; returns the largest request seen since Arm.
std::size_t Disarm();

} // namespace AllocationProbe
