#include "progen.h"

#include <random>
#include <sstream>

#include "fixture.h"
#include "funcstore.h"
#include "numtext.h"

namespace quortest {

namespace {

// A 300-byte name: stored and looked up by its first 255 bytes.
const std::string longname = std::string(299, 'v') + "w";
const std::string longname2 = std::string(299, 'v') + "z";

class generator {
public:
    generator(std::uint32_t seed, std::string loadfile) : rng_(seed), loadfile_(std::move(loadfile)) {}

    tprogram program()
    {
        tprogram p;
        p.unit = unit();
        const int n = pick(4, 18);
        p.lines.push_back("n:=" + std::to_string(pick(0, 4)));
        for (int i = 0; i < n; ++i) statement(p.lines, 0);
        for (int i = pick(0, 3); i > 0; --i) p.answers.push_back(oneof({"7", "x1", "<cancel>", "2.5", "abc", "-3"}));
        // Mostly a limit only runaway loops reach; now and then one that falls anywhere,
        // mid-loop, mid-call or mid-pass.
        if (chance(30)) p.steplimit = pick(1, 300);
        return p;
    }

private:
    std::mt19937 rng_;
    std::string loadfile_;
    bool nocalls_ = false;   // function bodies call no user functions: recursion stays bounded

    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    bool chance(int percent) { return pick(1, 100) <= percent; }
    std::string oneof(std::initializer_list<const char*> items)
    {
        const int i = pick(0, static_cast<int>(items.size()) - 1);
        return *(items.begin() + i);
    }

    std::string name()
    {
        if (chance(3)) return chance(50) ? longname : longname2;
        return oneof({"a", "b", "c", "x1", "t", "n", "m", "e", "aB", "a_b"});
    }

    std::string number()
    {
        return oneof({"0", "1", "2", "3", "7", "10", "2.5", ".5", "5.", "1e3", "1.5e-3", "2e+3", "1.2.3", "0.1",
                      "1e300", "123456789012345678", "-1", "-2.5", "4"});
    }

    std::string index(int depth)
    {
        switch (pick(0, depth > 2 ? 4 : 6)) {
        case 0: return number();
        case 1: return "-1";
        case 2: return "1.7";
        case 3: return name() + "+1";
        case 4: return "n";
        case 5: return expr(depth + 1);
        default: return std::to_string(pick(0, 5));
        }
    }

    std::string ref(int depth = 0)
    {
        switch (pick(0, 9)) {
        case 0: case 1: return name() + "[" + index(depth) + "]";
        case 2: return "m[" + index(depth) + "," + index(depth) + "]";
        case 3: return "m[" + index(depth) + "]";
        case 4: return "d[" + std::to_string(pick(0, 2)) + "]";
        default: return name();
        }
    }

