#include "platform/EndRequests.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr std::array<int, 3> Handled = {SIGTERM, SIGHUP, SIGINT};

// Read by the handler: set before the handlers are installed and cleared after they are gone.
volatile sig_atomic_t writeEnd = -1;
std::array<struct sigaction, Handled.size()> earlier{};

// Only async-signal-safe calls: the number goes down the pipe, and the event loop does the rest. The pipe
// does not block, so a burst of signals with nobody reading loses the surplus, never the program.
void onSignal(int signalNumber)
{
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(writeEnd, &byte, 1);
    errno = savedErrno;
}

} // namespace

EndRequests::EndRequests(QObject *parent)
    : QObject(parent)
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        qWarning("No pipe for ending signals: SIGTERM, SIGHUP and SIGINT end the program at once");
        return;
    }
    m_readEnd = ends[0];
    m_writeEnd = ends[1];
    writeEnd = m_writeEnd;
    m_notifier = new QSocketNotifier(m_readEnd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &EndRequests::readSignals);

    struct sigaction action{};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART; // an interrupted read or write of another thread goes on
    for (size_t i = 0; i < Handled.size(); ++i) {
        // A signal the program was started to ignore (nohup ignores SIGHUP) stays ignored.
        ::sigaction(Handled[i], nullptr, &earlier[i]);
        if (earlier[i].sa_handler != SIG_IGN)
            ::sigaction(Handled[i], &action, nullptr);
    }
}

EndRequests::~EndRequests()
{
    if (m_writeEnd < 0)
        return;
    for (size_t i = 0; i < Handled.size(); ++i)
        ::sigaction(Handled[i], &earlier[i], nullptr);
    writeEnd = -1;
    delete m_notifier;
    ::close(m_readEnd);
    ::close(m_writeEnd);
}

void EndRequests::readSignals()
{
    unsigned char byte = 0;
    while (::read(m_readEnd, &byte, 1) == 1) {
        if (m_caught == 0)
            m_caught = byte;
        emit received(byte);
    }
}

void EndRequests::endProcessAsCaught()
{
    if (m_caught == 0)
        return;
    struct sigaction fallback{};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    ::sigaction(m_caught, &fallback, nullptr);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, m_caught);
    ::sigprocmask(SIG_UNBLOCK, &only, nullptr);
    ::raise(m_caught);
}

} // namespace platform
