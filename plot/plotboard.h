#pragma once
// The plot window without its widgets: the plotting state of one drawing board and what
// its commands and mouse actions do to it. The window layer supplies surfaces, boxes and
// the overlay; the board samples, draws and keeps the state.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <QImage>
#include <QSize>

#include "drawing.h"
#include "funclist.h"
#include "moves.h"
#include "plotrecord.h"
#include "enginefwd.h"

namespace quor {

// Shown by the window layer when sampling on resize or drawing fails; the board then goes.
inline constexpr const char* paintfailure = "Error on paint,this paint will quit!";
inline constexpr int defaultouterwidth = 544;
inline constexpr int defaultouterheight = 375;

struct tkeys {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};

// What a left-button press did.
enum class tpressaction {
    none,         // press point recorded only
    movestarted,  // Shift on the curve: a move is being dragged
    anchorset,    // Ctrl on the curve: stretch anchor set; drawanchormark shows it
    stretchstarted,
};

// What a button release did.
enum class treleaseaction {
    none,       // nothing beyond erasing the last zoom rectangle
    zoomrect,   // a new zoom rectangle is to be outlined (zoomrect())
    moved,      // a move or stretch was applied and resampled: redraw
    movedkept,  // applied with Ctrl held: new expression, old curve until the next sampling
    quit,       // resampling failed: show paintfailure and destroy the board
};

enum class tpointer { arrow, hand, move };

class tplotboard {
public:
    // A board evaluating against the given lists and memo (not owned; they must outlive
    // the board or be replaced by rebind). drawaxis is the default for new plots.
    tplotboard(tvarlist& vars, tfunclist* funcs, tmemo* memo, tsession& s, bool drawaxis,
               int outerwidth = defaultouterwidth, int outerheight = defaultouterheight);
    tplotboard(const tplotboard&) = delete;
    tplotboard& operator=(const tplotboard&) = delete;

    // Fills the home setting for the current size and keeps expression and variable; the
    // caption becomes the expression. No sampling until the first resize.
    void setup(const std::string& expression, const std::string& variable);
    // Splits "expression,variable,handle reference" (quoted parts evaluated in the
    // editor's dialect), passes the reference to storehandle, then setup.
    void setup(const std::string& args, const std::function<void(const std::string&)>& storehandle);

    // A new outer size (the first one included): bounds follow and the curve is resampled
    // unless the bounds were set by hand. False: show paintfailure, destroy the board. A
    // stop of the running program is passed on (tstopped).
    bool resize(int outerwidth, int outerheight);
    // Draws the plot on a window surface (filled with the window colour first). False:
    // show paintfailure, destroy the board.
    bool draw(QImage& surface);
    // A fresh surface of the drawing area with the plot drawn; null when drawing failed.
    QImage render();
    // The saved or copied picture: (outer width - 9) x (outer height - 46) pixels of the
    // drawn surface; null when drawing failed.
    QImage picture();
    // Writes picture() under exactly this name (a Windows bitmap unless another format is
    // named), replacing the file atomically.
    bool savepicture(const std::string& path, const char* format = "BMP");
    // Writes the picture as a vector drawing (SVG) of the same size, atomically.
    bool savesvg(const std::string& path);
    // The same vector drawing as the text of an SVG document; "" when drawing failed.
    std::string svg();
    // Draws the stretch anchor mark "*" on a window surface, in the window's text font.
    void drawanchormark(QImage& surface) const;

    // "放大": zooms to the zoom rectangle's columns; nothing without one. Sampling
    // failures are raised.
    void zoom();
    // Mouse wheel: zooms the x range about the world x under column x by factor (below 1
    // narrows); the view becomes a zoomed one. Sampling failures are raised.
    void wheelzoom(std::int32_t x, double factor);
    // "图象还原": back to the home view, resampled. Sampling failures are raised.
    void restoreimage();
    // "表达式还原": identity move, base expression, resampled. False as for resize.
    bool restoreexpression();

