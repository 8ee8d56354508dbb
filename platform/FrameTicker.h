#pragma once

#include <QObject>
#include <QPointer>

class QWidget;
class QWindow;

// Ticks once per refresh of a window's display, where the window system paces repaints by it (on Wayland
// the compositor's frame callbacks). Each tick commits what the receiver changed together with one pixel,
// so the compositor keeps sending frame callbacks and nothing more is painted than what changed.
// The first update after start follows no commit of ours and may come at any moment: it only commits, so
// that every tick reported comes on a refresh.
// While stopped it requests nothing: an idle window is never woken.
class FrameTicker : public QObject
{
    Q_OBJECT

public:
    // window: the top-level widget whose refreshes count; pixel: the widget whose top-left pixel is repainted
    // on every refresh.
    explicit FrameTicker(QWidget *window, QWidget *pixel);

    void start();
    void stop();
    bool isActive() const { return m_active; }
    // What the window's screen reports, in Hz.
    double refreshRate() const;

signals:
    // A refresh has come; what the receiver changes now is painted and committed with it.
    void refreshed();
    // The window is shown again after the display stopped refreshing it (minimised or hidden).
    void resumed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void request();
    void commit();

    QWidget *m_window;
    QWidget *m_pixel;
    QPointer<QWindow> m_handle;
    bool m_active = false;
    bool m_requested = false;
    bool m_primed = false; // a commit of ours is on its way, so the next update comes on a refresh
};