    std::string call(int depth)
    {
        const std::string x = expr(depth + 1);
        switch (pick(0, 33)) {
        case 0: return "sin(" + x + ")";
        case 1: return "ln(" + x + ")";
        case 2: return "sqrt(" + x + ")";
        case 3: return "random(" + x + ")";
        case 4: return "val('" + oneof({"1+2", "a*2", "", "3 -5", "x"}) + "')";
        case 5: return "pi(" + x + ")";
        case 6: return oneof({"abs", "round", "trunc", "frac", "odd", "exp", "tan", "atan", "cos", "sqr"}) + std::string("(") + x + ")";
        case 7: return "f(" + x + "," + expr(depth + 1) + ")";
        case 8: return "f(" + x + ")";
        case 9: return "rec(" + std::to_string(pick(0, 6)) + ")";
        case 10: return "byname(" + name() + ")";
        case 11: return "byname(" + x + ")";
        case 12: return "txt('" + oneof({"abc", "a,b", "it''s", ""}) + "')";
        case 13: return "txt(" + name() + ")";
        case 14: return "len(" + name() + ")";
        case 15: return "nothere(" + x + ")";
        case 16: return "noparam(" + x + ")";
        case 17: return "broken(" + x + ")";
        case 18: return "unended(" + x + ")";
        case 19: return "setvar(" + name() + "," + x + ")";
        case 20: return "three(1,2,3,4)";
        case 21: return "F(" + x + ")";
        // Several arguments by name (copied back in order), array elements, texts and
        // calls inside arguments, up to sixteen parameters, deep and nested recursion.
        case 23: return "swap(" + name() + "," + oneof({"a", "b", "t", "x1", "n", "a[1]", "m[1,1]", "'ab'"}) + ")";
        case 24: return "six(" + name() + "," + argument(depth) + "," + name() + "," + argument(depth) + "," + name() + "," + argument(depth) + ")";
        case 25: {
            std::string s = "sixteen(";
            for (int i = 0; i < 16; ++i) s += (i ? "," : "") + (chance(70) ? name() : argument(depth));
            return s + ")";
        }
        case 26: return "f(" + argument(depth) + "," + argument(depth) + ")";
        case 27: return "deep(" + (chance(10) ? oneof({"1990", "2100"}) : std::to_string(pick(0, 400))) + ")";
        case 28: return "nest2(" + std::to_string(pick(0, 2)) + "," + oneof({"0", "1", "3", "n", "a"}) + ")";
        case 29: return "three(" + argument(depth) + "," + argument(depth) + "," + argument(depth) + ")";
        // Two calls of one function at one level, its parameters new names to the caller.
        case 30: return "drop(" + argument(depth) + "," + argument(depth) + ")-drop(" + name() + "," + argument(depth) + ")";
        // Loops and a local read before it is set (the caller's, or missing).
        case 31: return "loops(" + argument(depth) + ")";
        // Call statements in a body (a by-name argument copied back through them).
        case 32: return "callst(" + argument(depth) + ")";
        // Elements of a parameter read in a loop (by name, or inherited by its name).
        case 33: return "arrsum(" + argument(depth) + "," + std::to_string(pick(-1, 4)) + ")";
        default: return "g(" + x + ")";
        }
    }

    // An argument of a user call: a name (passed by name), an element, a text, a call.
    std::string argument(int depth)
    {
        switch (pick(0, 7)) {
        case 0: case 1: return name();
        case 2: return ref(depth + 1);
        case 3: return "'" + oneof({"xy", "", "a,b"}) + "'";
        case 4: return depth > 2 ? number() : call(depth + 1);
        default: return expr(depth + 1);
        }
    }

    std::string operand(int depth)
    {
        if (depth > 3) return chance(50) ? number() : name();
        switch (pick(0, 11)) {
        case 0: case 1: case 2: return number();
        case 3: case 4: return ref(depth + 1);
        case 5: return "(" + expr(depth + 1) + ")";
        case 6: return "-" + operand(depth + 1);
        case 7: case 8: return nocalls_ ? name() : call(depth);
        case 9: return "-(" + expr(depth + 1) + ")";
        case 10: return oneof({"X", "2x", "f (1)", "2e", "--5", "3 -5", "()", "x1 ", "a[]", "((((((1))))))", "-x1", "a [1]"});
        default: return name();
        }
    }

    std::string op()
    {
        return oneof({"+", "-", "*", "/", "^", "<", ">", "=", "<>", "<=", ">=", "+", "-", "*", " + ", " - "});
    }

    std::string expr(int depth)
    {
        std::string e = operand(depth);
        for (int i = depth > 2 ? 0 : pick(0, 3); i > 0; --i) e += op() + operand(depth);
        return e;
    }

    std::string textexpr()
    {
        std::string t;
        for (int i = pick(1, 3); i > 0; --i) {
            if (chance(50)) t += "'" + oneof({"v=", "it''s ", "", " x ", "a,b"}) + "'";
            else t += oneof({"a", "n", "x1", "getstr(t)", "a+1", " ", "len(t)", "m[1]", "ln(0)"});
        }
        return t;
    }

