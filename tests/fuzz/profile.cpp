// An INI file: the input is written as the file of a private folder and read as the
// programs read it (single keys, the plotter's settings and their integers), then one key is
// written and the file saved and read again: the key reads back as written, every other key
// as before, and the folder holds only the file (no temporary left by the atomic write).
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "profile.h"
#include "settings.h"

namespace {

// The private folder, on /dev/shm when there is one (the atomic write syncs each file),
// removed at exit.
const char* folder()
{
    static char dir[64];
    if (!dir[0]) {
        std::snprintf(dir, sizeof dir, "%s/quorfuzziniXXXXXX",
                      std::filesystem::is_directory("/dev/shm") && access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp");
        if (!mkdtemp(dir)) abort();
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(dir, ec);
        });
    }
    return dir;
}

// A failed check ends the run (abort skips the exit handlers, so the folder goes first).
void check(bool ok, const char* what)
{
    if (ok) return;
    std::fprintf(stderr, "profile fuzz: %s\n", what);
    std::error_code ec;
    std::filesystem::remove_all(folder(), ec);
    abort();
}

std::string trim(const std::string& s)
{
    const std::size_t a = s.find_first_not_of(" \t");
    if (a == std::string::npos) return "";
    return s.substr(a, s.find_last_not_of(" \t") - a + 1);
}

std::string lower(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return s;
}

// Section and key names that stand in the text (as a reader would take them), beside the
// ones the programs use.
void names(const std::string& text, std::vector<std::string>& sections, std::vector<std::string>& keys)
{
    sections = {"state", "vari", "units", "basedir", "STATE", "absent"};
    keys = {"isontop", "showresult", "backimage", "vari", "count", "unit0", "unit1", "path", "Count", "absent"};
    std::size_t from = 0;
    while (from <= text.size() && sections.size() + keys.size() < 60) {
        std::size_t end = text.find_first_of("\r\n", from);
        if (end == std::string::npos) end = text.size();
        const std::string t = trim(text.substr(from, end - from));
        from = end + 1;
        if (t.size() >= 2 && t[0] == '[' && t.find(']') != std::string::npos) {
            sections.push_back(trim(t.substr(1, t.find(']') - 1)));
        } else if (!t.empty() && t[0] != ';' && t[0] != '[' && t.find('=') != std::string::npos) {
            keys.push_back(trim(t.substr(0, t.find('='))));
        }
    }
}

using readings = std::map<std::pair<std::string, std::string>, std::string>;

// Every section with every key, with a default no file holds.
readings readall(const quor::tprofile& p, const std::vector<std::string>& sections, const std::vector<std::string>& keys)
{
    static const std::string none("\x01\x02none");
    readings r;
    for (const std::string& s : sections)
        for (const std::string& k : keys) {
            const std::string v = p.read(s, k, none);
            check(v.find_first_of("\r\n") == std::string::npos, "a value holds a line break");
            // A present key gives its value whatever the default.
            if (v != none) check(p.read(s, k, "") == v, "the default changed a present value");
            r[{lower(s), lower(k)}] = v;
        }
    return r;
}

bool samesettings(const quor::tpaintsettings& a, const quor::tpaintsettings& b)
{
    return a.varname == b.varname && a.ontop == b.ontop && a.showresult == b.showresult &&
           a.backimage == b.backimage && a.units == b.units;
}

// Only the file itself may stay in the folder.
void onlythefile(const std::string& dir)
{
    int n = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
        check(e.path().filename() == "t.ini", "a temporary file stayed");
        ++n;
    }
    check(n <= 1, "more than the file");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string dir = folder();
    const std::string path = dir + "/t.ini";
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(text.data(), static_cast<std::streamsize>(size));

    std::vector<std::string> sections, keys;
    names(text, sections, keys);
    const quor::tprofile p(path);
    check(p.existed(), "the file was not read");
    const readings before = readall(p, sections, keys);
    int single = 0;   // the one-read form opens the file each time: a few of them
    for (const auto& [name, value] : before) {
        if (++single <= 3)
            check(quor::readprofile(name.first, name.second, "\x01\x02none", path) == value, "one read differs");
        long long v = 0;
        if (quor::readinteger(value, v)) check(v >= -100000000000000LL && v <= 100000000000000LL, "integer out of range");
    }

    // The plotter's settings survive their own writing unchanged.
    const quor::tpaintsettings s = quor::readpaintsettings(p);
    check(static_cast<long long>(s.units.size()) <= p.linecount(), "more units than lines");
    {
        quor::tprofile w(path);
        quor::writepaintsettings(w, s);
        check(w.save(), "the settings were not saved");
        onlythefile(dir);
        check(samesettings(quor::readpaintsettings(quor::tprofile(path)), s), "the settings changed on writing");
    }

    // One key written, picked and valued from the input; a value with a line break keeps its
    // first line.
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(text.data(), static_cast<std::streamsize>(size));
    std::size_t h = 0;
    for (unsigned char c : text) h = h * 131 + c;
    const std::string section = sections[h % sections.size()];
    const std::string key = keys[(h / 7) % keys.size()];
    const std::string value = text.substr(size / 2, 64);
    const std::string expected = value.substr(0, value.find_first_of("\r\n"));
    quor::tprofile w(path);
    w.write(section, key, value);
    check(w.read(section, key, "\x01") == expected, "the written key reads otherwise before saving");
    check(w.save(), "the file was not saved");
    onlythefile(dir);
    const quor::tprofile r(path);
    check(r.read(section, key, "\x01") == expected, "the written key reads otherwise");
    readings after = readall(r, sections, keys);
    after[{lower(trim(section)), lower(trim(key))}] = before.at({lower(section), lower(key)});
    check(after == before, "another key changed");
    std::filesystem::remove(path);
    return 0;
}
