#include "host.h"

#include <chrono>

#include "fault.h"

namespace quor {

std::int64_t thost::clockms()
{
    using namespace std::chrono;
    const auto now = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    return now % 86400000;
}

void memoline(tmemo* memo, const std::string& line)
{
    if (!memo) throw tfault(line);
    memo->append(line);
}

void resultline(tmemo* memo, const std::string& line)
{
    if (!memo) throw tfault(line);
    memo->appendresult(line);
}

}  // namespace quor
