#include "fixture.h"

#include <cstdlib>

#include "funcstore.h"
#include "units.h"

namespace quortest {

bool context::referencepath()
{
    const char* v = std::getenv("QUOR_REFERENCE");
    return v && std::string(v) == "1";
}

void context::unit(const std::vector<std::string>& lines) { quor::loadunitlines(lines, funcs, session.dialect); }

std::string context::run(const std::vector<std::string>& lines)
{
    quor::tfuncstore store("Main function");
    store.assignlines(lines);
    const std::string fault = store.checkblocks(session);
    if (!fault.empty()) return fault;
    store.runstore(vars, funcs, &host, session);
    return "";
}

}  // namespace quortest
