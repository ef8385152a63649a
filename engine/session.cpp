#include "session.h"

#include "bigstack.h"
#include "fault.h"
#include "host.h"

namespace quor {

namespace {

constexpr std::size_t stackmargin = std::size_t(1) << 20;   // kept free above the stack's end

std::uintptr_t stackhere() { return reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0)); }

}  // namespace

tsession::tsession(thost& h, tdialect d) : host(h), dialect(d), events_(h.hasevents())
{
    // The thread's own stack, as far as it can grow; event handlers and boxes that run at
    // the deepest point still find the margin free.
    const std::uintptr_t bottom = stackbottom();
    const std::uintptr_t top = stackhere();
    if (bottom > 0 && top > bottom + 2 * stackmargin) stackfloor_ = bottom + stackmargin;
    else stackfloor_ = top > (std::uintptr_t(8) << 20) ? top - (std::uintptr_t(6) << 20) : 0;
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


}  // namespace quor
