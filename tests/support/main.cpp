// Test entry point: deep-nesting tests need more stack than the default.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include "bigstack.h"

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define QUOR_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
#define QUOR_SANITIZED 1
#endif
#endif

int main(int argc, char** argv)
{
    quor::restartwithbigstack(argv);
#ifndef QUOR_SANITIZED
    // A runaway test that keeps allocating fails at 8 GiB of address space instead of taking
    // the machine's memory (sanitized builds reserve far more and go without the limit).
    const rlimit cap{rlim_t(8) << 30, rlim_t(8) << 30};
    setrlimit(RLIMIT_AS, &cap);
#endif
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
