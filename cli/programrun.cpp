#include "programrun.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "consolehost.h"
#include "datadirs.h"
#include "session.h"
#include "units.h"

#ifndef QUOR_DATADIR
#define QUOR_DATADIR "/usr/local/share/quor"
#endif

namespace quorcli {

trunresult runprogram(const std::string& text, quor::tvarlist& vars, quor::tfunclist& funcs,
                      tconsolehost& host, quor::tsession& s, const std::string& source)
{
    trunresult r;
    quor::tfuncstore store("Main function");
    store.source = source;
    store.assignlines(quor::splittextlines(text));
    const std::string fault = store.checkblocks(s);
    if (!fault.empty()) {
        host.showmessage("Error on " + fault);
        host.append("Error on " + fault);
        r.outcome = toutcome::notstarted;
        return r;
    }
    store.runstore(vars, funcs, &host, s);
    if (store.fault.stopped) {
        r.outcome = toutcome::stopped;
        r.fault = store.fault;
    }
    return r;
}

std::vector<std::string> tabledirs(const std::string& chosen)
{
    if (!chosen.empty()) return {chosen};
    return quor::datadirs(QUOR_DATADIR);
}

std::string lookedin(const std::vector<std::string>& dirs)
{
    std::string out;
    for (const std::string& d : dirs) out += (out.empty() ? "" : ", ") + (d.empty() ? std::string(".") : d);
    return " (looked in: " + out + ")";
}

std::string readfailure(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) return std::strerror(errno);
    struct stat st {};
    const bool folder = ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode);
    ::close(fd);
    return folder ? std::strerror(EISDIR) : "";
}

}  // namespace quorcli
