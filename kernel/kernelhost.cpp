#include "kernelhost.h"

#include <random>

#include <QBuffer>
#include <QImage>

#include "fault.h"
#include "plotboard.h"
#include "session.h"

namespace quorkernel {

namespace {

// Held memo text is sent at least this often, and whenever it grows past heldbytes.
constexpr auto sendevery = std::chrono::milliseconds(100);
constexpr std::size_t heldbytes = 64 * 1024;

std::string htmlescape(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else if (c == '&') out += "&amp;";
        else if (c == '"') out += "&quot;";
        else out += c;
    }
    return out;
}

std::string base64png(const QImage& image)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return "";
    return buffer.data().toBase64().toStdString();
}

}  // namespace

tkernelhost::tkernelhost(quor::tvarlist& globals, quor::tsession& s) : session_(s), plots_(globals, s)
{
    std::random_device r;
    idprefix_ = "quor-" + std::to_string(r()) + "-";
}

void tkernelhost::begincell(toutlet& outlet, bool allowinput)
{
    outlet_ = &outlet;
    allowinput_ = allowinput;
    used_ = 0;
    cut_ = 0;
    refusedat_ = -1;
    plotsshown_ = 0;
    plotscut_ = 0;
    sent_ = std::chrono::steady_clock::now();
}

void tkernelhost::endcell()
{
    if (!outlet_) return;
    flush();
    showplots();
    if (cut_ > 0) held_ += "[output cut: " + std::to_string(cut_) + " more lines and boxes of this cell not shown]\n";
    if (plotscut_ > 0) held_ += "[" + std::to_string(plotscut_) + " more plot windows of this cell not shown]\n";
    flush();
    outlet_ = nullptr;
}

void tkernelhost::flush()
{
    if (!held_.empty() && outlet_) outlet_->stream("stdout", held_);
    held_.clear();
    sent_ = std::chrono::steady_clock::now();
}

bool tkernelhost::room(std::size_t bytes)
{
    if (used_ + bytes > maxcelloutput) {
        ++cut_;
        used_ = maxcelloutput;   // nothing smaller comes through after the first cut
        return false;
    }
    used_ += bytes;
    return true;
}

void tkernelhost::line(const std::string& text)
{
    if (!room(text.size() + 1)) return;
    held_ += text;
    held_ += '\n';
    if (held_.size() >= heldbytes || std::chrono::steady_clock::now() - sent_ >= sendevery) flush();
}

void tkernelhost::box(const std::string& kind, const std::string& text)
{
    if (!room(text.size() + kind.size() + 4)) return;
    flush();
    if (!outlet_) return;
    const nlohmann::json data = {
        {"text/plain", "[" + kind + "] " + text},
        {"text/html", "<div style=\"border:1px solid #b48c28;border-left:6px solid #b48c28;background:#fff8e0;"
                      "padding:4px 8px;margin:2px 0;font-family:sans-serif;white-space:pre-wrap\"><b>" +
                          htmlescape(kind) + "</b> " + htmlescape(text) + "</div>"}};
    outlet_->display(data, nlohmann::json::object(), "", false);
}

void tkernelhost::showmessage(const std::string& text) { box("Message", text); }

void tkernelhost::errorreport(const std::string& text) { box("Error", text); }

quor::tanswer tkernelhost::question(const std::string& caption, const std::string& text)
{
    box("Question", caption.empty() ? text : caption + ": " + text);
    return quor::tanswer::cancel;
}

bool tkernelhost::inputbox(const std::string& caption, const std::string& prompt, const std::string& deflt,
                           std::string& answer)
{
    // An interrupt while a box asked (again) ends the run here.
    if (session_.stoprequested) throw quor::tstopped{};
    // Without input from the front end the box is cancelled, as its Cancel button would;
    // a box that asks again at once (a default that is no number) fails instead.
    if (!allowinput_ || !outlet_) {
        if (refusedat_ == session_.steps) throw quor::tfault("Error on input: this front end takes no input");
        refusedat_ = session_.steps;
        return false;
    }
    flush();
    showplots();
    std::string typed;
    if (!outlet_->ask(caption + ": " + prompt + " [" + deflt + "] ", typed)) return false;
    if (session_.stoprequested) throw quor::tstopped{};   // interrupted while it waited
    // The box would start with the default in it: an empty answer keeps it.
    answer = typed.empty() ? deflt : typed;
    return true;
}

