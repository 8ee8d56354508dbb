#pragma once

#include <QObject>

class QSocketNotifier;

namespace platform {

// The signals by which a desktop session, a terminal or a service manager asks the program to end: SIGTERM,
// SIGHUP and SIGINT. Each arrives as received() through the event loop of the thread that made this object,
// so that the program can close as the player would close it. One object at a time in a process; while it
// lives it owns those three signals, except one that the program was started to ignore.
class EndRequests : public QObject
{
    Q_OBJECT

public:
    explicit EndRequests(QObject *parent = nullptr);
    ~EndRequests() override; // gives the three signals their earlier actions back

    // The first signal received, 0 while none came.
    int caught() const { return m_caught; }
    // Ends the process by the signal caught, with that signal's default action, so that whoever sent it (the
    // shell, the session) sees it took effect. Returns when none was caught.
    void endProcessAsCaught();

signals:
    void received(int signalNumber);

private:
    void readSignals();

    int m_readEnd = -1;
    int m_writeEnd = -1;
    QSocketNotifier *m_notifier = nullptr;
    int m_caught = 0;
};

} // namespace platform
