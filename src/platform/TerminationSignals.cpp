#include "TerminationSignals.h"

#include <QSocketNotifier>
#include <array>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
constexpr std::array Handled{SIGTERM, SIGINT, SIGHUP};
// The handler's end and the main thread's end of the pipe; -1 while no object listens.
int g_writeEnd = -1;
int g_readEnd = -1;

/// Any thread, in a signal handler: only async-signal-safe calls.
void onSignal(int signal)
{
    const unsigned char number = static_cast<unsigned char>(signal);
    // A full pipe already holds a request to end; this one may go.
    [[maybe_unused]] const ssize_t written = ::write(g_writeEnd, &number, 1);
}

void setHandler(void (*handler)(int))
{
    struct sigaction action{};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : Handled)
        sigaction(signal, &action, nullptr);
}
} // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent)
{
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, ends) != 0)
        qFatal("no pipe for the termination signals");
    g_writeEnd = ends[0];
    g_readEnd = ends[1];
    m_notifier = new QSocketNotifier(g_readEnd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readSignals);
    setHandler(onSignal);
}

TerminationSignals::~TerminationSignals()
{
    setHandler(SIG_DFL);
    ::close(g_writeEnd);
    ::close(g_readEnd);
    g_writeEnd = g_readEnd = -1;
}

void TerminationSignals::readSignals()
{
    unsigned char number = 0;
    while (::read(g_readEnd, &number, 1) == 1)
        emit terminationRequested(number);
}