bool tkernelhost::openfile(const std::string& dir, const std::string& pattern, std::string& path)
{
    if (session_.stoprequested) throw quor::tstopped{};
    if (!allowinput_ || !outlet_) return false;
    flush();
    if (!outlet_->ask("Open " + pattern + " in " + (dir.empty() ? "." : dir) + ": ", path)) return false;
    return !path.empty();
}

std::int32_t tkernelhost::createplotwindow(const std::string& expr, const std::string& varname,
                                           quor::tvarlist& vars, quor::tfunclist* funcs, quor::tmemo* memo)
{
    const std::int32_t h = plots_.create(expr, varname, vars, funcs, memo);
    shown_[h].id = idprefix_ + std::to_string(h);
    return h;
}

void tkernelhost::showplotwindow(std::int32_t handle)
{
    if (auto s = shown_.find(handle); s != shown_.end()) s->second.changed = true;
    // A plot that cannot be sampled closes at once, as its window would.
    if (!plots_.show(handle)) showmessage(quor::paintfailure);
}

std::int32_t tkernelhost::getdc(std::int32_t handle) { return plots_.registry().getdc(handle); }

std::int32_t tkernelhost::showwnd(std::int32_t handle, std::int32_t mode)
{
    if (auto s = shown_.find(handle); s != shown_.end()) s->second.changed = true;
    return plots_.registry().showwnd(handle, mode);
}

std::int32_t tkernelhost::setwndtext(std::int32_t handle, const std::string& text)
{
    if (auto s = shown_.find(handle); s != shown_.end()) s->second.changed = true;
    return plots_.registry().setwndtext(handle, text);
}

void tkernelhost::showplots()
{
    if (!outlet_) return;
    for (auto it = shown_.begin(); it != shown_.end();) {
        tshown& s = it->second;
        quor::tplotboard* board = plots_.registry().find(it->first);
        if (!board) {
            // Closed (its plot failed): a picture shown before is emptied, the entry goes.
            if (s.displayed) outlet_->display({{"text/plain", ""}}, nlohmann::json::object(), s.id, true);
            it = shown_.erase(it);
            continue;
        }
        ++it;
        if (!s.changed) continue;
        s.changed = false;
        if (!board->visible()) {
            if (s.displayed) outlet_->display({{"text/plain", ""}}, nlohmann::json::object(), s.id, true);
            continue;
        }
        if (!s.displayed && plotsshown_ >= maxcellplots) {
            ++plotscut_;
            continue;
        }
        ++plotsshown_;
        const QImage picture = board->picture();
        nlohmann::json data = {{"text/plain", board->caption()}};
        nlohmann::json metadata = nlohmann::json::object();
        if (!picture.isNull()) {
            const std::string png = base64png(picture);
            data["image/png"] = png;
            metadata["image/png"] = {{"width", picture.width()}, {"height", picture.height()}};
            // Front ends that show HTML show the caption above the picture, as a window's title.
            data["text/html"] = "<figure style=\"margin:2px 0\"><figcaption style=\"font-family:sans-serif;"
                                "font-size:small;color:#444\">" +
                                htmlescape(board->caption()) + "</figcaption><img width=\"" +
                                std::to_string(picture.width()) + "\" height=\"" + std::to_string(picture.height()) +
                                "\" src=\"data:image/png;base64," + png + "\"></figure>";
        }
        const std::string svg = board->svg().toStdString();
        if (!svg.empty()) data["image/svg+xml"] = svg;
        outlet_->display(data, metadata, s.id, s.displayed);
        s.displayed = true;
    }
}

}  // namespace quorkernel
