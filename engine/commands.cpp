#include "commands.h"

#include <cmath>

#include "evaluator.h"
#include "fault.h"
#include "funclist.h"
#include "host.h"
#include "numtext.h"
#include "scanner.h"
#include "session.h"
#include "statements.h"
#include "units.h"
#include "variables.h"

namespace quor {

namespace {

struct tinputargs {
    std::string caption, prompt, deflt;
};

// Caption and prompt are text expressions; the default only when it holds a quote.
tinputargs inputargs(const std::string& args, tvarlist& vars, tfunclist& funcs, tmemo* memo, tsession& s)
{
    std::string rest = args;
    const std::string c = splitarg(rest, s.dialect);
    const std::string p = splitarg(rest, s.dialect);
    const std::string d = splitarg(rest, s.dialect);
    tinputargs a;
    a.caption = evaltext(c, vars, funcs, memo, s);
    a.prompt = evaltext(p, vars, funcs, memo, s);
    a.deflt = computedname(d, vars, funcs, memo, s);
    return a;
}

// Command 8: asks until the answer is a number; cancelling answers the default.
double inputnumber(const std::string& args, tvarlist& vars, tfunclist& funcs, tmemo* memo, tsession& s)
{
    const tinputargs a = inputargs(args, vars, funcs, memo, s);
    for (;;) {
        std::string answer;
        if (!s.host.inputbox(a.caption, a.prompt, a.deflt, answer)) answer = a.deflt;
        double v = 0;
        if (texttonumber(answer, v, false)) return v;
        s.host.showmessage(answer + " is not a value,putin again!");
    }
}

void nosuchvariable(const std::string& name, tmemo* memo, tsession& s)
{
    const std::string text = "This variable: " + name + " not found";
    s.host.showmessage(text);
    memoline(memo, text);
}

}  // namespace

double runcommand(int k, const std::string& args, tvarlist& vars, tmemo* memo, tfunclist& funcs, tsession& s)
{
    switch (k) {
    case 0:
    case 1: {
        const std::string name = computedname(args, vars, funcs, memo, s);
        const int i = vars.varindex(name);
        if (i < 0) s.host.showmessage("no such variable: " + name + " or error on argument");
        else if (k == 0) vars.deletevar(i);
        else vars.cleararray(name);
        return 1;
    }
    case 2:
        return loadfromfile(args, vars, funcs, memo, s);
    case 3: {
        std::string rest = args;
        std::string expr = splitarg(rest, s.dialect);
        if (s.editor() && expr.find('\'') != std::string::npos) expr = evaltext(expr, vars, funcs, memo, s);
        std::string var = splitarg(rest, s.dialect);
        if (s.editor() && var.find('\'') != std::string::npos) var = evaltext(var, vars, funcs, memo, s);
        const std::int32_t handle = s.host.createplotwindow(expr, var, vars, &funcs, memo);
        vars.setvar(rest, handle, &funcs, memo, s);
        s.host.showplotwindow(handle);
        return 1;
    }
    case 4:
        resultline(memo, evaltext(args, vars, funcs, memo, s));
        return 1;
    case 5: {
        std::string rest = args;
        const std::string name = computedname(splitarg(rest, s.dialect), vars, funcs, memo, s);
        try {
            vars.setvar(name, evaluate(rest, vars, &funcs, memo, s), &funcs, memo, s);
        } catch (const std::exception&) {
            const std::string text = "Error on set value to variable: " + name;
            memoline(memo, text);
            throw tfault(text);
        }
        return 1;
    }
    case 6: {
        std::string rest = args;
        const std::string target = computedname(splitarg(rest, s.dialect), vars, funcs, memo, s);
        const std::string source = computedname(rest, vars, funcs, memo, s);
        const tvar* v = vars.find(source);
        if (!v) {
            s.host.showmessage("Error on variable: " + source + "not be found");
            return -1;
        }
        std::vector<std::int64_t> sizes;
        for (double e : v->data) sizes.push_back(std::llabs(truncint(e)));
        try {
            vars.dimarray(target, sizes);
        } catch (const std::exception&) {
            throw tfault("Error on set array of variable: " + target);
        }
        return 1;
    }
    case 7:
        s.host.showmessage(evaltext(args, vars, funcs, memo, s));
        return 1;
    case 8:
        return inputnumber(args, vars, funcs, memo, s);
    case 9: {
        const std::string name = computedname(args, vars, funcs, memo, s);
        const tvar* v = vars.find(name);
        if (!v) {
            nosuchvariable(name, memo, s);
            return -1;
        }
        return v->count();
    }
    case 10: {
        std::string rest = args;
        const std::string source = computedname(splitarg(rest, s.dialect), vars, funcs, memo, s);
        const std::string target = computedname(rest, vars, funcs, memo, s);
        const tvar* v = vars.find(source);
        if (!v) {
            nosuchvariable(source, memo, s);
            return -1;
        }
        const cdemension sizes = v->demension;
        try {
            for (std::size_t i = 0; i < sizes.size(); ++i)
                vars.setelement(target, static_cast<std::int64_t>(i), sizes[i]);
        } catch (const std::exception&) {
            throw tfault("Error on get demension on variable: " + source + " ");
        }
        return 1;
    }
    default:
        return 1;
    }
}

std::string runstringfunc(int k, const std::string& args, tvarlist& vars, tmemo* memo, tfunclist& funcs, tsession& s)
{
    switch (k) {
    case 0: {
        const std::string name = computedname(args, vars, funcs, memo, s);
        if (name.find('[') != std::string::npos) return "";
        return vars.gettext(name, s);
    }
    case 1: {
        try {
            std::string rest = args;
            const std::string name = computedname(splitarg(rest, s.dialect), vars, funcs, memo, s);
            // setstr(s,getstr(s)...) grows the text in place instead of rewriting it.
            ttextlead lead;
            lead.name = name;
            const std::string text = evaltext(rest, vars, funcs, memo, s, &lead);
            if (lead.taken) vars.growtext(name, lead.elements, text);
            else vars.settext(name, text);
            return "1";
        } catch (const std::exception&) {
            return "-1";
        }
    }
    case 2: {
        const tinputargs a = inputargs(args, vars, funcs, memo, s);
        std::string answer;
        if (!s.host.inputbox(a.caption, a.prompt, a.deflt, answer)) answer = a.deflt;
        return answer;
    }
    case 3: {
        try {
            std::string rest = args;
            const std::string target = computedname(splitarg(rest, s.dialect), vars, funcs, memo, s);
            const std::string source = computedname(rest, vars, funcs, memo, s);
            copyvar(vars, target, source, vars, s);
        } catch (const std::exception&) {
            throw tfault("Error on strcpy");
        }
        return "1";
    }
    default:
        return "";
    }
}

double loadfromfile(const std::string& args, tvarlist& vars, tfunclist& funcs, tmemo* memo, tsession& s)
{
    std::string file = evaltext(args, vars, funcs, memo, s);
    if (file.find('*') != std::string::npos) {
        const std::string pattern = file;
        std::string chosen;
        if (!s.host.openfile(funcs.basedir, pattern, chosen)) {
            s.host.showmessage("This load:" + pattern + " operation will not effect");
            memoline(memo, "This load: " + pattern + " operation will not effect");
            return -1;
        }
        file = chosen;
    }
    if (file.empty()) return 0;
    std::vector<std::string> lines;
    treadfault why = treadfault::none;
    if (!readtextlines(file, lines, &why) && why == treadfault::toolarge)
        throw tfault("Error on load from file: " + file + " " + readfaulttext(why));
    try {
        if (why != treadfault::none) throw tfault("Cannot open file \"" + file + "\"");
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const std::string& line = lines[i];
            if (line.find(":=") != std::string::npos) {
                evalassign(line, vars, &funcs, memo, s);
            } else if (line.find("function") != std::string::npos) {
                while (++i < lines.size() && lines[i].find("endfunction") == std::string::npos) {}
            }
        }
        loadunit(file, funcs, s.dialect);
    } catch (const std::exception&) {
        throw tfault("Error on load from file: " + file);
    }
    return 1;
}

}  // namespace quor
