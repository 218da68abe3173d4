// Counts what operator new hands out, to bound the memory a call takes.
#include <atomic>
#include <cstdlib>
#include <functional>
#include <new>

namespace {
std::atomic<bool> g_counting{false};
std::atomic<std::size_t> g_bytes{0};
} // namespace

void* operator new(std::size_t size) {
    if (g_counting.load(std::memory_order_relaxed)) {
        g_bytes.fetch_add(size, std::memory_order_relaxed);
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

std::size_t BytesAllocatedBy(const std::function<void()>& call) {
    g_bytes = 0;
    g_counting = true;
    call();
    g_counting = false;
    return g_bytes.load();
}
