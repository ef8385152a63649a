// The plotting module's entry points.
#include "plotcommand.h"
#include "plotmodule.h"

extern "C" quorcli::tplotside* quor_openplotside(quor::tvarlist& globals, quor::tsession& s)
{
    return new quorcli::tboardside(globals, s);
}

extern "C" int quor_plotcommand(const std::vector<std::string>& args) { return quorcli::plotcommand(args); }
