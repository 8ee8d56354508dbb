#pragma once

#include <QObject>
#include <QPointer>

#include <memory>

class QBackingStore;
class QWidget;
class QWindow;

// Ticks once per refresh of a window's display, where the window system paces repaints by it (on Wayland
// the compositor's frame callbacks). Each tick commits what the receiver changed, and one pixel of a tiny
// native child window that keeps the frame callbacks coming: committing a pixel of the main window would
// make its backing store copy the whole window into a fresh buffer on every refresh.
// The first update after start follows no commit of ours and may come at any moment: it only commits the
// pixel, so that every tick reported comes on a refresh.
// While stopped it requests nothing: an idle window is never woken.
class FrameTicker : public QObject
{
    Q_OBJECT

public:
    // window: the top-level widget whose refreshes count; pixel: the widget under whose top-left pixel the
    // tiny window lies, painted in its background colour.
    explicit FrameTicker(QWidget *window, QWidget *pixel);
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

    QWidget *m_window;
    QWidget *m_pixel;
    QPointer<QWindow> m_handle;
    QPointer<QWindow> m_beat; // the tiny window whose refreshes are counted
    std::unique_ptr<QBackingStore> m_beatStore;
    bool m_active = false;
    bool m_requested = false;
    bool m_primed = false; // a commit of ours is on its way, so the next update comes on a refresh
    bool m_fieldChanged = false;
    double m_tickTime = 0;
};
