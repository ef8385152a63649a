#include "evaluator.h"

#include <cstring>

#include "calls.h"
#include "fastrun.h"
#include "fault.h"
#include "host.h"
#include "partlist.h"
#include "scanner.h"
#include "session.h"
#include "variables.h"

namespace quor {

namespace {

bool signposition(char c) { return c != '\0' && std::strchr(" (*+-/<=>^", c) != nullptr; }
bool isdigit(char c) { return c >= '0' && c <= '9'; }
bool islower(char c) { return c >= 'a' && c <= 'z'; }

// t[from..to], 1-based and inclusive, clipped to the text.
std::string slice(const std::string& t, long from, long to)
{
    const long len = static_cast<long>(t.size());
    if (from < 1) from = 1;
    if (to > len) to = len;
    if (to < from) return "";
    return t.substr(static_cast<std::size_t>(from - 1), static_cast<std::size_t>(to - from + 1));
}

}  // namespace

double evaluate(const std::string& text, tvarlist& vars, tfunclist* funcs, tmemo* memo, tsession& s)
{
    if (!s.reference) return fastevaluate(text, vars, funcs, memo, s);
    tnestguard guard(s, &tsession::groupdepth, maxgroupdepth, memo);
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
            if (signposition(charat(t, p - 1)) && (isdigit(next) || next == '.')) pending += c;
            else operators.add("-");
        } else if (isdigit(c) || c == '.') {
            pending += c;
            if (!isdigit(next) && next != '.' && next != 'e') {
                operands.addtext(pending);
                pending.clear();
            }
        } else if (c == 'e' && isdigit(charat(t, p - 1)) && (next == '-' || isdigit(next))) {
            pending += 'e';
            if (next == '-') {
                pending += '-';
                ++p;
            }
        } else if (islower(c)) {
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
    tnestguard guard(s, &tsession::groupdepth, maxgroupdepth, memo);
    const double v = evalassign(text.substr(at + 2), vars, funcs, memo, s);
    vars.setvar(text.substr(0, at), v, funcs, memo, s);
    return v;
}

}  // namespace quor
