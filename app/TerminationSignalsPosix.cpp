#include "app/TerminationSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int HandledSignals[] = {SIGTERM, SIGHUP, SIGINT};
volatile sig_atomic_t g_writeEnd = -1;

extern "C" void HandOver(int signal) {
    const int savedErrno = errno;
    const unsigned char number = static_cast<unsigned char>(signal);
    // Non-blocking: a full socket already holds signals the event loop has yet to read.
    [[maybe_unused]] const ssize_t written = ::write(g_writeEnd, &number, 1);
    errno = savedErrno;
}

}  // namespace

TerminationSignals::TerminationSignals(std::function<void(int)> onSignal) : onSignal_(std::move(onSignal)) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, ends_) != 0) {
        // Without the hand-over the signals keep their default: the program ends without its close.
        std::perror("termination signals");
        return;
    }
    g_writeEnd = ends_[0];
    notifier_ = new QSocketNotifier(ends_[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::ReadSignals);
    struct sigaction action = {};
    action.sa_handler = &HandOver;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (size_t i = 0; i < std::size(HandledSignals); ++i) sigaction(HandledSignals[i], &action, &previous_[i]);
}

TerminationSignals::~TerminationSignals() {
    if (ends_[0] < 0) return;
    for (size_t i = 0; i < std::size(HandledSignals); ++i) sigaction(HandledSignals[i], &previous_[i], nullptr);
    g_writeEnd = -1;
    delete notifier_;
    ::close(ends_[0]);
    ::close(ends_[1]);
}

void TerminationSignals::ReadSignals() {
    unsigned char number = 0;
    while (::read(ends_[1], &number, 1) == 1) onSignal_(number);
}
