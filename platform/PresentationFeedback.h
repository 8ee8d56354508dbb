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
    using Factory = std::function<std::unique_ptr<PresentationFeedback>(Presented, Discarded)>;

    // Null where the window system is not Wayland or this build has no presentation-time.
    static std::unique_ptr<PresentationFeedback> create(Presented presented, Discarded discarded);
    virtual ~PresentationFeedback() = default;

    // Asks when the next commit of window's surface is shown; committedAt and field name it in the answer.
    // Does nothing while the compositor has not offered presentation-time (it is asked without waiting).
    virtual void request(QWindow *window, double committedAt, bool field) = 0;
    // Handles the answers that have come.
    virtual void dispatch() = 0;
    // The display numbers its refreshes itself: the switches' own presentations then say all the pacing needs.
    // Until then the refreshes are counted from the times between presentations, which must come on every one.
    bool counterKnown() const { return m_counterKnown; }

protected:
    PresentationFeedback(Presented presented, Discarded discarded);
    // What the compositor said of a commit, its time already on the steady clock; msc 0: the display has no counter.
    void shown(double committedAt, bool field, qint64 msc, double when, double period);
    void replaced(double committedAt, bool field);

private:
    Presented m_presented;
    Discarded m_discarded;
    bool m_counterKnown = false;
    // The refreshes counted from the times of the presentations, for a display without a counter.
    bool m_counting = false;
    qint64 m_counted = 0;
    double m_countedWhen = 0;
    double m_observedPeriod = 0; // the time between neighbouring presentations, which such a display may not keep
};
