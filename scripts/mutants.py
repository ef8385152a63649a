#!/usr/bin/python3
"""Mutation testing: plants one small fault at a time in the sources and runs the tests that
cover them; a fault the tests do not notice is a surviving mutant.

Mutants sit on real syntax-tree nodes found by libclang with the build's own compile flags:
binary operators (arithmetic, comparisons, logic, bits), prefix negations, increments,
integer and boolean constants, `if` conditions and call statements. A mutant that does not
compile, or compiles to the same object (debug info aside), is skipped. Everything builds in
its own build directory, incrementally; every source is restored after each mutant.

    scripts/mutants.py [--n N] [--seed S] [--build DIR] [FILE...]

Without files it takes a deterministic sample of N mutants spread over every folder.
"""
import argparse
import difflib
import fcntl
import hashlib
import json
import os
import random
import re
import shlex
import signal
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FOLDERS = ["engine", "plot", "platform", "plotwindow", "flat", "scriptpad", "paint", "cli"]

# Suites that cover each folder, as regexes over suite names: a gtest executable is one
# suite (`enginetests`, and `enginetests.reference` for its run through the literal
# algorithms), any other test is a suite of its own under its ctest name (`lang.loops`).
COVER = {
    "engine": [r"^enginetests$", r"^enginetests\.reference$", r"^lang\.", r"^cli\.runner$"],
    "plot": [r"^plottests$", r"^cli\.plot$", r"^lang\.plotorder$", r"^lang\.windows$"],
    "platform": [r"^platformtests$", r"^painttests$", r"^scriptpadtests$"],
    "plotwindow": [r"^plotwindowtests$", r"^painttests$"],
    "flat": [r"^flattests$", r"^plotwindowtests$", r"^painttests$", r"^scriptpadtests$"],
    "scriptpad": [r"^scriptpadtests$"],
    "paint": [r"^painttests$"],
    "cli": [r"^cli\.", r"^lang\."],
}

EQUIVALENT_FILE = os.path.join(ROOT, "scripts", "mutants-equivalent.txt")

# Operator replacements: boundaries, flips and swaps.
BINARY = {
    "+": ["-"], "-": ["+"], "*": ["/"], "/": ["*"], "%": ["*"],
    "<": ["<=", ">="], "<=": ["<", ">"], ">": [">=", "<="], ">=": [">", "<"],
    "==": ["!="], "!=": ["=="],
    "&&": ["||"], "||": ["&&"],
    "&": ["|"], "|": ["&"], "^": ["|"], "<<": [">>"], ">>": ["<<"],
}
COMPOUND = {"+=": ["-="], "-=": ["+="], "*=": ["/="], "/=": ["*="], "|=": ["&="], "&=": ["|="],
            "<<=": [">>="], ">>=": ["<<="]}
OVERLOADED = {"operator==": "!=", "operator!=": "==", "operator<": "<=", "operator>": ">="}

# Bump when find_mutants() changes what it finds: the cache is keyed by it.
FINDER = "1"


def log(*args):
    print(*args, flush=True)


class Mutant:
    def __init__(self, path, start, end, original, replacement, kind, line, column=0):
        self.path, self.start, self.end = path, start, end
        self.original, self.replacement = original, replacement
        self.kind, self.line, self.column = kind, line, column

    def rel(self):
        return os.path.relpath(self.path, ROOT)

    def folder(self):
        return folder_of(self.path)

    def key(self):
        return "%s:%d:%d %s -> %s" % (self.rel(), self.line, self.column, shown(self.original),
                                      shown(self.replacement))

    def apply(self, text):
        return text[:self.start] + self.replacement.encode() + text[self.end:]

    def diff(self, text):
        before = text.decode(errors="replace").splitlines()
        after = self.apply(text).decode(errors="replace").splitlines()
        lines = difflib.unified_diff(before, after, "a/" + self.rel(), "b/" + self.rel(), n=1, lineterm="")
        return "\n".join(lines)


def folder_of(path):
    return os.path.relpath(path, ROOT).split(os.sep)[0]


def shown(s):
    s = " ".join(s.split())
    return "'" + (s if len(s) <= 60 else s[:57] + "...") + "'"


# ---- compile flags -------------------------------------------------------------------------

