#pragma once
// Private-profile (INI) files read and written by the Windows rules: sections and keys are
// found without regard to case, a missing key gives the default, a key present with an empty
// value gives the empty value, and a write changes one key and keeps every other line.
#include <map>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace quor {

class tprofile {
public:
    // The file's lines, when it exists and can be read; an empty profile otherwise.
    explicit tprofile(std::string path);

    // The value of key in section (blanks around it and one pair of enclosing quotes
    // dropped); deflt when the section or the key is missing.
    std::string read(const std::string& section, const std::string& key, const std::string& deflt) const;
    // Sets key in section, adding the key at the end of the section or the section at the
    // end of the file. A value is one line: it is cut at its first line break; one that would
    // not read back as it stands (blanks at either end, enclosing quotes) is written quoted.
    // Section and key are plain names: no "]", "=" or line break, the key not starting
    // with ";" or "[".
    void write(const std::string& section, const std::string& key, const std::string& value);
    // Replaces the file atomically (its folder is made when missing); false on failure,
    // which leaves the old file as it was. A file that exists but could not be read (a
    // folder, no access) is never replaced.
    bool save() const;

    const std::string& path() const { return path_; }
    long long linecount() const { return static_cast<long long>(lines_.size() + added_); }
    bool existed() const { return existed_; }

private:
    // Where a line stands: lines_[line] itself (sub -1) or the line after[line][sub] added
    // after it. Keys added to a section go after its last line, so no line ever moves.
    struct tplace {
        int line;
        int sub;
    };
    std::string& at(tplace p);
    const std::string& at(tplace p) const;
    // Index of the first line of the section's heading, or -1.
    int findsection(const std::string& section) const;
    // Where the key's line stands within the section starting at heading; line -1 if nowhere.
    tplace findkey(int heading, const std::string& key) const;
    // Adds lines from on to the lookups.
    void index(std::size_t from);

    std::string path_;
    std::vector<std::string> lines_;
    std::unordered_map<int, std::vector<std::string>> after_;
    std::size_t added_ = 0;
    // Lookups by names folded to lower case, so that reading or writing a key costs no scan
    // of the file: the first heading of each section, the first line of each key under a
    // heading, and the last non-blank line of each heading's section (where a key is added).
    std::unordered_map<std::string, int> sections_;
    std::map<std::pair<int, std::string>, tplace> keys_;
    std::unordered_map<int, tplace> lastline_;
    int lastheading_ = -1;
    std::string eol_ = "\n";
    bool existed_ = false;
    bool unreadable_ = false;
};

// One read, as GetPrivateProfileString does it.
std::string readprofile(const std::string& section, const std::string& key, const std::string& deflt,
                        const std::string& path);
// One write, as WritePrivateProfileString does it; false when the file could not be written.
bool writeprofile(const std::string& section, const std::string& key, const std::string& value,
                  const std::string& path);

// Where a program keeps its INI file called name: its own folder programdir when that is
// writable and not an installed bin/ folder (one with ../share/quor), else
// $XDG_CONFIG_HOME/quor (by default ~/.config/quor).
std::string profilepath(const std::string& name, const std::string& programdir);

}  // namespace quor
