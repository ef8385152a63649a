#include "profile.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "atomicfile.h"
#include "units.h"

namespace quor {

namespace {

std::string trim(const std::string& s)
{
    const std::size_t a = s.find_first_not_of(" \t");
    if (a == std::string::npos) return "";
    const std::size_t b = s.find_last_not_of(" \t");
    return s.substr(a, b - a + 1);
}

bool sameascii(const std::string& a, const std::string& b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
        if (x != y) return false;
    }
    return true;
}

// The name of a heading line "[name]", or false for any other line.
bool heading(const std::string& line, std::string& name)
{
    const std::string t = trim(line);
    if (t.size() < 2 || t.front() != '[') return false;
    const std::size_t close = t.find(']');
    if (close == std::string::npos) return false;
    name = trim(t.substr(1, close - 1));
    return true;
}

// The key of a line "key=value", or false for a line without "=" (or a comment).
bool keyline(const std::string& line, std::string& key, std::string& value)
{
    const std::string t = trim(line);
    if (t.empty() || t[0] == ';') return false;
    const std::size_t eq = t.find('=');
    if (eq == std::string::npos) return false;
    key = trim(t.substr(0, eq));
    value = trim(t.substr(eq + 1));
    return true;
}

}  // namespace

tprofile::tprofile(std::string path) : path_(std::move(path))
{
    std::string text;
    std::error_code ec;
    if (!readtextfile(path_, text)) {
        unreadable_ = std::filesystem::exists(path_, ec);
        return;
    }
    existed_ = true;
    if (text.find("\r\n") != std::string::npos) eol_ = "\r\n";
    lines_ = splittextlines(text);
}

int tprofile::findsection(const std::string& section) const
{
    std::string name;
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (heading(lines_[i], name) && sameascii(name, trim(section))) return static_cast<int>(i);
    return -1;
}

int tprofile::findkey(int first, const std::string& key) const
{
    std::string name, k, v;
    for (std::size_t i = static_cast<std::size_t>(first) + 1; i < lines_.size(); ++i) {
        if (heading(lines_[i], name)) break;
        if (keyline(lines_[i], k, v) && sameascii(k, trim(key))) return static_cast<int>(i);
    }
    return -1;
}

std::string tprofile::read(const std::string& section, const std::string& key, const std::string& deflt) const
{
    const int s = findsection(section);
    if (s < 0) return deflt;
    const int k = findkey(s, key);
    if (k < 0) return deflt;
    std::string name, value;
    keyline(lines_[static_cast<std::size_t>(k)], name, value);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

void tprofile::write(const std::string& section, const std::string& key, const std::string& value)
{
    const std::string line = trim(key) + "=" + value.substr(0, value.find_first_of("\r\n"));
    const int s = findsection(section);
    if (s < 0) {
        lines_.push_back("[" + trim(section) + "]");
        lines_.push_back(line);
        return;
    }
    const int k = findkey(s, key);
    if (k >= 0) {
        lines_[static_cast<std::size_t>(k)] = line;
        return;
    }
    // After the section's last non-blank line, so blank separators stay before the next one.
    std::size_t end = static_cast<std::size_t>(s) + 1;
    std::string name;
    std::size_t last = static_cast<std::size_t>(s);
    for (; end < lines_.size() && !heading(lines_[end], name); ++end)
        if (!trim(lines_[end]).empty()) last = end;
    lines_.insert(lines_.begin() + static_cast<long>(last) + 1, line);
}

bool tprofile::save() const
{
    if (unreadable_) return false;
    std::error_code ec;
    const std::filesystem::path parent = std::filesystem::path(path_).parent_path();
    if (!parent.empty()) std::filesystem::create_directories(parent, ec);
    std::string text;
    for (const std::string& l : lines_) text += l + eol_;
    return writefileatomic(path_, text);
}

std::string readprofile(const std::string& section, const std::string& key, const std::string& deflt,
                        const std::string& path)
{
    return tprofile(path).read(section, key, deflt);
}

bool writeprofile(const std::string& section, const std::string& key, const std::string& value,
                  const std::string& path)
{
    tprofile p(path);
    p.write(section, key, value);
    return p.save();
}

std::string profilepath(const std::string& name, const std::string& programdir)
{
    if (!programdir.empty() && ::access(programdir.c_str(), W_OK) == 0) return programdir + "/" + name;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    std::string base;
    if (xdg && *xdg == '/') base = xdg;
    else base = std::string(std::getenv("HOME") ? std::getenv("HOME") : ".") + "/.config";
    return base + "/quor/" + name;
}

}  // namespace quor
