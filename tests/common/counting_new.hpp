// Replaces the program's global new and delete with counting versions, so a
// test can see how many heap blocks are alive (every tree node the search
// makes must be freed again).  Every plain (not over-aligned) form of new and
// delete goes through here.  Include this in exactly one source file of a
// test program.
#pragma once

#include <cstdlib>
#include <new>

namespace morvelak::test {

inline long live = 0;

inline void* counted_new(std::size_t n) noexcept {
    void* p = std::malloc(n ? n : 1);
    if (p) ++live;
    return p;
}

// GCC sees free() reached from operator delete and, not knowing that this
// program's operator new is malloc, warns of a mismatch that is not there.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
inline void counted_delete(void* p) noexcept {
    if (p) --live;
    std::free(p);
}
#pragma GCC diagnostic pop

}  // namespace morvelak::test

void* operator new(std::size_t n) {
    if (void* p = morvelak::test::counted_new(n)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t n) {
    if (void* p = morvelak::test::counted_new(n)) return p;
    throw std::bad_alloc();
}
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
    return morvelak::test::counted_new(n);
}
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept {
    return morvelak::test::counted_new(n);
}
void operator delete(void* p) noexcept { morvelak::test::counted_delete(p); }
void operator delete[](void* p) noexcept { morvelak::test::counted_delete(p); }
void operator delete(void* p, std::size_t) noexcept { morvelak::test::counted_delete(p); }
void operator delete[](void* p, std::size_t) noexcept { morvelak::test::counted_delete(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { morvelak::test::counted_delete(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { morvelak::test::counted_delete(p); }
