// Start-up time of the game: from the start of a fresh process to the end of the first paint of the main
// window, flushed to the window system. The program runs itself as that process, a few times over, and each
// child does what the game's main() does: create the application and the main window, show it, run the loop.
#include "main/frmMain.h"
#include "support/Figures.h"

#include <QApplication>
#include <QTimer>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

extern char **environ;

namespace {

constexpr int TimedRuns = 11;
constexpr const char *ChildFlag = "--child";

// CLOCK_MONOTONIC, which parent and child share.
long long monotonicNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Notes the end of the first event delivery that painted any part of the watched window: by the time the
// outermost delivery returns, the backing store has been flushed to the window system.
class FirstPaintApplication final : public QApplication
{
public:
    using QApplication::QApplication;

    bool notify(QObject *receiver, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && paintsWatchedWindow(receiver))
            painted = true;
        ++depth;
        const bool result = QApplication::notify(receiver, event);
        --depth;
        if (depth == 0 && painted && firstPaintNs == 0) {
            firstPaintNs = monotonicNs();
            QTimer::singleShot(0, this, &QCoreApplication::quit);
        }
        return result;
    }

    QWidget *watched = nullptr;
    long long firstPaintNs = 0;

private:
    bool paintsWatchedWindow(QObject *receiver) const
    {
        return receiver->isWidgetType() && static_cast<QWidget *>(receiver)->window() == watched;
    }

    int depth = 0;
    bool painted = false;
};

// One start of the game; prints when the application was about to be created, when the first paint ended,
// and the window system.
int runChild(int argc, char **argv)
{
    const long long applicationNs = monotonicNs();
    FirstPaintApplication app(argc, argv);
    frmMain window;
    app.watched = &window;
    window.show();
    app.exec();
    std::printf("%lld %lld %s\n", applicationNs, app.firstPaintNs, qPrintable(QGuiApplication::platformName()));
    return 0;
}

struct StartUp
{
    double fromProcessStartMs = 0;
    double fromApplicationMs = 0;
    std::string platformName;
};

// Starts one child and reads its two stamps from a pipe.
StartUp timeOneStart(const char *self)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        qFatal("pipe: %s", std::strerror(errno));
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    char *childArgv[] = {const_cast<char *>(self), const_cast<char *>(ChildFlag), nullptr};

    const long long spawnNs = monotonicNs();
    pid_t child = 0;
    if (posix_spawn(&child, self, &actions, nullptr, childArgv, environ) != 0)
        qFatal("could not start %s", self);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);

    std::string output;
    char buffer[256];
    for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        output.append(buffer, static_cast<size_t>(n));
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);

    long long applicationNs = 0;
    long long paintNs = 0;
    char platformName[64] = {};
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0
        || std::sscanf(output.c_str(), "%lld %lld %63s", &applicationNs, &paintNs, platformName) != 3 || paintNs == 0)
        qFatal("the started game did not report a first paint: \"%s\"", output.c_str());
    return {static_cast<double>(paintNs - spawnNs) / 1e6, static_cast<double>(paintNs - applicationNs) / 1e6,
            platformName};
}

int runParent(const char *self)
{
    std::string platformName = timeOneStart(self).platformName; // untimed: warms the page cache
    std::vector<double> fromProcessStart;
    std::vector<double> fromApplication;
    for (int run = 0; run < TimedRuns; ++run) {
        const StartUp startUp = timeOneStart(self);
        fromProcessStart.push_back(startUp.fromProcessStartMs);
        fromApplication.push_back(startUp.fromApplicationMs);
        std::printf("start %2d: %.1f ms from process start, %.1f ms from QApplication construction\n", run + 1,
                    startUp.fromProcessStartMs, startUp.fromApplicationMs);
    }
    bench::summary("start-up to the first painted window (%s), %d starts: median %.1f ms from process start "
                   "(min %.1f, max %.1f), %.1f ms from QApplication construction (max %.1f)",
                   platformName.c_str(), TimedRuns, bench::median(fromProcessStart),
                   bench::minOf(fromProcessStart), bench::maxOf(fromProcessStart),
                   bench::median(fromApplication), bench::maxOf(fromApplication));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && std::strcmp(argv[1], ChildFlag) == 0)
        return runChild(argc, argv);
    return runParent(argv[0]);
}
