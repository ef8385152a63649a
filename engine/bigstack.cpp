#include "bigstack.h"

#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>

namespace quor {

namespace {

constexpr std::size_t threadstack = std::size_t(8) << 20;   // the usual default

}  // namespace

void restartwithbigstack(char** argv)
{
    rlimit rl{};
    if (getrlimit(RLIMIT_STACK, &rl) != 0) return;
    const bool big = rl.rlim_cur == RLIM_INFINITY || rl.rlim_cur >= runstacksize;
    if (!big) {
        rlim_t want = runstacksize;
        if (rl.rlim_max != RLIM_INFINITY && rl.rlim_max < want) want = rl.rlim_max;
        if (want > rl.rlim_cur) {
            rl.rlim_cur = want;
            // The layout of a process follows the limit it started with: start anew. When
            // that fails, the raised limit still lets the stack grow as far as the layout allows.
            if (setrlimit(RLIMIT_STACK, &rl) == 0) execv("/proc/self/exe", argv);
        }
    }
    // Threads take the stack limit as their default size: keep theirs at the usual size.
    pthread_attr_t a;
    if (pthread_attr_init(&a) != 0) return;
    if (pthread_attr_setstacksize(&a, threadstack) == 0) pthread_setattr_default_np(&a);
    pthread_attr_destroy(&a);
}

namespace {

struct tthreadcall {
    void (*fn)(void*);
    void* arg;
};

void* runcall(void* p)
{
    const tthreadcall* call = static_cast<const tthreadcall*>(p);
    call->fn(call->arg);
    return nullptr;
}

}  // namespace

void runonbigstack(void (*fn)(void*), void* arg)
{
    tthreadcall call{fn, arg};
    for (std::size_t size = runstacksize; size >= threadstack; size /= 4) {
        pthread_attr_t a;
        if (pthread_attr_init(&a) != 0) break;
        pthread_t thread;
        const bool started = pthread_attr_setstacksize(&a, size) == 0 && pthread_create(&thread, &a, runcall, &call) == 0;
        pthread_attr_destroy(&a);
        if (started) {
            pthread_join(thread, nullptr);
            return;
        }
    }
    fn(arg);
}

std::uintptr_t stackbottom()
{
    pthread_attr_t a;
    if (pthread_getattr_np(pthread_self(), &a) != 0) return 0;
    void* addr = nullptr;
    std::size_t size = 0;
    const bool known = pthread_attr_getstack(&a, &addr, &size) == 0;
    pthread_attr_destroy(&a);
    return known ? reinterpret_cast<std::uintptr_t>(addr) : 0;
}

}  // namespace quor
