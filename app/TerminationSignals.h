#pragma once
// SIGTERM, SIGHUP and SIGINT (a log-out, a kill, a closed terminal, Ctrl+C) handed over to the
// event loop. The handler only writes the signal's number into a socket pair, which is all a
// signal handler may safely do; a socket notifier reads it in the event loop and calls the
// program's answer there. A second signal of the same kind ends the process at once, so a
// close that hangs can still be ended.
// Windows has none of these signals: a log-off, taskkill and the window's own close button reach
// the frame window as a close through Qt, so there the object does nothing.
#include <QObject>

#include <csignal>
#include <functional>

class QSocketNotifier;

class TerminationSignals : public QObject {
public:
    explicit TerminationSignals(std::function<void(int signal)> onSignal);
    // Puts the handlers back as they were.
    ~TerminationSignals() override;

private:
    void ReadSignals();

    std::function<void(int)> onSignal_;
    // The hand-over's parts, of types Windows lacks.
#ifndef _WIN32
    int ends_[2] = {-1, -1};  // the handler writes to 0, the event loop reads 1
    QSocketNotifier* notifier_ = nullptr;
    struct sigaction previous_[3] = {};
#endif
};
