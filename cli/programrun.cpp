#include "programrun.h"

#include "consolehost.h"
#include "datadirs.h"
#include "session.h"
#include "units.h"

#ifndef QUOR_DATADIR
#define QUOR_DATADIR "/usr/local/share/quor"
#endif

namespace quorcli {

trunresult runprogram(const std::string& text, quor::tvarlist& vars, quor::tfunclist& funcs,
                      tconsolehost& host, quor::tsession& s)
{
    trunresult r;
    quor::tfuncstore store("Main function");
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

}  // namespace quorcli
