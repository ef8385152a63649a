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

// A name as the lookups compare it: blanks around it dropped, ASCII letters in lower case.
std::string fold(const std::string& name)
{
    std::string f = trim(name);
    for (char& c : f)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return f;
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

// The text that reads back as value (one line already): quoted when the reading would
// drop blanks at its ends or a pair of enclosing quotes.
std::string stored(const std::string& value)
{
    const bool blanks = !value.empty() && (trim(value).size() != value.size());
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    return blanks || quoted ? "\"" + value + "\"" : value;
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
    index(0);
}

std::string& tprofile::at(tplace p)
{
    return p.sub < 0 ? lines_[static_cast<std::size_t>(p.line)] : after_[p.line][static_cast<std::size_t>(p.sub)];
}

const std::string& tprofile::at(tplace p) const
{
    return p.sub < 0 ? lines_[static_cast<std::size_t>(p.line)] : after_.at(p.line)[static_cast<std::size_t>(p.sub)];
}

void tprofile::index(std::size_t from)
{
    std::string name, value;
    for (std::size_t i = from; i < lines_.size(); ++i) {
        const int line = static_cast<int>(i);
        if (heading(lines_[i], name)) {
            lastheading_ = line;
            sections_.emplace(fold(name), line);
            lastline_[line] = {line, -1};
        } else if (lastheading_ >= 0) {
            if (keyline(lines_[i], name, value)) keys_.emplace(std::make_pair(lastheading_, fold(name)), tplace{line, -1});
            if (!trim(lines_[i]).empty()) lastline_[lastheading_] = {line, -1};
        }
    }
}

int tprofile::findsection(const std::string& section) const
{
    const auto it = sections_.find(fold(section));
    return it == sections_.end() ? -1 : it->second;
}

tprofile::tplace tprofile::findkey(int first, const std::string& key) const
{
    const auto it = keys_.find(std::make_pair(first, fold(key)));
    return it == keys_.end() ? tplace{-1, -1} : it->second;
}

std::string tprofile::read(const std::string& section, const std::string& key, const std::string& deflt) const
{
    const int s = findsection(section);
    if (s < 0) return deflt;
    const tplace k = findkey(s, key);
    if (k.line < 0) return deflt;
    std::string name, value;
    keyline(at(k), name, value);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

void tprofile::write(const std::string& section, const std::string& key, const std::string& value)
{
    const std::string line = trim(key) + "=" + stored(value.substr(0, value.find_first_of("\r\n")));
    const int s = findsection(section);
    if (s < 0) {
        const std::size_t from = lines_.size();
        lines_.push_back("[" + trim(section) + "]");
        lines_.push_back(line);
        index(from);
        return;
    }
    const tplace k = findkey(s, key);
    if (k.line >= 0) {
        // The same key under the same heading: the lookups stay as they are.
        at(k) = line;
        return;
    }
    // After the section's last non-blank line, so blank separators stay before the next
    // section. That line is the last one added after its line, if any were.
    tplace& last = lastline_.at(s);
    std::vector<std::string>& added = after_[last.line];
    added.push_back(line);
    ++added_;
    last.sub = static_cast<int>(added.size()) - 1;
    keys_.emplace(std::make_pair(s, fold(key)), last);
}

bool tprofile::save() const
{
    if (unreadable_) return false;
    std::error_code ec;
    const std::filesystem::path parent = std::filesystem::path(path_).parent_path();
    if (!parent.empty()) std::filesystem::create_directories(parent, ec);
    std::string text;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        text += lines_[i] + eol_;
        const auto added = after_.find(static_cast<int>(i));
        if (added != after_.end())
            for (const std::string& l : added->second) text += l + eol_;
    }
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
    // An installed program (bin/ with its data in ../share/quor) never writes into the system's
    // folders, even for root: its settings go to the user's configuration folder.
    std::error_code ec;
    const bool installed = programdir.size() >= 4 && programdir.compare(programdir.size() - 4, 4, "/bin") == 0 &&
                           std::filesystem::is_directory(programdir + "/../share/quor", ec);
    if (!programdir.empty() && !installed && ::access(programdir.c_str(), W_OK) == 0)
        return programdir + "/" + name;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    std::string base;
    if (xdg && *xdg == '/') base = xdg;
    else base = std::string(std::getenv("HOME") ? std::getenv("HOME") : ".") + "/.config";
    return base + "/quor/" + name;
}

}  // namespace quor
