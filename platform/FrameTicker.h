#pragma once

#include <QObject>
#include <QPointer>

#include <memory>

#include "platform/PresentationFeedback.h"

class QBackingStore;
class QWidget;
class QWindow;
namespace platform {
class PictureTimer;
}

// Ticks once per refresh of a window's display, where the window system paces repaints by it (on Wayland
// the compositor's frame callbacks). Each tick commits what the receiver changed, and one pixel of a tiny
// native child window that keeps the frame callbacks coming: committing a pixel of the main window would
// make its backing store copy the whole window into a fresh buffer on every refresh.
// The first update after start follows no commit of ours and may come at any moment: it only commits the
// pixel, so that every tick reported comes on a refresh.
// Where the compositor offers presentation-time, every commit that switches the field is asked when it reaches
// the display, and the beat's commits too until the display is known to number its refreshes (each report wakes
// the game once more per refresh); the answers are handled at the next tick: presented() and discarded() report them.
// While it runs the window is committed at ticks only, so that no commit of its own replaces a switch.
// Between switches it may rest: no commit, no tick, until a time the receiver sets, or until the window changes
// screen or rate, or asks to be painted. While stopped it requests nothing: an idle window is never woken.
class FrameTicker : public QObject
{
    Q_OBJECT

public:
    // window: the top-level widget whose refreshes count; pixel: the widget under whose top-left pixel the
    // tiny window lies, painted in its background colour; feedback: where the compositor's word comes from.
    explicit FrameTicker(QWidget *window, QWidget *pixel,
                         const PresentationFeedback::Factory &feedback = &PresentationFeedback::create);
    ~FrameTicker() override;

    void start();
    void stop();
    bool isActive() const { return m_active; }
    // What the window's screen reports, in Hz.
    double refreshRate() const;
    // The receiver changed the field at this tick: the compositor is asked when the commit is shown.
    void fieldChanged() { m_fieldChanged = true; }
    // When the refresh being handled came, in steady seconds: what names its commit.
    double tickTime() const { return m_tickTime; }
    // Whether resting loses nothing the pacing needs: the display numbers its refreshes.
    bool canRest() const;
    // Called at a tick: the beat is not committed from this tick on, and nothing ticks until the given steady
    // time; a wake-up then commits the beat alone, so that the refresh after it ticks.
    void restUntil(double steadySeconds);

signals:
    // A refresh has come; what the receiver changes now is painted and committed with it.
    void refreshed();
    // The commit made at the tick at committedAt (field: of the main window, else of the beat) was shown on
    // refresh msc at when (steady seconds), the display refreshing every period seconds (0: not said).
    void presented(double committedAt, bool field, qint64 msc, double when, double period);
    // That commit was replaced by a later one before it was shown.
    void discarded(double committedAt, bool field);
    // The window is shown again after the display stopped refreshing it (minimised or hidden).
    void resumed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createBeat();
    void request();
    void commit();
    void wake();
    void wakeBy(double steadySeconds);
    void watchScreen();

    QWidget *m_window;
    QWidget *m_pixel;
    QPointer<QWindow> m_handle;
    QPointer<QWindow> m_beat; // the tiny window whose refreshes are counted
    std::unique_ptr<QBackingStore> m_beatStore;
    bool m_active = false;
    bool m_requested = false;
    bool m_primed = false; // a commit of ours is on its way, so the next update comes on a refresh
    bool m_fieldChanged = false;
    bool m_syncing = false; // the window is painted and committed by commit()
    bool m_held = false;    // the window asked to be painted between ticks
    bool m_resting = false;
    QMetaObject::Connection m_rateWatch;
    double m_tickTime = 0;
    double m_startedAt = 0; // answers about commits before it belong to an earlier run
    std::unique_ptr<PresentationFeedback> m_feedback;
    platform::PictureTimer *m_wake;
};
