#include "evaluator.h"

#include <cstring>

#include "calls.h"
#include "fast/fastrun.h"
#include "fault.h"
#include "host.h"
#include "partlist.h"
#include "scanner.h"
#include "session.h"
#include "variables.h"

namespace quor {

namespace {


}  // namespace

double evaluate(const std::string& text, tvarlist& vars, tfunclist* funcs, tmemo* memo, tsession& s)
{
    if (!s.reference) return fastevaluate(text, vars, funcs, memo, s);
    const tnestguard<&tsession::groupdepth, maxgroupdepth> guard(s, memo);
    const std::string t = " " + markunary(text) + " ";
    const long len = static_cast<long>(t.size());
    // Every nesting level keeps its own text: deep nesting of long texts is bounded too.
    if (s.evalbytes + len > maxevalbytes) {
        const std::string message = "Error on nesting too deep, the expressions are too long";
        if (memo) memo->append(message);
        throw tfault(message);
    }
    const tcharge<long long> held(s.evalbytes, len);
    tdatalist operands;
    toperatorlist operators;
    std::string pending;

    for (long p = 1; p <= len; ++p) {
        const char c = charat(t, p);
        const char next = charat(t, p + 1);
        if (c == '(') {
            const long q = matchparen(t, p, s.dialect);
            operands.add(evaluate(slice(t, p + 1, q - 1), vars, funcs, memo, s));
            p = q;
        } else if (c == '*' || c == '+' || c == '/' || c == '^') {
            operators.add(std::string(1, c));
        } else if (c == '-') {
            if (signposition(charat(t, p - 1)) && (digitchar(next) || next == '.')) pending += c;
            else operators.add("-");
        } else if (digitchar(c) || c == '.') {
            pending += c;
            if (!digitchar(next) && next != '.' && next != 'e') {
                operands.addtext(pending);
                pending.clear();
            }
        } else if (c == 'e' && digitchar(charat(t, p - 1)) && (next == '-' || digitchar(next))) {
            pending += 'e';
            if (next == '-') {
                pending += '-';
                ++p;
            }
        } else if (lowerchar(c)) {
            const tnamescan n = scanname(t, p, s.dialect);
            const std::string ref = slice(t, p, n.last);
            if (charat(t, p + n.length) == '(') operands.add(callfunc(ref, n.length, vars, memo, funcs, s));
            else operands.add(vars.getvalue(ref, funcs, memo, s));
            p = n.last;
        } else if (c == '<') {
            if (next == '=' || next == '>') {
                operators.add(std::string("<") + next);
                ++p;
            } else {
                operators.add("<");
            }
        } else if (c == '>') {
            if (next == '=') {
                operators.add(">=");
                ++p;
            } else {
                operators.add(">");
            }
        } else if (c == '=') {
            operators.add("=");
        }
        // Anything else (blanks, ")", "]", ",", quotes, capitals, "_", ":", ";", bytes
        // above 127) is skipped.
    }
    return reducelists(operands, operators, s);
}

double evalassign(const std::string& text, tvarlist& vars, tfunclist* funcs, tmemo* memo, tsession& s)
{
    if (!s.reference) return fastevalassign(text, vars, funcs, memo, s);
    const std::size_t at = text.find(":=");
    if (at == std::string::npos) return evaluate(text, vars, funcs, memo, s);
    const tnestguard<&tsession::groupdepth, maxgroupdepth> guard(s, memo);
    const double v = evalassign(text.substr(at + 2), vars, funcs, memo, s);
    vars.setvar(text.substr(0, at), v, funcs, memo, s);
    return v;
}

}  // namespace quor
