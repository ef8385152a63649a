#include "datafiles.h"

#include "datadirs.h"

#ifndef QUOR_DATADIR
#define QUOR_DATADIR "/usr/local/share/quor"
#endif

namespace quor {

std::vector<std::string> programdatadirs() { return datadirs(QUOR_DATADIR); }

std::string programdatafile(const std::string& name) { return finddatafile(name, programdatadirs()); }

}  // namespace quor
