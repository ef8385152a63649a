// quor-kernel: Quor as a Jupyter kernel (`jupyter notebook`, `jupyter console --kernel quor`).
#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>

#include <xeus/xhelper.hpp>
#include <xeus/xkernel.hpp>
#include <xeus/xkernel_configuration.hpp>
#include <xeus/xserver_zmq.hpp>

#include "bigstack.h"
#include "interpreter.h"

#ifndef QUOR_VERSION
#define QUOR_VERSION "0"
#endif

namespace {

// The notebook's stop button sends SIGINT. It is taken by a thread of its own (blocked in
// every other thread, so no socket wait is broken by it), which asks the running cell to
// stop at its next statement, as the editor's Stop does.
std::atomic<quorkernel::tinterpreter*> interrupted{nullptr};

void watchinterrupts(sigset_t set)
{
    for (;;) {
        int sig = 0;
        if (sigwait(&set, &sig) != 0) continue;
        if (quorkernel::tinterpreter* i = interrupted.load()) i->interrupt();
    }
}

}  // namespace

int main(int argc, char* argv[])
{
    // Deep recursion in a cell needs the same stack as quor and the desktop programs.
    quor::restartwithbigstack(argv);
    if (xeus::should_print_version(argc, argv)) {
        std::printf("quor-kernel %s\n", QUOR_VERSION);
        return 0;
    }
    const std::string file = xeus::extract_filename(argc, argv);
    if (file.empty()) {
        std::fprintf(stderr, "usage: quor-kernel -f CONNECTION_FILE\n(started by Jupyter through the kernelspec \"quor\")\n");
        return 2;
    }
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    std::thread(watchinterrupts, set).detach();

    const xeus::xconfiguration config = xeus::load_configuration(file);
    auto context = xeus::make_context<zmq::context_t>();
    auto interpreter = std::make_unique<quorkernel::tinterpreter>();
    interrupted.store(interpreter.get());
    xeus::xkernel kernel(config, xeus::get_user_name(), std::move(context), std::move(interpreter),
                         xeus::make_xserver_zmq);
    kernel.start();
    interrupted.store(nullptr);
    return 0;
}
