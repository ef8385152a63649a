#include "plotregistry.h"

#include <limits>

#include "session.h"
#include "variables.h"

namespace quor {

std::int32_t tplotregistry::add(std::unique_ptr<tplotboard> board)
{
    if (!board) return 0;
    while (next_ == 0 || boards_.count(next_)) next_ = next_ == std::numeric_limits<std::int32_t>::max() ? 1 : next_ + 1;
    const std::int32_t handle = next_;
    next_ = handle == std::numeric_limits<std::int32_t>::max() ? 1 : handle + 1;
    boards_[handle].board = std::move(board);
    return handle;
}

tplotboard* tplotregistry::find(std::int32_t handle) const
{
    const auto it = boards_.find(handle);
    return it == boards_.end() || it->second.closed ? nullptr : it->second.board.get();
}

bool tplotregistry::remove(std::int32_t handle)
{
    const auto it = boards_.find(handle);
    if (it == boards_.end() || it->second.closed) return false;
    // A board that is sampling has its own frames on the stack: it goes when they return.
    if (it->second.showing > 0) it->second.closed = true;
    else boards_.erase(it);
    return true;
}

void tplotregistry::removeowned(const tmemo* memo)
{
    for (const std::int32_t h : handles())
        if (find(h)->memo() == memo) remove(h);
}

std::vector<std::int32_t> tplotregistry::handles() const
{
    std::vector<std::int32_t> out;
    for (const auto& entry : boards_)
        if (!entry.second.closed) out.push_back(entry.first);
    return out;
}

int tplotregistry::count() const { return static_cast<int>(handles().size()); }

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
    bool ok = false;
    {
        // Sampling may open, show and remove boards, this one included: the entry (a map
        // node, never moved) keeps the board alive until the sampling is over.
        tentry& entry = boards_.at(handle);
        const tcharge<int> during(entry.showing, 1);
        board->setvisible(true);
        ok = board->resize(board->outerwidth(), board->outerheight());
    }
    tentry& entry = boards_.at(handle);
    if (ok && !entry.closed) return true;
    if (entry.showing > 0) entry.closed = true;   // an outer show of the same board ends it
    else boards_.erase(handle);
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
