#include "datadirs.h"

#include <unistd.h>

#include <filesystem>

namespace quor {

std::string exedir()
{
    char buf[4096];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return "";
    const std::string exe(buf, static_cast<std::size_t>(n));
    const std::size_t slash = exe.rfind('/');
    return slash == std::string::npos ? "" : exe.substr(0, slash);
}

std::vector<std::string> datadirs(const std::string& installdir)
{
    std::vector<std::string> dirs{""};
    const std::string dir = exedir();
    if (!dir.empty()) {
        dirs.push_back(dir);
        dirs.push_back(dir + "/../share/quor");
    }
    dirs.push_back(installdir);
    return dirs;
}

std::string finddatafile(const std::string& name, const std::vector<std::string>& dirs)
{
    if (name.empty()) return "";
    std::error_code ec;
    if (name.find('/') != std::string::npos)
        return std::filesystem::is_regular_file(name, ec) ? name : "";
    for (const std::string& d : dirs) {
        const std::string path = d.empty() ? name : d + "/" + name;
        if (std::filesystem::is_regular_file(path, ec)) return path;
    }
    return "";
}

}  // namespace quor
