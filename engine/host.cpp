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

bool tpacer::due()
{
    if (last_ >= 0 && ++calls_ < every_) return false;
    calls_ = 0;
    using namespace std::chrono;
    const std::int64_t now = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    if (last_ >= 0 && now - last_ < ms_) return false;
    last_ = now;
    return true;
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