    std::string plain()
    {
        switch (pick(0, 38)) {
        case 0: case 1: case 2: case 3: return ref() + ":=" + expr(0);
        case 4: return name() + ":=" + name() + ":=" + expr(0);
        case 5: return ref() + ":=" + ref() + ":=" + expr(0);
        case 6: return expr(0);
        case 7: case 8: return "print(" + textexpr() + ")";
        case 9: return "msg(" + textexpr() + ")";
        case 10: return "setstr(t,'" + oneof({"hello", "ab", "", "it''s"}) + "')";
        case 11: return "getstr(" + oneof({"t", "a", "nothere", "t[1]"}) + ")";
        case 12: return "strcpy(" + name() + "," + name() + ")";
        case 13: return "delvar(" + oneof({"a", "b", "m", "'a'n", "nothere", "t"}) + ")";
        case 14: return "cleararr(" + name() + ")";
        case 15: return "redim(m,d)";
        case 16: return "getdim(m," + name() + ")";
        case 17: return "len(" + name() + ")";
        case 18: return "inputnum('c','p'," + oneof({"5", "'7'", "-2"}) + ")";
        case 19: return "inputstr('c','p','d')";
        case 20: return "plot('sin(x)*" + name() + "',x,h)";
        case 21: return "showwnd(h," + oneof({"0", "5", "ln(0)"}) + ")";
        case 22: return "setwndtext(h,'T'n)";
        case 23: return "getdc(h)";
        case 24: return "load('" + loadfile_ + "')";
        case 25: return "load('*.txt')";
        case 26: return "setvar(" + oneof({"a", "'b'", "m[1,1]", "z[2]"}) + "," + expr(0) + ")";
        case 27: return " " + name() + " := " + expr(0);
        case 28: return "d[" + std::to_string(pick(0, 1)) + "]:=" + std::to_string(pick(0, 3));
        case 29: return name() + ":=" + expr(0) + ";" + name() + ":=" + expr(0);
        case 30: case 31: case 32: {
            // A short statement: one plain operand, or two around an operator.
            auto plainoperand = [&] { return chance(50) ? number() : name(); };
            std::string e = plainoperand();
            if (chance(70)) e += oneof({"+", "-", "*", "<", "/", ">=", "<>"}) + plainoperand();
            return chance(80) ? name() + ":=" + e : e;
        }
        case 34: case 35: {
            // A text grown from its own text: appended in place when nothing came between.
            const std::string v = oneof({"t", "t", "t", "a", "m", "e"});
            return "setstr(" + v + ",getstr(" + v + ")" + textexpr() + ")";
        }
        case 36: return oneof({"setstr(t,getstr(t)getstr(t))", "setstr(t, getstr(t)'x')", "setstr(t,GETSTR (t)'y')",
                               "setstr(t,getstr(t)setstr(t,'zz'))", "setstr(t,getstr(t)byname(t))",
                               "setstr(t,getstr(t)txt(t))", "setstr('t',getstr(t)'q')", "setstr(t,getstr(t[1])'r')",
                               "setstr(t,getstr(t)strcpy(u,t))", "setstr(u,getstr(u)'w')", "setstr(t,getstr(u)'v')",
                               "t[1]:=300.5", "t[0]:=-66", "strcpy(u,t)", "setstr(t,getstr(t)delvar(t))",
                               "setstr(t,getstr(t))"});
        case 37:
            // A long text, grown a few characters at a time.
            return "for(g:=1:" + std::to_string(pick(1, 300)) + ");setstr(t,getstr(t)'" +
                   oneof({"ab", "x", "", "it''s"}) + "'g);end";
        case 38: return "setstr(t,'" + std::string(static_cast<std::size_t>(pick(100, 600)), 'w') + "'n)";
        default: return "print(" + expr(0) + ")";
        }
    }

    std::string condition()
    {
        switch (pick(0, 6)) {
        case 0: return "a<3";
        case 1: return "getstr(t)";
        case 2: return "0.9999999999999999";
        case 3: return "ln(0)";
        default: return expr(1);
        }
    }

