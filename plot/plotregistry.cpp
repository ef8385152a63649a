#include "plotregistry.h"

#include <limits>

#include "variables.h"

namespace quor {

std::int32_t tplotregistry::add(std::unique_ptr<tplotboard> board)
{
    if (!board) return 0;
    while (next_ == 0 || boards_.count(next_)) next_ = next_ == std::numeric_limits<std::int32_t>::max() ? 1 : next_ + 1;
    const std::int32_t handle = next_;
    next_ = handle == std::numeric_limits<std::int32_t>::max() ? 1 : handle + 1;
    boards_[handle] = std::move(board);
    return handle;
}

tplotboard* tplotregistry::find(std::int32_t handle) const
{
    const auto it = boards_.find(handle);
    return it == boards_.end() ? nullptr : it->second.get();
}

bool tplotregistry::remove(std::int32_t handle) { return boards_.erase(handle) > 0; }

void tplotregistry::removeowned(const tmemo* memo)
{
    std::erase_if(boards_, [memo](const auto& entry) { return entry.second->memo() == memo; });
}

std::vector<std::int32_t> tplotregistry::handles() const
{
    std::vector<std::int32_t> out;
    for (const auto& entry : boards_) out.push_back(entry.first);
    return out;
}

std::int32_t tplotregistry::create(const std::string& expression, const std::string& variable, tvarlist& vars,
                                   tfunclist* funcs, tmemo* memo, tsession& s, bool drawaxis, int outerwidth,
                                   int outerheight)
{
    auto board = std::make_unique<tplotboard>(vars, funcs, memo, s, drawaxis, outerwidth, outerheight);
    board->setup(expression, variable);
    return add(std::move(board));
}

std::int32_t tplotregistry::createfromargs(const std::string& args, tvarlist& vars, tfunclist* funcs,
                                           tmemo* memo, tsession& s, bool drawaxis, int outerwidth,
                                           int outerheight)
{
    const std::int32_t handle =
        add(std::make_unique<tplotboard>(vars, funcs, memo, s, drawaxis, outerwidth, outerheight));
    try {
        find(handle)->setup(args, [&](const std::string& ref) { vars.setvar(ref, handle, funcs, memo, s); });
    } catch (...) {
        remove(handle);
        throw;
    }
    return handle;
}

bool tplotregistry::show(std::int32_t handle)
{
    tplotboard* board = find(handle);
    if (!board) return false;
    board->setvisible(true);
    if (board->resize(board->outerwidth(), board->outerheight())) return true;
    remove(handle);
    return false;
}

std::int32_t tplotregistry::getdc(std::int32_t handle) const
{
    // Handle 0 asks for the whole screen's drawing context, which always exists.
    if (handle == 0) return screendc;
    return find(handle) ? handle : 0;
}

std::int32_t tplotregistry::showwnd(std::int32_t handle, std::int32_t mode)
{
    tplotboard* board = find(handle);
    if (!board) return 0;
    const bool was = board->visible();
    board->setvisible(mode != 0);
    return was ? 1 : 0;
}

std::int32_t tplotregistry::setwndtext(std::int32_t handle, const std::string& text)
{
    tplotboard* board = find(handle);
    if (!board) return 0;
    board->setcaption(text);
    return 1;
}

}  // namespace quor
