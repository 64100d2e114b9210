#include "driver/signals.h"

#include <csignal>

namespace vetrix {

namespace {

static_assert(std::atomic<bool>::is_always_lock_free, "the handler may only touch a lock-free flag");

std::atomic<bool> stop_flag{false};
volatile std::sig_atomic_t caught = 0;

// The first SIGINT or SIGTERM asks the search to stop; from then on both
// take their default action, so a second one ends the process at once.
extern "C" void on_stop_signal(int signal_number) {
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    caught = signal_number;
    stop_flag.store(true, std::memory_order_relaxed);
}

void install(int signal_number) {
    struct sigaction action {};
    action.sa_handler = on_stop_signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(signal_number, &action, nullptr);
}

} // namespace

void catch_stop_signals() {
    install(SIGINT);
    install(SIGTERM);
}

const std::atomic<bool> &stop_signal_flag() { return stop_flag; }

void end_by_caught_signal() {
    const int signal_number = caught;
    if (signal_number == 0)
        return;
    std::signal(signal_number, SIG_DFL);
    std::raise(signal_number);
}

} // namespace vetrix
