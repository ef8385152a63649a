#pragma once
// The open plot boards by window handle, and the three window commands on them.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "plotboard.h"

namespace quor {

class tplotregistry {
public:
    // Takes the board and hands out its handle: non-zero and not in use.
    std::int32_t add(std::unique_ptr<tplotboard> board);
    // The board of a handle, or null. Board addresses stay fixed while the board lives.
    tplotboard* find(std::int32_t handle) const;
    // Destroys the board; false for an unknown handle. A board being shown (sampling)
    // is closed at once (find no longer gives it) and destroyed when its show returns.
    bool remove(std::int32_t handle);
    // Destroys every board that reports to memo (the memo's window is going away).
    void removeowned(const tmemo* memo);
    std::vector<std::int32_t> handles() const;
    int count() const;

    // A new board over expression and variable, set up and registered; not yet sized.
    std::int32_t create(const std::string& expression, const std::string& variable, tvarlist& vars,
                        tfunclist* funcs, tmemo* memo, tsession& s, bool drawaxis,
                        int outerwidth = defaultouterwidth, int outerheight = defaultouterheight);
    // The same from the plot command's argument text "expression,variable,handle ref";
    // the handle is stored in the referenced variable before the setting is filled.
    // A failure removes the board again and is raised.
    std::int32_t createfromargs(const std::string& args, tvarlist& vars, tfunclist* funcs, tmemo* memo,
                                tsession& s, bool drawaxis, int outerwidth = defaultouterwidth,
                                int outerheight = defaultouterheight);
    // Shows the board and gives it its first size. False: the board failed to sample (show
    // paintfailure) or was removed while sampling, and is gone.
    bool show(std::int32_t handle);

    // The drawing context of the screen, which handle 0 names.
    static constexpr std::int32_t screendc = 0x01010052;
    // Window commands. getdc: non-zero for a live board or the screen (handle 0), else 0.
    std::int32_t getdc(std::int32_t handle) const;
    // Mode 0 hides, any other shows; non-zero when it was visible before (0 if unknown).
    std::int32_t showwnd(std::int32_t handle, std::int32_t mode);
    // Sets the caption; 1 on success, 0 for an unknown handle.
    std::int32_t setwndtext(std::int32_t handle, const std::string& text);

private:
    struct tentry {
        std::unique_ptr<tplotboard> board;
        int showing = 0;       // shows of this board now running
        bool closed = false;   // removed while showing: destroyed when the last show returns
    };
    std::map<std::int32_t, tentry> boards_;
    std::int32_t next_ = 1;
};

}  // namespace quor
