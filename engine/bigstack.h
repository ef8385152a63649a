#pragma once
// A stack deep enough for the deepest nesting the interpreter's limits allow.
#include <cstddef>
#include <cstdint>

namespace quor {

// The stack a run is given: address space only, its pages are used as nesting reaches them.
inline constexpr std::size_t runstacksize = std::size_t(4) << 30;

// Lets the main thread's stack grow to runstacksize: raises the soft stack limit and, when
// it was lower, runs the program anew (same arguments, same process) so that the kernel
// lays the process out for that stack. Other threads keep the usual 8 MiB by default.
// Call first thing in main, before any thread or window exists.
void restartwithbigstack(char** argv);

// Runs fn(arg) on a thread of its own with a stack of runstacksize (less when the system
// refuses so much, on this thread as a last resort) and waits for it.
void runonbigstack(void (*fn)(void*), void* arg);

// The lowest address this thread's stack may reach (0 when it cannot be told).
std::uintptr_t stackbottom();

}  // namespace quor
