#pragma once
// A stack deep enough for the deepest nesting the interpreter's limits allow.
#include <cstddef>
#include <cstdint>

namespace quor {

// AddressSanitizer cannot clean up the stack after an exception when the stack is larger
// than 64 MiB (it then reports false stack faults), so sanitized builds run on 60 MiB and
// nest user functions only as deep as the earlier limit of 2,000 calls.
#if defined(__SANITIZE_ADDRESS__)
#define QUOR_SMALL_STACK 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUOR_SMALL_STACK 1
#endif
#endif

// The stack a run is given: address space only, its pages are used as nesting reaches them.
#ifdef QUOR_SMALL_STACK
inline constexpr std::size_t runstacksize = std::size_t(60) << 20;
#else
inline constexpr std::size_t runstacksize = std::size_t(4) << 30;
#endif
// Whether runs may nest as deep as the interpreter's limits allow (not in sanitized builds).
inline constexpr bool fullnesting = runstacksize >= (std::size_t(1) << 30);

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
