#pragma once

#include <QtGlobal>

#include <functional>
#include <memory>

class QWindow;

// The compositor's word on when each commit reached the display (Wayland's presentation-time), heard on an
// event queue of its own on the window system's connection, so that the toolkit's own dispatching is untouched.
// Nothing here waits: the answers that have come are handled when dispatch() is called.
class PresentationFeedback
{
public:
    // A commit was shown on refresh msc at when (steady seconds), the display refreshing every period seconds
    // (0: not said). Where the display has no refresh counter, msc counts the refreshes between the times.
    using Presented = std::function<void(double committedAt, bool field, qint64 msc, double when, double period)>;
    // A commit was replaced by a later one before it was shown.
    using Discarded = std::function<void(double committedAt, bool field)>;

    // Null where the window system is not Wayland or this build has no presentation-time.
    static std::unique_ptr<PresentationFeedback> create(Presented presented, Discarded discarded);
    virtual ~PresentationFeedback() = default;

    // Asks when the next commit of window's surface is shown; committedAt and field name it in the answer.
    // Does nothing while the compositor has not offered presentation-time (it is asked without waiting).
    virtual void request(QWindow *window, double committedAt, bool field) = 0;
    // Handles the answers that have come.
    virtual void dispatch() = 0;

protected:
    PresentationFeedback() = default;
};