class Commands:
    """The build's compile commands, by source file."""

    def __init__(self, build):
        path = os.path.join(build, "compile_commands.json")
        with open(path) as f:
            entries = json.load(f)
        self.by_file = {}
        for e in entries:
            args = e["arguments"] if "arguments" in e else shlex.split(e["command"])
            self.by_file.setdefault(os.path.realpath(e["file"]), []).append((e["directory"], args))

    def objects(self, path):
        """The object files built from `path`, relative to the build directory."""
        out = []
        for _, args in self.by_file.get(os.path.realpath(path), []):
            if "-o" in args:
                out.append(args[args.index("-o") + 1])
        return out

    def parse_args(self, path):
        """Flags for libclang: the compile command without compiler, outputs and the source."""
        entries = self.by_file.get(os.path.realpath(path))
        if not entries:
            return None
        directory, args = entries[0]
        out, skip = [], False
        for i, a in enumerate(args):
            if i == 0 or skip:
                skip = False
                continue
            if i == 1 and os.path.basename(args[0]) in ("ccache", "sccache"):
                continue
            if a in ("-o", "-MF", "-MT", "-MQ"):
                skip = True
                continue
            if a in ("-c", "-MD", "-MMD") or os.path.realpath(os.path.join(directory, a)) == os.path.realpath(path):
                continue
            out.append(a)
        return out


# ---- finding mutants -----------------------------------------------------------------------

def load_clang():
    import clang.cindex as ci
    if not ci.Config.loaded:
        for lib in ("/usr/lib/llvm-14/lib/libclang.so.1", "/usr/lib/x86_64-linux-gnu/libclang-14.so.1"):
            if os.path.exists(lib):
                ci.Config.set_library_file(lib)
                break
    return ci


def resource_dir():
    base = "/usr/lib/llvm-14/lib/clang"
    if os.path.isdir(base):
        versions = sorted(os.listdir(base))
        if versions:
            return os.path.join(base, versions[-1])
    return None