    // Left-button press at (x, y) with the keys held.
    tpressaction press(std::int32_t x, std::int32_t y, tkeys keys);
    // Button release at (x, y). Failing move arithmetic raises "Error on move paint".
    treleaseaction release(std::int32_t x, std::int32_t y, bool leftbutton, bool ctrl);
    // Pointer-position hint: world x and y under the pointer.
    std::string hint(std::int32_t x, std::int32_t y) const;
    tpointer pointer(std::int32_t x, std::int32_t y) const;
    // "加注文本" (and double click): asks for a label at the press point.
    bool addlabel();
    // The same with the text already asked for (a window asks through its own boxes).
    bool addlabel(const std::string& text);
    // "删除文本": the record's label dialog.
    void deletelabels();
    // "文本字体": the window's text font and the label font.
    void setlabelfont(const tfont& f);

    // Plot properties: fills the dialog's working record and texts...
    void loadproperties(trecordinfo& working, tshortstring& expression, tshortstring& variable);
    // ...and takes them back after OK; resamples in the home view (failures raised).
    void applyproperties(const trecordinfo& working, const std::string& expression, const std::string& variable);
    // Environment dialog "去": a typed move (or stretch about fixed), then resampled. Move
    // failures raise "Error on move paint"; false as for resize.
    bool applypointmove(tworld p1, tworld p2, std::optional<tworld> fixed);
    // Environment dialog "自动填充函数值": the current expression's value at the number
    // text x; failures raise "Invalid float " + x.
    double valueat(const std::string& x);
    // Environment dialog "修改": new base expression and variable, identity move, resampled.
    bool changeexpression(const std::string& expression, const std::string& variable);

    // Popup menu enabling.
    bool canrestoreimage() const { return viewmode_ == viewzoomed; }
    bool candeletelabels() const { return !record_.labels.empty(); }
    bool canrestoreexpression() const { return expression_ != baseexpression_; }

    // Re-points the board at other lists (for instance when the ones it had go away).
    void rebind(tvarlist& vars, tfunclist* funcs, tmemo* memo);

    const std::string& caption() const { return caption_; }
    void setcaption(const std::string& c) { caption_ = c; }
    bool visible() const { return visible_; }
    void setvisible(bool v) { visible_ = v; }
    tcolour colour() const { return colour_; }
    void setcolour(tcolour c) { colour_ = c & 0xFFFFFF; }
    const tfont& textfont() const { return textfont_; }
    int outerwidth() const { return outerwidth_; }
    int outerheight() const { return outerheight_; }
    // Size of a surface holding the drawing area (columns 0..width-9, rows 0..height-46).
    QSize areasize() const;

    trecordinfo& record() { return record_; }
    const trecordinfo& record() const { return record_; }
    const tpaintsetting& current() const { return current_; }
    const cpaintlist& samples() const { return samples_; }
    std::uint8_t viewmode() const { return viewmode_; }
    std::uint8_t savedmode() const { return savedmode_; }
    tpixel presspoint() const { return press_; }
    tpixel anchorpoint() const { return anchor_; }
    const tzoomrect& zoomrect() const { return zoomrect_; }
    const std::string& expression() const { return expression_; }
    const std::string& baseexpression() const { return baseexpression_; }
    const std::string& plotvariable() const { return variable_; }
    tmemo* memo() const { return memo_; }
    tfunclist* funcs() const { return funcs_; }

private:
    // Samples the current expression over view; the samples change only on success.
    void sample(tviewinfo& view);
    // The resampling of a resize; forced also when the bounds were set by hand (then they
    // stay and only the curve is sampled again).
    bool resample(bool forced);
    const tviewinfo& viewof(std::uint8_t mode) const;

    tvarlist* vars_;
    tfunclist* funcs_;
    tmemo* memo_;
    tsession& session_;
    tfunclist nofuncs_{"none", 0};   // used when no function list was given
    bool drawaxis_;
    int outerwidth_, outerheight_;

    std::string caption_;
    bool visible_ = false;
    tcolour colour_ = silver;
    tfont textfont_ = windowtextfont();

    std::string expression_;
    std::string baseexpression_;
    std::string variable_;
    trecordinfo record_{"recordforpaint", 0};
    tpaintsetting current_;
    cpaintlist samples_;
    std::uint8_t viewmode_ = viewhome;
    std::uint8_t savedmode_ = viewhome;
    tpixel press_{-1, -1};
    tpixel anchor_{-1, -1};
    tzoomrect zoomrect_;
};

}  // namespace quor