    std::string forterm(const std::string& v)
    {
        switch (pick(0, 8)) {
        case 0: return v + ":=1:3";
        case 1: return v + ":=3:-1:1";
        case 2: return v + ":=1";
        case 3: return v + "=1:3";
        case 4: return v + ":=1:0.5:2";
        case 5: return v + ":=ln(0):2";
        case 6: return v + ":=2:2";
        case 7: return "q[" + std::to_string(pick(0, 2)) + "]:=1:2";
        default: {
            const int from = pick(-1, 2);   // upward only: a downward range with step 1 never ends
            return v + ":=" + std::to_string(from) + ":" + std::to_string(from + pick(0, 3));
        }
        }
    }

    // Appends one statement or block; loops always end (a private counter breaks them).
    void statement(std::vector<std::string>& out, int depth)
    {
        const int k = pick(0, 12);
        if (depth < 3 && k == 0) {
            out.push_back("if(" + condition() + ")");
            body(out, depth);
            elses(out, depth);
            out.push_back("end");
        } else if (depth < 3 && k == 1) {
            out.push_back("for(" + forterm(std::string(1, "ijk"[depth])) + ")");
            body(out, depth);
            out.push_back("end");
        } else if (depth < 3 && k == 2 && chance(40)) {
            // A while loop bounded by its condition: its body may hold no flow line at all.
            const std::string z = "zz" + std::to_string(depth);
            out.push_back(z + ":=0");
            out.push_back("while(" + z + "<" + std::to_string(pick(0, 4)) + ")");
            out.push_back(z + ":=" + z + "+1");
            body(out, depth);
            out.push_back("end");
        } else if (depth < 3 && k == 2) {
            out.push_back("zz" + std::to_string(depth) + ":=0");
            out.push_back("while(" + (chance(30) ? "ln(0)" : expr(1)) + ")");
            out.push_back("zz" + std::to_string(depth) + ":=zz" + std::to_string(depth) + "+1");
            out.push_back("if(zz" + std::to_string(depth) + ">4)");
            out.push_back("break");
            out.push_back("end");
            body(out, depth);
            out.push_back("end");
        } else if (k == 3 && depth > 0 && chance(30)) {
            out.push_back("break");
        } else if (k == 5 && depth > 0 && chance(25)) {
            // The enclosing loop's variable moved or deleted by its own body.
            const std::string v(1, "ijk"[depth - 1]);
            const std::string touches[] = {v + ":=" + v + "+0.5", v + ":=" + v + "-0.25", "delvar(" + v + ")", v + "[1]:=2"};
            out.push_back(touches[pick(0, 3)]);
        } else if (k == 6 && chance(30)) {
            out.push_back(widened());
        } else if (k == 4 && chance(5)) {
            out.push_back(chance(50) ? "if(a)" : "x1:=(1+2");   // a block or bracket fault
        } else {
            out.push_back(plain());
        }
    }

    // The else lines of an if: mostly none or one; now and then two or three, of which
    // only the first splits the branches (the others run as statements of the second one).
    void elses(std::vector<std::string>& out, int depth)
    {
        const int n = chance(50) ? 0 : chance(70) ? 1 : pick(2, 3);
        for (int i = 0; i < n; ++i) {
            out.push_back("else");
            body(out, depth);
        }
    }

    // Statements of rarer shapes: an operator right after an operator (every pair can come
    // up), and calls of 15 to 17 parameters, arguments mostly variables passed by name.
    std::string widened()
    {
        static const char* const ops[] = {"+", "-", "*", "/", "^", "<", ">", "=", "<>", "<=", ">="};
        auto opnd = [&] { return chance(50) ? number() : name(); };
        if (chance(50)) {
            std::string e = opnd() + ops[pick(0, 10)] + ops[pick(0, 10)] + opnd();
            return chance(50) ? "print(" + e + ")" : name() + ":=" + e;
        }
        const int params = pick(15, 17);
        std::string c = "w" + std::to_string(params) + "(";
        for (int i = 0; i < params; ++i) c += (i ? "," : "") + (chance(85) ? name() : expr(2));
        return chance(50) ? "print(" + c + "))" : name() + ":=" + c + ")";
    }

