// Counts the heap blocks alive in this test program, to see that a search
// frees every tree node it made.  Every plain (not over-aligned) form of new
// and delete goes through here.
#include <cstdlib>
#include <new>

#include "tests/m26/support.hpp"

namespace {

long g_live = 0;

void* counted_new(std::size_t n) noexcept {
    void* p = std::malloc(n ? n : 1);
    if (p) ++g_live;
    return p;
}
void counted_delete(void* p) noexcept {
    if (p) --g_live;
    std::free(p);
}

}  // namespace

void* operator new(std::size_t n) {
    if (void* p = counted_new(n)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t n) {
    if (void* p = counted_new(n)) return p;
    throw std::bad_alloc();
}
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return counted_new(n); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return counted_new(n); }
void operator delete(void* p) noexcept { counted_delete(p); }
void operator delete[](void* p) noexcept { counted_delete(p); }
void operator delete(void* p, std::size_t) noexcept { counted_delete(p); }
void operator delete[](void* p, std::size_t) noexcept { counted_delete(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { counted_delete(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { counted_delete(p); }

namespace morvelak::test26 {
long live_blocks() { return g_live; }
}  // namespace morvelak::test26