def find_mutants(path, commands):
    """Every mutant of the file's own code (not of the headers it includes)."""
    ci = load_clang()
    K = ci.CursorKind
    args = commands.parse_args(path)
    if args is None:
        # A header or a file the build does not compile: borrow the flags of a neighbour.
        folder = os.path.dirname(os.path.realpath(path))
        for f in sorted(commands.by_file):
            if os.path.dirname(f) == folder:
                args = commands.parse_args(f)
                break
        if args is None:
            args = ["-std=c++20"]
        args = ["-x", "c++-header" if path.endswith(".h") else "c++"] + args
    rd = resource_dir()
    if rd:
        args = ["-resource-dir", rd] + args
    index = ci.Index.create()
    tu = index.parse(path, args=args, options=ci.TranslationUnit.PARSE_INCOMPLETE)
    errors = [d for d in tu.diagnostics if d.severity >= ci.Diagnostic.Error]
    if errors:
        log("mutants: %s: %d parse errors (first: %s); mutants placed where the tree is sound"
            % (os.path.relpath(path, ROOT), len(errors), errors[0].spelling))
    with open(path, "rb") as f:
        text = f.read()
    real = os.path.realpath(path)
    found = {}

    same = {}

    def here(f):
        if f is None:
            return False
        if f.name not in same:
            same[f.name] = os.path.realpath(f.name) == real
        return same[f.name]

    def mine(c):
        ext = c.extent
        return (here(ext.start.file) and here(ext.end.file)
                and ext.start.offset < ext.end.offset <= len(text))

    def src(a, b):
        return text[a:b].decode(errors="replace")

    def add(start, end, replacement, kind, line):
        original = src(start, end)
        if original == replacement:
            return
        found[(start, end, replacement)] = Mutant(path, start, end, original, replacement, kind, line)

    def tokens(c):
        return [t for t in c.get_tokens() if here(t.extent.start.file)]

    def operator_token(c, children):
        lhs_end, rhs_start = children[0].extent.end.offset, children[1].extent.start.offset
        between = [t for t in tokens(c) if lhs_end <= t.extent.start.offset < rhs_start
                   and t.kind == ci.TokenKind.PUNCTUATION]
        return between[0] if len(between) == 1 else None

    def visit(c, parent):
        if c.kind in (K.BINARY_OPERATOR, K.COMPOUND_ASSIGNMENT_OPERATOR) and mine(c):
            ch = list(c.get_children())
            if len(ch) == 2 and mine(ch[0]) and mine(ch[1]):
                t = operator_token(c, ch)
                table = BINARY if c.kind == K.BINARY_OPERATOR else COMPOUND
                if t is not None and t.spelling in table and src(t.extent.start.offset, t.extent.end.offset) == t.spelling:
                    for r in table[t.spelling]:
                        add(t.extent.start.offset, t.extent.end.offset, r, "operator", t.location.line)
        elif c.kind == K.UNARY_OPERATOR and mine(c):
            ts = tokens(c)
            if ts:
                first, last = ts[0], ts[-1]
                if first.extent.start.offset == c.extent.start.offset and first.spelling in ("!", "-", "~"):
                    add(first.extent.start.offset, first.extent.end.offset, "", "negation", first.location.line)
                for t in (first, last):
                    if t.spelling in ("++", "--") and t.extent.start.offset in (c.extent.start.offset, c.extent.end.offset - 2):
                        add(t.extent.start.offset, t.extent.end.offset, "--" if t.spelling == "++" else "++",
                            "increment", t.location.line)
                        break
        elif c.kind == K.INTEGER_LITERAL and mine(c):
            a, b = c.extent.start.offset, c.extent.end.offset
            m = re.fullmatch(r"(0[xX][0-9a-fA-F']+|0[bB][01']+|[0-9']+)([uUlLzZ]*)", src(a, b))
            if m:
                digits = m.group(1).replace("'", "")
                if digits.startswith(("0x", "0X")):
                    value, fmt = int(digits, 16), "0x%x"
                elif digits.startswith(("0b", "0B")):
                    value, fmt = int(digits[2:], 2), "%d"
                elif len(digits) > 1 and digits.startswith("0"):
                    value, fmt = int(digits, 8), "0%o"
                else:
                    value, fmt = int(digits), "%d"
                new = 1 if value == 0 else 0 if value == 1 else value + 1
                add(a, b, (fmt % new) + m.group(2), "constant", c.location.line)
        elif c.kind == K.CXX_BOOL_LITERAL_EXPR and mine(c):
            a, b = c.extent.start.offset, c.extent.end.offset
            word = src(a, b)
            if word in ("true", "false"):
                add(a, b, "false" if word == "true" else "true", "constant", c.location.line)
        elif c.kind == K.IF_STMT and mine(c):
            condition_mutants(c)
        elif c.kind == K.CALL_EXPR and c.spelling in OVERLOADED and mine(c):
            # a == b: the callee is the operator itself, between its two operands.
            symbol = c.spelling[len("operator"):]
            operands = sorted((x for x in c.get_children()
                               if mine(x) and src(x.extent.start.offset, x.extent.end.offset) != symbol),
                              key=lambda x: x.extent.start.offset)
            if len(operands) == 2:
                t = operator_token(c, operands)
                if t is not None and t.spelling == symbol:
                    add(t.extent.start.offset, t.extent.end.offset, OVERLOADED[c.spelling], "operator",
                        t.location.line)

    def condition_mutants(c):
        ts = tokens(c)
        if len(ts) < 4 or ts[0].spelling != "if" or ts[1].spelling != "(":
            return
        if any(k.kind == K.VAR_DECL or k.kind == K.DECL_STMT for k in c.get_children()):
            return
        depth = 0
        for i in range(1, len(ts)):
            s = ts[i].spelling
            if s in ("(", "[", "{"):
                depth += 1
            elif s in (")", "]", "}"):
                depth -= 1
                if depth == 0:
                    break
            elif s == ";" and depth == 1:
                return
        else:
            return
        a, b = ts[1].extent.end.offset, ts[i].extent.start.offset
        cond = src(a, b)
        line = ts[1].location.line
        if "\n" not in cond:
            add(a, b, "!(" + cond + ")", "condition", line)
        add(a, b, "true" + re.sub(r"[^\n]", "", cond), "condition", line)
        add(a, b, "false" + re.sub(r"[^\n]", "", cond), "condition", line)

    def call_statement(child):
        """A call that is a whole statement of a block (maybe under implicit nodes)."""
        inner = child
        while inner.kind == K.UNEXPOSED_EXPR:
            kids = list(inner.get_children())
            if len(kids) != 1:
                return
            inner = kids[0]
        try:
            if inner.kind != K.CALL_EXPR:
                return
        except ValueError:
            return
        if inner.kind != K.CALL_EXPR or not mine(child) or not mine(inner):
            return
        a, b = child.extent.start.offset, child.extent.end.offset
        if inner.extent.start.offset != a or inner.extent.end.offset != b:
            return
        if not src(b, b + 40).lstrip().startswith(";"):
            return
        # Blank out the call, keeping line breaks so line numbers stay put.
        add(a, b, re.sub(r"[^\n]", "", src(a, b)), "call", child.location.line)

    def walk(c, parent):
        try:
            c.kind
        except ValueError:  # a node these bindings do not know: only its children count
            for child in c.get_children():
                walk(child, parent)
            return
        if c.kind == K.COMPOUND_STMT:
            for child in c.get_children():
                call_statement(child)
        visit(c, parent)
        for child in c.get_children():
            walk(child, c)

    for top in tu.cursor.get_children():
        if here(top.location.file):
            walk(top, None)
    return [found[k] for k in sorted(found, key=lambda k: (k[0], k[1], k[2]))]





