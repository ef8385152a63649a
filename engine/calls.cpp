#include "calls.h"

#include <cmath>

#include "commands.h"
#include "fast/fastrun.h"
#include "funcstore.h"
#include "evaluator.h"
#include "fault.h"
#include "funclist.h"
#include "host.h"
#include "numtext.h"
#include "scanner.h"
#include "session.h"
#include "statements.h"
#include "variables.h"
#include "windowcmds.h"

namespace quor {

namespace {

constexpr double two63 = 9223372036854775808.0;

// Finite arguments giving a non-finite result are an arithmetic fault of the built-in.
double checked(double x, double r)
{
    if (std::isfinite(x) && !std::isfinite(r)) throw tfault("Error on operating");
    return r;
}

}  // namespace

std::int32_t randomstep(std::uint32_t& seed, double x)
{
    const double r = std::nearbyint(x);
    // Round to the nearest integer, taken as an unsigned 32-bit number.
    const std::uint32_t n = static_cast<std::uint32_t>(static_cast<std::uint64_t>(truncint(r)));
    seed = seed * 134775813u + 1u;
    const std::uint64_t product = static_cast<std::uint64_t>(seed) * n;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(product >> 32));
}

double callbuiltin(int k, const std::string& args, tvarlist& vars, tfunclist& funcs, tmemo* memo, tsession& s)
{
    if (k == 8) return 3.141592653589793;
    if (k == 15) {
        std::string text = args;
        if (args.find('\'') != std::string::npos) text = evaltext(args, vars, funcs, memo, s);
        return evaluate(text, vars, &funcs, memo, s);
    }
    return applybuiltin(k, evaluate(args, vars, &funcs, memo, s), s);
}

double applybuiltin(int k, double x, tsession& s)
{
    switch (k) {
    case 0: return std::fabs(x);
    case 1: return checked(x, std::tan(x));
    case 2: return std::atan(x);
    case 3: return std::fabs(x) >= two63 ? 0 : checked(x, std::cos(x));
    case 4: return checked(x, std::exp(x));
    case 5: return x - std::trunc(x);
    case 6:
        if (!(x > 0)) throw tfault("Error on ln(<=0)");
        return std::log(x);
    case 7: return std::fmod(std::trunc(x), 2.0) != 0 ? 1 : 0;
    case 9: return randomstep(s.randomseed(), x);
    case 10: return std::nearbyint(x);
    case 11: return std::fabs(x) >= two63 ? 0 : checked(x, std::sin(x));
    case 12: return checked(x, x * x);
    case 13: return std::sqrt(std::fabs(x));
    case 14: return std::trunc(x);
    default: return 0;   // lines past the sixteen built-ins name nothing
    }
}

double callfunc(const std::string& calltext, long n, tvarlist& vars, tmemo* memo, tfunclist* funcs, tsession& s)
{
    const std::string name = lowercase(calltext.substr(0, static_cast<std::size_t>(n)));
    const long len = static_cast<long>(calltext.size());
    const std::string args = len - 1 > n + 1 ? calltext.substr(static_cast<std::size_t>(n + 1), static_cast<std::size_t>(len - n - 2)) : "";
    try {
        if (funcs) {
            int k = tableindex(funcs->mathnames, name);
            if (k >= 0) return callbuiltin(k, args, vars, *funcs, memo, s);
            k = tableindex(funcs->commandnames, name);
            if (k >= 0) return runcommand(k, args, vars, memo, *funcs, s);
            k = tableindex(funcs->apinames, name);
            if (k >= 0) return runapi(k, args, vars, memo, *funcs, s);
        }
        return calluserfunc(cfuncterm{name, args}, vars, funcs, memo, s);
    } catch (const std::exception&) {
        const std::string text = "Error on function " + name + " inside compiler ";
        memoline(memo, text);
        throw tfault(text);
    }
}

tcallframe::tcallframe(const tvarlist& vars, tmemo* memo, tsession& s)
    : guard_(s, memo), s_(s), groups_(s.groupdepth), blocks_(s.blockdepth)
{
    // Every call copies the caller's elements; deep recursion over big arrays must fail
    // as a copy fault before it exhausts the memory.
    for (const tvar& v : vars.items) elements_ += v.count();
    charge();
}

tcallframe::tcallframe(long long elements, tmemo* memo, tsession& s)
    : guard_(s, memo), s_(s), elements_(elements), groups_(s.groupdepth), blocks_(s.blockdepth)
{
    charge();
}

void tcallframe::charge()
{
    tsession& s = s_;
    if (s.copiedelements + elements_ > s.copylimit) throw tfault("Error on assign varlist");
    s.copiedelements += elements_;
    // Brackets and blocks nest afresh inside the called body; calls have their own limit.
    s.groupdepth = 0;
    s.blockdepth = 0;
}

tcallframe::~tcallframe()
{
    s_.groupdepth = groups_;
    s_.blockdepth = blocks_;
    s_.copiedelements -= elements_;
}

double calluserfunc(const cfuncterm& term, tvarlist& vars, tfunclist* funcs, tmemo* memo, tsession& s)
{
    if (!s.reference && !s.bodyrunner) return fastcalluserfunc(term.name, term.args, nullptr, vars, funcs, memo, s);
    const tfuncitem* found = funcs ? funcs->findfunc(term.name) : nullptr;
    if (!found) {
        memoline(memo, "Can not find this self-defition function :" + term.name + "the final result maybe incorrected");
        return -1;
    }
    // A copy: the body may load a unit that replaces this very function.
    const tfuncitem fn = *found;
    const tfuncitem* item = &fn;
    const tcallframe frame(vars, memo, s);
    tvarlist temp("temp", 0);
    temp.assignlist(vars);

    // Bind the arguments: one parameter takes the whole text, more take splitarg items.
    const int m = item->paramcount();
    std::vector<std::string> args;
    if (m == 1) {
        args.push_back(term.args);
    } else if (m >= 2 && m <= 1025) {
        std::string rest = term.args;
        for (int i = 0; i < m - 1; ++i) args.push_back(splitarg(rest, s.dialect));
        args.push_back(rest);
    } else {
        throw tfault(s.editor() ? "Error on operation on self-define-function" : "Error on function");
    }
    std::vector<bool> byname(args.size(), false);
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const std::string& param = item->params[i];
        if (vars.varexists(a)) {
            byname[i] = true;
            copyvar(temp, param, a, vars, s);
        } else if (s.plotter() || a.find('\'') == std::string::npos) {
            temp.setvar(param, evaluate(a, vars, funcs, memo, s), funcs, memo, s);
        } else {
            temp.settext(param, evaltext(a, vars, *funcs, memo, s));
        }
    }
    temp.setscalar(item->resultname, 0);

    if (s.bodyrunner) s.bodyrunner->runbody(*item, temp, *funcs, memo, s);
    else runfuncbody(*item, temp, *funcs, memo, s);

    for (std::size_t i = 0; i < args.size(); ++i)
        if (byname[i]) copyvar(vars, args[i], item->params[i], temp, s);
    return temp.getvalue(item->resultname, funcs, memo, s);
}

}  // namespace quor
