#pragma once
// Plot windows without a display: boards kept by handle, written as pictures at the end.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "enginefwd.h"
#include "plotregistry.h"


namespace quor {

class theadlessplots {
public:
    // Boards evaluate against globals unless created from another list (a call's
    // temporary one), which they then keep a copy of, since that list ends with the call.
    theadlessplots(tvarlist& globals, tsession& s);
    ~theadlessplots();

    // Makes a board and hands out its handle; the board is set up when it is shown, after
    // the caller has stored the handle.
    std::int32_t create(const std::string& expr, const std::string& varname, tvarlist& vars,
                        tfunclist* funcs, tmemo* memo);
    // Sets the board up and samples it at its first size; false when that failed and the
    // board is gone.
    bool show(std::int32_t handle);
    tplotregistry& registry() { return registry_; }

    // Handles of the boards shown and still open, in opening order.
    std::vector<std::int32_t> shown() const;

    struct tpicture {
        int number;            // 1, 2, ... in opening order
        std::string caption;
        std::string path;
        std::string fault;   // why it was not written, "" when it was
    };
    // Writes every open board as DIR/plot-N.png, in opening order.
    std::vector<tpicture> writeall(const std::string& dir);

private:
    struct tpending {
        std::int32_t handle;
        std::string expr, varname;
        tvarlist* vars;
        std::unique_ptr<tvarlist> copy;   // a call's list, copied when the board is shown
        bool shown = false;
    };
    tpending* pending(std::int32_t handle);

    tvarlist& globals_;
    tsession& session_;
    tplotregistry registry_;
    // In opening order. Each entry is held by pointer: plots opened while one is shown
    // grow the list, and the entry being shown must not move.
    std::vector<std::unique_ptr<tpending>> opened_;
    int sampling_ = 0;               // boards being sampled right now
};

// Makes sure a (display-less) Qt application exists for fonts and pictures.
void ensureguiapp();

}  // namespace quor