class Cache:
    """Mutants found per file, kept by the file's contents and flags: parsing is slow."""

    def __init__(self, directory):
        self.directory = directory
        os.makedirs(directory, exist_ok=True)

    def get(self, path, commands):
        with open(path, "rb") as f:
            text = f.read()
        ms = self.found(path, text, commands)
        for m in ms:
            m.column = m.start - text.rfind(b"\n", 0, m.start)
        return ms

    def found(self, path, text, commands):
        h = hashlib.sha1(text)
        h.update(repr(commands.parse_args(path)).encode())
        h.update(FINDER.encode())
        name = os.path.join(self.directory, h.hexdigest() + ".json")
        if os.path.exists(name):
            with open(name) as f:
                return [Mutant(path, *row) for row in json.load(f)]
        ms = find_mutants(path, commands)
        with open(name + ".tmp", "w") as f:
            json.dump([[m.start, m.end, m.original, m.replacement, m.kind, m.line] for m in ms], f)
        os.replace(name + ".tmp", name)
        return ms


# ---- suites --------------------------------------------------------------------------------

class Suite:
    def __init__(self, name, commands, env, cwd, targets):
        self.name, self.commands, self.env, self.cwd, self.targets = name, commands, env, cwd, targets
        self.seconds = None  # on the original sources

    def run(self, timeout):
        """None when every command passes, else what failed."""
        env = dict(os.environ)
        env.update(self.env)
        deadline = time.time() + timeout
        for cmd in self.commands:
            left = deadline - time.time()
            if left <= 0:
                return "timeout"
            try:
                p = subprocess.run(cmd, cwd=self.cwd, env=env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL,
                                   timeout=left, start_new_session=True)
            except subprocess.TimeoutExpired:
                return "timeout"
            if p.returncode != 0:
                return "failed"
        return None


def load_suites(build):
    """The build's tests grouped into suites: one per gtest executable and environment."""
    out = subprocess.run(["ctest", "--show-only=json-v1"], cwd=build, check=True,
                         capture_output=True, text=True).stdout
    suites = {}
    for t in json.loads(out)["tests"]:
        props = {p["name"]: p["value"] for p in t.get("properties", [])}
        env = dict(v.split("=", 1) for v in props.get("ENVIRONMENT", []))
        cwd = props.get("WORKING_DIRECTORY", build)
        cmd = t.get("command")
        if not cmd:
            continue
        targets = [os.path.basename(a) for a in cmd
                   if os.path.isabs(a) and a.startswith(os.path.abspath(build) + os.sep)]
        if any(a.startswith("--gtest_filter=") for a in cmd[1:]):
            exe = os.path.basename(cmd[0])
            name = exe + (".reference" if env.get("QUOR_REFERENCE") else "")
            if name not in suites:
                # The whole executable in one process, stopping at the first failure.
                suites[name] = Suite(name, [[cmd[0], "--gtest_fail_fast", "--gtest_brief=1"]], env, cwd, [exe])
        else:
            suites[t["name"]] = Suite(t["name"], [cmd], env, cwd, targets)
    return suites


