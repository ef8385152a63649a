#include "session.h"

#include <sys/resource.h>

#include "fault.h"
#include "host.h"

namespace quor {

namespace {

constexpr std::size_t wantedstack = std::size_t(512) << 20;   // 512 MiB of address space
constexpr std::size_t stackmargin = std::size_t(256) << 10;   // kept free below the guard

std::size_t currentstacklimit()
{
    rlimit rl{};
    if (getrlimit(RLIMIT_STACK, &rl) != 0 || rl.rlim_cur == RLIM_INFINITY) return wantedstack;
    return static_cast<std::size_t>(rl.rlim_cur);
}

std::uintptr_t stackhere() { return reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0)); }

}  // namespace

tsession::tsession(thost& h, tdialect d) : host(h), dialect(d), events_(h.hasevents())
{
    const std::size_t limit = currentstacklimit();
    const std::size_t budget = limit > 4 * stackmargin ? limit - 2 * stackmargin : limit / 2;
    const std::uintptr_t top = stackhere();
    stackfloor_ = top > budget ? top - budget : 0;
}

void tsession::stackexhausted() { throw tfault("Error on nesting too deep, the stack is exhausted"); }

void tsession::steplimitreached() const { throw tfault(steplimitmessage(steplimit)); }

void tsession::runevents()
{
    const tcharge<int> inevents(eventdepth, 1);
    host.processevents();
}

void tsession::stop() { throw tstopped{}; }

std::string steplimitmessage(long long limit)
{
    return "Error on run: more than " + std::to_string(limit) + " steps";
}

std::uint32_t& tsession::randomseed()
{
    if (!seeded_) {
        seed_ = static_cast<std::uint32_t>(host.clockms());
        seeded_ = true;
    }
    return seed_;
}

std::string nestingmessage(int limit)
{
    return "Error on nesting deeper than " + std::to_string(limit) + " levels";
}

void nestingfault(int limit, tmemo* memo)
{
    const std::string text = nestingmessage(limit);
    if (memo) memo->append(text);
    throw tfault(text);
}

void raisestacklimit()
{
    rlimit rl{};
    if (getrlimit(RLIMIT_STACK, &rl) != 0) return;
    if (rl.rlim_cur != RLIM_INFINITY && rl.rlim_cur >= wantedstack) return;
    rlim_t want = wantedstack;
    if (rl.rlim_max != RLIM_INFINITY && rl.rlim_max < want) want = rl.rlim_max;
    if (rl.rlim_cur == RLIM_INFINITY || want <= rl.rlim_cur) return;
    rl.rlim_cur = want;
    setrlimit(RLIMIT_STACK, &rl);
}

}  // namespace quor
