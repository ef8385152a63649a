#include "plotloader.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>

#ifndef QUOR_PLOTMODULE
#define QUOR_PLOTMODULE "/usr/local/lib/quor/libquorplots.so"
#endif
#ifndef QUOR_PLOTMODULE_FROMBIN
#define QUOR_PLOTMODULE_FROMBIN "../lib/quor/libquorplots.so"
#endif

namespace quorcli {

namespace {

// The module beside the executable (build tree), where installation puts it seen from the
// executable's folder (an installed or unpacked tree), then its installed place.
void* openmodule(std::string& error)
{
    std::vector<std::string> places;
    char buf[4096];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n > 0) {
        const std::string exe(buf, static_cast<std::size_t>(n));
        const std::string dir = exe.substr(0, exe.rfind('/'));
        places.push_back(dir + "/libquorplots.so");
        places.push_back(dir + "/" QUOR_PLOTMODULE_FROMBIN);
    }
    places.push_back(QUOR_PLOTMODULE);
    for (const std::string& p : places) {
        if (access(p.c_str(), F_OK) != 0) continue;
        // Never closed: the graphics libraries keep state until the process ends.
        if (void* h = dlopen(p.c_str(), RTLD_NOW | RTLD_LOCAL)) return h;
        const char* e = dlerror();
        error = e ? e : p;
        return nullptr;
    }
    error = "libquorplots.so not found next to the program";
    return nullptr;
}

template <class F>
F entry(const char* name, std::string& error)
{
    static void* module = nullptr;   // one module per process
    if (!module) module = openmodule(error);
    if (!module) return nullptr;
    void* f = dlsym(module, name);
    if (!f) error = std::string("no ") + name + " in the plotting module";
    return reinterpret_cast<F>(f);
}

}  // namespace

tplotloader::tplotloader(quor::tvarlist& globals, quor::tsession& s) : globals_(globals), session_(s) {}

tplotloader::~tplotloader() { delete side_; }

tplotside* tplotloader::side()
{
    if (side_ || failed_) return side_;
    std::string error;
    using open_t = tplotside* (*)(quor::tvarlist&, quor::tsession&);
    if (const open_t open = entry<open_t>("quor_openplotside", error)) side_ = open(globals_, session_);
    if (!side_) {
        failed_ = true;
        std::fflush(stdout);
        std::fprintf(stderr, "quor: cannot load the plotting module: %s\n", error.c_str());
    }
    return side_;
}

std::int32_t tplotloader::create(const std::string& expr, const std::string& varname, quor::tvarlist& vars,
                                 quor::tfunclist* funcs, quor::tmemo* memo)
{
    tplotside* s = side();
    return s ? s->create(expr, varname, vars, funcs, memo) : 0;
}

bool tplotloader::show(std::int32_t handle)
{
    tplotside* s = side();
    return s && s->show(handle);
}

std::int32_t tplotloader::getdc(std::int32_t handle)
{
    tplotside* s = side();
    return s ? s->getdc(handle) : 0;
}

std::int32_t tplotloader::showwnd(std::int32_t handle, std::int32_t mode)
{
    tplotside* s = side();
    return s ? s->showwnd(handle, mode) : 0;
}

std::int32_t tplotloader::setwndtext(std::int32_t handle, const std::string& text)
{
    tplotside* s = side();
    return s ? s->setwndtext(handle, text) : 0;
}

std::vector<tpicture> tplotloader::writeall(const std::string& dir)
{
    // Nothing was plotted when the module was never needed.
    return side_ ? side_->writeall(dir) : std::vector<tpicture>{};
}

int runplotcommand(const std::vector<std::string>& args)
{
    std::string error;
    using command_t = int (*)(const std::vector<std::string>&);
    const command_t command = entry<command_t>("quor_plotcommand", error);
    if (!command) {
        std::fprintf(stderr, "quor: cannot load the plotting module: %s\n", error.c_str());
        return 1;
    }
    return command(args);
}

}  // namespace quorcli