def covering(folder, suites, patterns=None):
    pats = [re.compile(p) for p in (patterns or COVER.get(folder, []))]
    return [s for n, s in sorted(suites.items()) if any(p.search(n) for p in pats)]


# ---- building ------------------------------------------------------------------------------

def ninja(build, targets, quiet=True):
    p = subprocess.run(["ninja", "-C", build] + list(targets), capture_output=True, text=True)
    if p.returncode != 0 and not quiet:
        log(p.stdout[-3000:])
    return p.returncode == 0


def stripped(build, obj):
    """The object's bytes without debug info (line numbers move when code does)."""
    with tempfile.NamedTemporaryFile(suffix=".o") as tmp:
        subprocess.run(["objcopy", "--strip-debug", "-R", ".comment", os.path.join(build, obj), tmp.name],
                       check=True, capture_output=True)
        with open(tmp.name, "rb") as f:
            return f.read()


# ---- the run -------------------------------------------------------------------------------

def load_equivalents():
    known = {}
    if os.path.exists(EQUIVALENT_FILE):
        with open(EQUIVALENT_FILE) as f:
            for line in f:
                line = line.rstrip("\n")
                if line and not line.startswith("#") and " : " in line:
                    key, reason = line.rsplit(" : ", 1)
                    known[key.strip()] = reason.strip()
    return known


def dirty(files):
    rel = [os.path.relpath(f, ROOT) for f in files]
    p = subprocess.run(["git", "status", "--porcelain", "--"] + rel, cwd=ROOT, capture_output=True, text=True)
    return p.stdout.strip()


def save_backup(backup, path, text):
    os.makedirs(backup, exist_ok=True)
    with open(os.path.join(backup, "source"), "wb") as f:
        f.write(text)
    with open(os.path.join(backup, "path.tmp"), "w") as f:
        f.write(path)
    os.replace(os.path.join(backup, "path.tmp"), os.path.join(backup, "path"))


def restore_backup(backup):
    """Puts back a source a killed run left mutated."""
    marker = os.path.join(backup, "path")
    if not os.path.exists(marker):
        return
    with open(marker) as f:
        path = f.read()
    with open(os.path.join(backup, "source"), "rb") as f:
        text = f.read()
    with open(path, "rb") as f:
        if f.read() != text:
            log("mutants: restoring %s, left mutated by an earlier run" % os.path.relpath(path, ROOT))
            with open(path, "wb") as w:
                w.write(text)
    os.remove(marker)


def drop_backup(backup):
    marker = os.path.join(backup, "path")
    if os.path.exists(marker):
        os.remove(marker)


def linked_objects(build, targets):
    """Object files that go into the targets."""
    p = subprocess.run(["ninja", "-C", build, "-t", "commands"] + list(targets), capture_output=True, text=True)
    objs = set()
    for line in p.stdout.splitlines():
        for word in line.split():
            if word.endswith(".o"):
                objs.add(word)
    return objs


def sample_files(folders):
    files = []
    for folder in folders:
        d = os.path.join(ROOT, folder)
        files += sorted(os.path.join(d, f) for f in os.listdir(d) if f.endswith(".cpp"))
    return files


