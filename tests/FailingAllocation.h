#pragma once
// An allocation that fails, without exhausting the machine's memory: while an
// AllocationFailure lives, the n-th allocation through operator new that this
// program's own code makes on this thread throws, once. The toolkit's libraries
// allocate as usual, so the failure meets only code that is built to unwind it.
// Include this file in one source file of a test program only: it replaces the
// global operator new, which passes every allocation on to the one it replaces.

#include <cstddef>
#include <new>
#include <stdexcept>

#include <dlfcn.h>

extern "C" char __executable_start[]; // the program's own code lies between these
extern "C" char etext[];

namespace FailingAllocationSeam {

struct State
{
    bool armed = false;
    std::size_t size = 0; // only allocations of this size count; 0: all
    long long failAt = 0; // 0: none fails, they are only counted
    long long count = 0;
    bool badAlloc = true; // else std::length_error, as a too large container raises
};

inline thread_local State t_state;

inline bool Fails(std::size_t size, const void *caller)
{
    State &s = t_state;
    const char *code = static_cast<const char *>(caller);
    if (!s.armed || code < __executable_start || code >= etext || (s.size && size != s.size))
        return false;
    return ++s.count == s.failAt;
}

using NewFunction = void *(*)(std::size_t);

inline NewFunction Next()
{
    static const auto next = reinterpret_cast<NewFunction>(::dlsym(RTLD_NEXT, "_Znwm"));
    return next;
}

} // namespace FailingAllocationSeam

class AllocationFailure
{
public:
    // Fails the failAt-th allocation (of size bytes; 0: of any size) from now on with
    // std::bad_alloc, or with std::length_error when badAlloc is false.
    explicit AllocationFailure(long long failAt, std::size_t size = 0, bool badAlloc = true)
    {
        FailingAllocationSeam::t_state = {true, size, failAt, 0, badAlloc};
    }
    ~AllocationFailure() { FailingAllocationSeam::t_state.armed = false; }
    AllocationFailure(const AllocationFailure &) = delete;
    AllocationFailure &operator=(const AllocationFailure &) = delete;

    // The allocations that counted so far, the failing one included.
    long long Count() const { return FailingAllocationSeam::t_state.count; }
    bool Failed() const
    {
        const auto &s = FailingAllocationSeam::t_state;
        return s.failAt > 0 && s.count >= s.failAt;
    }
};

__attribute__((noinline)) void *operator new(std::size_t size)
{
    if (FailingAllocationSeam::Fails(size, __builtin_return_address(0))) {
        if (FailingAllocationSeam::t_state.badAlloc)
            throw std::bad_alloc();
        throw std::length_error("cannot create std::vector larger than max_size()");
    }
    return FailingAllocationSeam::Next()(size);
}
