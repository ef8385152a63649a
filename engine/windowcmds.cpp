#include "windowcmds.h"

#include <cstdint>

#include "evaluator.h"
#include "host.h"
#include "numtext.h"
#include "scanner.h"
#include "session.h"
#include "statements.h"

namespace quor {

namespace {

// A handle or mode: truncated toward zero and passed as a 32-bit value.
std::int32_t asint32(double v)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(truncint(v))));
}

}  // namespace

double runapi(int k, const std::string& args, tvarlist& vars, tmemo* memo, tfunclist& funcs, tsession& s)
{
    static const char* const names[] = {"gtdc", "shwwnd", "stwndtxt"};
    if (k < 0 || k > 2) return 0;
    std::string rest = args;
    const std::string first = splitarg(rest, s.dialect);
    std::int32_t handle = 0, mode = 0;
    std::string text;
    try {
        handle = asint32(evaluate(first, vars, &funcs, memo, s));
        if (k == 1) mode = asint32(evaluate(rest, vars, &funcs, memo, s));
        if (k == 2) text = evaltext(rest, vars, funcs, memo, s);
    } catch (const std::exception&) {
        memoline(memo, std::string("Error on API ") + names[k]);
        return 0;
    }
    switch (k) {
    case 0: return s.host.getdc(handle);
    case 1: return s.host.showwnd(handle, mode);
    default: return s.host.setwndtext(handle, text);
    }
}

}  // namespace quor