def on_signal(signum, frame):
    raise KeyboardInterrupt("signal %d" % signum)


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("files", nargs="*", help="sources to mutate (default: a sample over every folder)")
    ap.add_argument("--n", type=int, default=0, help="mutants to test (default: all of the files given, 120 for the sample)")
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--build", default=os.path.join(ROOT, "build-mutants"))
    ap.add_argument("--timeout", type=float, default=0,
                    help="seconds per suite run (default: 4 times its time on the original, at least 30)")
    ap.add_argument("--tests", action="append", help="suite regexes instead of the folder's own (repeatable)")
    ap.add_argument("--report", default=None, help="also write the report to this file")
    ap.add_argument("--list", action="store_true", help="only list the mutants found")
    ap.add_argument("--only", metavar="REPORT",
                    help="test again only the mutants a report lists as surviving (its '- ' lines)")
    ap.add_argument("--folders", help="the sample's folders, comma-separated (default: all); "
                    "each folder's share of the sample stays the same")
    opts = ap.parse_args()

    signal.signal(signal.SIGTERM, on_signal)
    build = os.path.abspath(opts.build)
    if not os.path.exists(os.path.join(build, "build.ninja")):
        subprocess.run(["cmake", "-S", ROOT, "-B", build, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
                        "-DCMAKE_EXPORT_COMPILE_COMMANDS=ON", "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"], check=True)
    given = [os.path.abspath(f) for f in opts.files]
    files = given or sample_files(opts.folders.split(",") if opts.folders else FOLDERS)
    for f in files:
        if not os.path.isfile(f):
            sys.exit("mutants: no such file: %s" % f)
    # One run at a time per build dir: another one's mutant must not be taken for a leftover.
    os.makedirs(build, exist_ok=True)
    lock = open(os.path.join(build, "mutants.lock"), "w")
    try:
        fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
    except OSError:
        sys.exit("mutants: another run is using %s" % build)
    backup = os.path.join(build, "mutants-backup")
    restore_backup(backup)
    if dirty(files):
        sys.exit("mutants: uncommitted changes in the files to mutate; commit or stash them first:\n" + dirty(files))

    if not opts.list:
        log("mutants: building %s" % os.path.relpath(build, ROOT))
        if not ninja(build, [], quiet=False):
            sys.exit("mutants: the unmutated build fails")
    commands = Commands(build)

    # Candidates, in a deterministic order per folder.
    per_folder = {}
    cache = Cache(os.path.join(build, "mutants-cache"))
    for f in files:
        ms = cache.get(f, commands)
        per_folder.setdefault(folder_of(f), []).extend(ms)
    if opts.list:
        for folder, ms in per_folder.items():
            for m in ms:
                log("%-9s %s" % (m.kind, m.key()))
        return 0
    folders = sorted(per_folder, key=lambda d: FOLDERS.index(d) if d in FOLDERS else len(FOLDERS))
    for folder in folders:
        random.Random("%d:%s" % (opts.seed, folder)).shuffle(per_folder[folder])
    if opts.only:
        with open(opts.only) as f:
            wanted = {l[2:].rstrip("\n") for l in f if l.startswith("- ")}
        for folder in folders:
            per_folder[folder] = [m for m in per_folder[folder]
                                  if m.key() in wanted or m.key().replace(":%d " % m.column, " ", 1) in wanted]
        given = files
    n = 0 if opts.only else opts.n or (0 if given else 120)
    quota = {}
    shares = folders if given else FOLDERS
    for i, folder in enumerate(shares):
        if folder in per_folder:
            quota[folder] = (n // len(shares) + (1 if i < n % len(shares) else 0)) if n else len(per_folder[folder])

    suites = load_suites(build)
    equivalents = load_equivalents()
    results = {folder: [] for folder in folders}
    skipped = {folder: {"no build": 0, "same object": 0} for folder in folders}
    originals, objects = {}, {}  # per mutated file: its bytes, its stripped objects
    start = time.time()
    try:
        for folder in folders:
            cover = covering(folder, suites, opts.tests)
            if not cover:
                log("mutants: no suites cover %s; skipped" % folder)
                continue
            targets = sorted({t for s in cover for t in s.targets})
            if not ninja(build, targets, quiet=False):
                sys.exit("mutants: building the suites of %s fails" % folder)
            linked = linked_objects(build, targets)
            untested = sorted({m.rel() for m in per_folder[folder]
                               if commands.objects(m.path) and not linked & set(commands.objects(m.path))})
            if untested:
                log("mutants: %s: not in any test binary, left out: %s" % (folder, ", ".join(untested)))
                per_folder[folder] = [m for m in per_folder[folder] if m.rel() not in untested]
            # Each suite once on the original: it must pass, and its time sets its limit.
            live = []
            for s in cover:
                if s.seconds is None:
                    t0 = time.time()
                    s.failure = s.run(600)
                    s.seconds = time.time() - t0
                if s.failure:
                    log("mutants: suite %s fails on the original sources; left out" % s.name)
                else:
                    live.append(s)
            live.sort(key=lambda s: s.seconds)
            log("mutants: %s: %d mutants to test, suites %s" % (
                folder, quota[folder], ", ".join("%s (%.0fs)" % (s.name, s.seconds) for s in live)))
            done = 0
            for m in per_folder[folder]:
                if done >= quota[folder]:
                    break
                if m.key() in equivalents:
                    results[folder].append((m, "equivalent", equivalents[m.key()], ""))
                    log("  equivalent  %s (%s)" % (m.key(), equivalents[m.key()]))
                    continue
                if m.path not in originals:
                    with open(m.path, "rb") as f:
                        originals[m.path] = f.read()
                    objs = commands.objects(m.path)
                    if objs and not ninja(build, objs):
                        sys.exit("mutants: %s does not build unmutated" % m.rel())
                    objects[m.path] = {o: stripped(build, o) for o in objs}
                text = originals[m.path]
                base_objects = objects[m.path]
                t0 = time.time()
                try:
                    # A copy of the original outside the tree, for a run that gets killed.
                    save_backup(backup, m.path, text)
                    with open(m.path, "wb") as f:
                        f.write(m.apply(text))
                    if base_objects:
                        if not ninja(build, list(base_objects)):
                            skipped[folder]["no build"] += 1
                            continue
                        if all(stripped(build, o) == b for o, b in base_objects.items()):
                            skipped[folder]["same object"] += 1
                            continue
                    if not ninja(build, targets):
                        skipped[folder]["no build"] += 1
                        continue
                    verdict, by = "survived", ""
                    for s in live:
                        limit = opts.timeout or max(30.0, 4 * s.seconds)
                        failure = s.run(limit)
                        if failure:
                            verdict, by = "killed", "%s %s" % (s.name, failure)
                            break
                finally:
                    with open(m.path, "wb") as f:
                        f.write(text)
                    drop_backup(backup)
                done += 1
                results[folder].append((m, verdict, by, m.diff(text) if verdict == "survived" else ""))
                log("  %-8s %s%s  [%.0fs]" % (verdict, m.key(), "  (" + by + ")" if by else "", time.time() - t0))
    except KeyboardInterrupt:
        log("mutants: interrupted; sources restored, the report covers the mutants tested so far")
    finally:
        for path, text in originals.items():
            with open(path, "rb") as f:
                if f.read() != text:
                    with open(path, "wb") as w:
                        w.write(text)
        restore_backup(backup)
        # Leave the build matching the sources again.
        subprocess.run(["ninja", "-C", build], capture_output=True)

    report = summary(results, skipped, time.time() - start)
    log(report)
    if opts.report:
        with open(opts.report, "w") as f:
            f.write(report + "\n")
    return 0


def summary(results, skipped, seconds):
    lines = ["", "Mutation score by folder (killed / tested; equivalents set aside):"]
    total_k = total_t = 0
    survivors, equivalent = [], []
    for folder, rs in results.items():
        k = sum(1 for r in rs if r[1] == "killed")
        t = sum(1 for r in rs if r[1] in ("killed", "survived"))
        e = sum(1 for r in rs if r[1] == "equivalent")
        total_k, total_t = total_k + k, total_t + t
        lines.append("  %-11s %3d / %3d  %5s   (equivalent %d, not compiling %d, same object %d)" % (
            folder, k, t, "%.0f%%" % (100.0 * k / t) if t else "-", e,
            skipped[folder]["no build"], skipped[folder]["same object"]))
        survivors += [r for r in rs if r[1] == "survived"]
        equivalent += [r for r in rs if r[1] == "equivalent"]
    lines.append("  %-11s %3d / %3d  %5s   in %.0f minutes" % (
        "all", total_k, total_t, "%.0f%%" % (100.0 * total_k / total_t) if total_t else "-", seconds / 60))
    if survivors:
        lines.append("")
        lines.append("Surviving mutants:")
        for m, _, _, diff in survivors:
            lines.append("- " + m.key())
            lines += ["    " + l for l in diff.splitlines()]
    if equivalent:
        lines.append("")
        lines.append("Equivalent mutants (set aside):")
        for m, _, reason, _ in equivalent:
            lines.append("- %s : %s" % (m.key(), reason))
    return "\n".join(lines)


if __name__ == "__main__":
    sys.exit(main())
