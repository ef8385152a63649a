#include "qthost.h"

#include <chrono>

#include <QCoreApplication>

#include "windowhost.h"

namespace quor {

std::int64_t monotonicms()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

tqthost::tqthost(tdialogs& dialogs, QString caption)
    : dialogs_(dialogs),
      caption_(std::move(caption)),
      clock_(monotonicms),
      pump_([] { QCoreApplication::processEvents(); })
{
}

void tqthost::showmessage(const std::string& text)
{
    dialogs_.message(owner_, tboxkind::information, caption_, QString::fromStdString(text));
}

bool tqthost::inputbox(const std::string& caption, const std::string& prompt, const std::string& deflt,
                       std::string& answer)
{
    const auto a = dialogs_.input(owner_, QString::fromStdString(caption), QString::fromStdString(prompt),
                                  QString::fromStdString(deflt));
    if (!a) return false;
    answer = a->toStdString();
    return true;
}

tanswer tqthost::question(const std::string& caption, const std::string& text)
{
    return dialogs_.question(owner_, tboxkind::information, QString::fromStdString(caption),
                             QString::fromStdString(text), true);
}

bool tqthost::openfile(const std::string& dir, const std::string& pattern, std::string& path)
{
    const QString p = QString::fromStdString(pattern);
    const auto a = dialogs_.openfile(owner_, QString(), QString::fromStdString(dir), p + "|" + p);
    if (!a) return false;
    path = a->toStdString();
    return true;
}

void tqthost::processevents()
{
    const std::int64_t now = clock_();
    if (pumped_ && now - lastpump_ < eventinterval && now >= lastpump_) return;
    pumped_ = true;
    lastpump_ = now;
    pump_();
}

std::int32_t tqthost::createplotwindow(const std::string& expr, const std::string& varname, tvarlist& vars,
                                       tfunclist* funcs, tmemo* memo)
{
    return windows_ ? windows_->createplotwindow(expr, varname, vars, funcs, memo) : 0;
}

void tqthost::showplotwindow(std::int32_t handle)
{
    if (windows_) windows_->showplotwindow(handle);
}

std::int32_t tqthost::getdc(std::int32_t handle) { return windows_ ? windows_->getdc(handle) : 0; }

std::int32_t tqthost::showwnd(std::int32_t handle, std::int32_t mode)
{
    return windows_ ? windows_->showwnd(handle, mode) : 0;
}

std::int32_t tqthost::setwndtext(std::int32_t handle, const std::string& text)
{
    return windows_ ? windows_->setwndtext(handle, text) : 0;
}

void tqthost::errorreport(const std::string& text)
{
    dialogs_.errorbox(owner_, QString::fromStdString(text));
}

}  // namespace quor
