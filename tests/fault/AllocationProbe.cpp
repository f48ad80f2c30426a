#include "AllocationProbe.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<bool> armed{false};
std::atomic<std::size_t> ceilingBytes{0};
std::atomic<std::size_t> largest{0};

void* Allocate(std::size_t size) {
    if (armed.load(std::memory_order_relaxed)) {
        std::size_t seen = largest.load(std::memory_order_relaxed);
        while (size > seen && !largest.compare_exchange_weak(seen, size)) {
        }
        if (size > ceilingBytes.load(std::memory_order_relaxed))
            throw std::bad_alloc();
    }
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
} // namespace

namespace AllocationProbe {

void Arm(std::size_t ceiling) {
    largest = 0;
    ceilingBytes = ceiling;
    armed = true;
}

std::size_t Disarm() {
    armed = false;
    return largest;
}

} // namespace AllocationProbe

// The runtime's own array, nothrow and sized forms call these two.
void* operator new(std::size_t size) {
    return Allocate(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