    // Functions of 15, 16 and 17 parameters that change their first and last ones.
    static std::vector<std::string> widefunctions()
    {
        std::vector<std::string> u;
        for (int n = 15; n <= 17; ++n) {
            std::string head = "function y=w" + std::to_string(n) + "(";
            for (int i = 1; i <= n; ++i) head += (i > 1 ? ",p" : "p") + std::to_string(i);
            const std::string last = "p" + std::to_string(n);
            u.insert(u.end(), {head + ")", "p1:=p1+1", last + ":=" + last + "*2", "y:=p1+" + last, "endfunction"});
        }
        return u;
    }

    void body(std::vector<std::string>& out, int depth)
    {
        for (int i = pick(0, 3); i > 0; --i) statement(out, depth + 1);
    }

    std::vector<std::string> unit()
    {
        nocalls_ = true;
        std::vector<std::string> u = {
            "remarks before the first function",
            "function y=f(a,b)", "y:=a+b", "endfunction",
            "function y=g(p)", "if(p>2)", "y:=p*g(p-1)", "else", "y:=" + expr(2), "end", "endfunction",
            "function r=rec(k)", "if(k<1)", "r:=0", "else", "r:=k+rec(k-1)", "end", "endfunction",
            "function y=byname(p)", "p:=p*2;p[1]:=7", "y:=len(p)", "endfunction",
            "function y=txt(s)", "y:=len(s)", "print('s='getstr(s))", "endfunction",
            "function y=noparam()", "y:=1", "endfunction",
            "function y=broken(p)", "y:=p", "x1:=ln(0)", "y:=2", "endfunction",
            "function y=unended(p)", "y:=p", "if(p)", "y:=3", "endfunction",
            "function y=three(p,q,r)", "y:=p+q+r", "endfunction",
            "function y=F(p)", "y:=9", "endfunction",
            "function y=swap(p,q)", "w:=p;p:=q;q:=w", "y:=p-q", "endfunction",
            "function y=six(p1,p2,p3,p4,p5,p6)", "p1:=p1+p2;p3:=p4*2", "p5[1]:=p6", "y:=p1+p3-p6", "endfunction",
            "function y=sixteen(p1,p2,p3,p4,p5,p6,p7,p8,p9,p10,p11,p12,p13,p14,p15,p16)",
            "p1:=p1+1;p2:=p2*2;p5:=p16;p9:=p9-p8;p16:=len(p16)", "y:=p1+p16", "endfunction",
            "function y=drop(u1,u2)", "delvar(u1)", "z9:=u2", "u3[2]:=u2", "y:=u2+z9+len(u3)", "endfunction",
            "function y=loops(p)", "y:=0", "for(j:=p:p+2)", "y:=y+j*z8", "end", "while(y>p)", "y:=y-p-1",
            "if(y<3)", "break", "end", "end", "z8:=y", "endfunction",
            "function y=callst(p)", "f(p,1)", "rec(p)", "y:=p+1", "endfunction",
            "function y=arrsum(p,k)", "y:=0", "for(j:=0:k)", "y:=y+p[j]+p[-j]", "end", "endfunction",
            "function y=deep(k)", "if(k<1)", "y:=0", "else", "y:=1+deep(k-1)", "end", "endfunction",
            "function r=nest2(m,n)", "if(m<1)", "r:=n+1", "else", "if(n<1)", "r:=nest2(m-1,1)", "else",
            "r:=nest2(m-1,nest2(m,n-1))", "end", "end", "endfunction",
        };
        if (chance(50)) u.insert(u.end(), {"function y=f(a,b)", "y:=" + expr(1), "endfunction"});
        const std::vector<std::string> wide = widefunctions();
        u.insert(u.end(), wide.begin(), wide.end());
        nocalls_ = false;
        return u;
    }
};

}  // namespace

std::string loadedunittext()
{
    return "q:=5\nfunction y=f(a,b)\ny:=a*b-1\nendfunction\nfunction r=rec(k)\nr:=k*100\nendfunction\n";
}

tprogram randomprogram(std::uint32_t seed, const std::string& loadfile) { return generator(seed, loadfile).program(); }

std::string runtranscript(const tprogram& p, quor::tdialect d, bool reference)
{
    context c(d);
    c.session.reference = reference;
    c.session.steplimit = p.steplimit;   // a body that deletes its loop's variable may loop for ever
    if (p.places) c.host.place = &c.session.place;
    c.unit(p.unit);
    c.host.answers.assign(p.answers.begin(), p.answers.end());
    std::ostringstream out;
    std::string fault;
    quor::tfuncstore store("Main function");
    store.assignlines(p.lines);
    fault = store.checkblocks(c.session);
    if (fault.empty()) {
        try {
            store.runstore(c.vars, c.funcs, &c.host, c.session);
        } catch (const std::exception& e) {
            out << "escaped: " << e.what() << "\n";
        }
    }
    for (const std::string& e : c.host.take()) out << e << "\n";
    out << "check: " << fault << "\nstopped: " << store.fault.stopped << " line " << store.fault.line << " source "
        << store.fault.sourceline << " " << store.fault.text << "\n";
    // Long arrays are summed up by their count and a hash of their elements.
    for (const quor::tvar& v : c.vars.items) {
        out << "var: " << v.name << "=" << quor::numtotext(v.value) << " [" << v.count() << "]";
        std::uint64_t h = 1469598103934665603ULL;
        for (double e : v.data) h = (h ^ std::hash<double>{}(e)) * 1099511628211ULL;
        out << " " << h << " dims";
        for (auto d : v.demension) out << " " << d;
        out << " strides";
        for (auto a : v.asistance) out << " " << a;
        out << "\n";
    }
    out << "events: " << c.host.processed << " depths " << c.session.groupdepth << c.session.calldepth
        << c.session.blockdepth << " " << c.session.copiedelements << " " << c.session.evalbytes << "\n";
    out << "functions: " << c.funcs.count() << "\n";
    return out.str();
}

tprogram withoutgrowth(tprogram p)
{
    for (std::string& line : p.lines) {
        for (std::size_t at = line.find("setstr("); at != std::string::npos; at = line.find("setstr(", at + 1)) {
            const std::size_t comma = line.find(',', at);
            // An empty literal first: the same text, never read as growth.
            if (comma != std::string::npos && line[comma + 1] != '\'') line.insert(comma + 1, "''");
        }
    }
    return p;
}

std::string comparepaths(std::uint32_t seed, int count, const std::string& loadfile, int& compared)
{
    for (int i = 0; i < count; ++i) {
        const tprogram p = randomprogram(seed + static_cast<std::uint32_t>(i), loadfile);
        const tprogram plain = withoutgrowth(p);
        for (quor::tdialect d : {quor::tdialect::editor, quor::tdialect::plotter}) {
            const std::string fast = runtranscript(p, d, false);
            const std::string reference = runtranscript(p, d, true);
            // Texts grown from their own text must end as when they are written anew.
            const std::string rewritten = runtranscript(plain, d, false);
            if (fast != reference || fast != rewritten) {
                std::ostringstream r;
                r << "seed " << seed + static_cast<std::uint32_t>(i)
                  << (d == quor::tdialect::editor ? " editor" : " plotter") << "\n--- unit\n";
                for (const auto& l : p.unit) r << l << "\n";
                r << "--- program\n";
                for (const auto& l : p.lines) r << l << "\n";
                r << "--- fast\n" << fast << "--- " << (fast != reference ? "reference\n" + reference
                                                                        : "written anew\n" + rewritten);
                return r.str();
            }
            ++compared;
        }
    }
    return "";
}

}  // namespace quortest
