#include "app/ui/termination.h"

#include <QPointer>
#include <QWidget>

#if !defined(_WIN32)
#include <QSocketNotifier>
#include <csignal>

#include <sys/socket.h>
#include <unistd.h>
#endif

namespace palvex::ui {

#if defined(_WIN32)
void CloseOnTermination(QWidget* /*window*/) {}
#else
namespace {

int signalPipe[2] = {-1, -1};

void OnSignal(int) {
    const char byte = 1;
    // Only async-signal-safe calls here: the event loop reads the byte and does the work.
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[0], &byte, 1);
}

}  // namespace

void CloseOnTermination(QWidget* window) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0) {
        return;
    }
    auto* notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, window);
    QPointer<QWidget> target(window);
    QObject::connect(notifier, &QSocketNotifier::activated, window, [target] {
        char byte = 0;
        [[maybe_unused]] const ssize_t read = ::read(signalPipe[1], &byte, 1);
        if (target) {
            target->close();
        }
    });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
}
#endif

}  // namespace palvex::ui
