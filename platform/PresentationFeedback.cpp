#include "platform/PresentationFeedback.h"

#include <algorithm>
#include <cmath>

PresentationFeedback::PresentationFeedback(Presented presented, Discarded discarded)
    : m_presented(std::move(presented))
    , m_discarded(std::move(discarded))
{
}

void PresentationFeedback::shown(double committedAt, bool field, qint64 msc, double when, double period)
{
    if (msc != 0) {
        m_counterKnown = true;
    } else {
        // The display has no counter: whole periods between this presentation and the last, at the period the
        // presentations keep (weston's headless output says 16.7 ms and repaints every 17 to 18). Commits are
        // asked about on every refresh, so the gaps are short.
        const double said = period > 0 ? period : 1 / 60.0;
        if (m_observedPeriod <= 0)
            m_observedPeriod = said;
        const double gap = when - m_countedWhen;
        if (m_counting) {
            const qint64 refreshes = std::max<qint64>(0, std::llround(gap / m_observedPeriod));
            if (refreshes == 1 && gap > 0.75 * said && gap < 1.25 * said)
                m_observedPeriod += (gap - m_observedPeriod) / 8;
            m_counted += refreshes;
        }
        m_counting = true;
        m_countedWhen = when;
        msc = m_counted;
    }
    m_presented(committedAt, field, msc, when, period);
}

void PresentationFeedback::replaced(double committedAt, bool field)
{
    m_discarded(committedAt, field);
}

#ifdef IVOK2_PRESENTATION_TIME

#include "presentation-time-client-protocol.h"

#include <QGuiApplication>
#include <QWindow>
#include <qpa/qplatformnativeinterface.h>
#include <wayland-client.h>

#include <cstring>
#include <ctime>
#include <list>

namespace {

double seconds(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

class WaylandPresentation final : public PresentationFeedback
{
public:
    WaylandPresentation(wl_display *display, Presented presented, Discarded discarded);
    ~WaylandPresentation() override;

    void request(QWindow *window, double committedAt, bool field) override;
    void dispatch() override;

private:
    struct Pending
    {
        WaylandPresentation *owner;
        struct wp_presentation_feedback *feedback;
        double committedAt;
        bool field;
    };

    static void global(void *data, wl_registry *registry, uint32_t name, const char *interface, uint32_t version);
    static void globalRemove(void *, wl_registry *, uint32_t) {}
    static void clockId(void *data, wp_presentation *, uint32_t clock);
    static void syncOutput(void *, struct wp_presentation_feedback *, wl_output *) {}
    static void presentedEvent(void *data, struct wp_presentation_feedback *, uint32_t secondsHigh,
                               uint32_t secondsLow, uint32_t nanoseconds, uint32_t refresh, uint32_t counterHigh,
                               uint32_t counterLow, uint32_t flags);
    static void discardedEvent(void *data, struct wp_presentation_feedback *);
    void finish(Pending *pending);

    static const wl_registry_listener s_registry;
    static const wp_presentation_listener s_presentation;
    static const wp_presentation_feedback_listener s_feedback;

    wl_display *m_display;
    wl_event_queue *m_queue;
    wl_registry *m_registry = nullptr;
    wp_presentation *m_presentation = nullptr;
    clockid_t m_clock = CLOCK_MONOTONIC;
    std::list<Pending> m_pending;
};

const wl_registry_listener WaylandPresentation::s_registry = {&WaylandPresentation::global,
                                                              &WaylandPresentation::globalRemove};
const wp_presentation_listener WaylandPresentation::s_presentation = {&WaylandPresentation::clockId};
const wp_presentation_feedback_listener WaylandPresentation::s_feedback = {
    &WaylandPresentation::syncOutput, &WaylandPresentation::presentedEvent, &WaylandPresentation::discardedEvent};

WaylandPresentation::WaylandPresentation(wl_display *display, Presented presented, Discarded discarded)
    : PresentationFeedback(std::move(presented), std::move(discarded))
    , m_display(display)
    , m_queue(wl_display_create_queue(display))
{
    // The registry is asked through a wrapper on our queue, so that its answers never reach the toolkit's.
    auto *wrapper = static_cast<wl_display *>(wl_proxy_create_wrapper(display));
    wl_proxy_set_queue(reinterpret_cast<wl_proxy *>(wrapper), m_queue);
    m_registry = wl_display_get_registry(wrapper);
    wl_proxy_wrapper_destroy(wrapper);
    wl_registry_add_listener(m_registry, &s_registry, this);
    // Sent now without waiting for the answer, which the next dispatch handles.
    wl_display_flush(display);
}

WaylandPresentation::~WaylandPresentation()
{
    for (const Pending &pending : m_pending)
        wp_presentation_feedback_destroy(pending.feedback);
    if (m_presentation)
        wp_presentation_destroy(m_presentation);
    wl_registry_destroy(m_registry);
    wl_event_queue_destroy(m_queue);
}

void WaylandPresentation::global(void *data, wl_registry *registry, uint32_t name, const char *interface,
                                 uint32_t /*version*/)
{
    auto *self = static_cast<WaylandPresentation *>(data);
    if (self->m_presentation || std::strcmp(interface, wp_presentation_interface.name) != 0)
        return;
    self->m_presentation
        = static_cast<struct wp_presentation *>(wl_registry_bind(registry, name, &wp_presentation_interface, 1));
    wp_presentation_add_listener(self->m_presentation, &s_presentation, self);
}

void WaylandPresentation::clockId(void *data, wp_presentation *, uint32_t clock)
{
    static_cast<WaylandPresentation *>(data)->m_clock = static_cast<clockid_t>(clock);
}

void WaylandPresentation::request(QWindow *window, double committedAt, bool field)
{
    if (!m_presentation || !window)
        return;
    // Looked up every time: the toolkit makes a new surface each time the window is shown again.
    auto *surface = static_cast<wl_surface *>(
        QGuiApplication::platformNativeInterface()->nativeResourceForWindow("surface", window));
    if (!surface)
        return;
    m_pending.push_back({this, wp_presentation_feedback(m_presentation, surface), committedAt, field});
    wp_presentation_feedback_add_listener(m_pending.back().feedback, &s_feedback, &m_pending.back());
}

void WaylandPresentation::dispatch()
{
    wl_display_dispatch_queue_pending(m_display, m_queue);
}

void WaylandPresentation::presentedEvent(void *data, struct wp_presentation_feedback *, uint32_t secondsHigh,
                                         uint32_t secondsLow, uint32_t nanoseconds, uint32_t refresh,
                                         uint32_t counterHigh, uint32_t counterLow, uint32_t /*flags*/)
{
    auto *pending = static_cast<Pending *>(data);
    WaylandPresentation *self = pending->owner;
    double when = static_cast<double>((static_cast<quint64>(secondsHigh) << 32) | secondsLow)
        + static_cast<double>(nanoseconds) / 1e9;
    if (self->m_clock != CLOCK_MONOTONIC)
        when -= seconds(self->m_clock) - seconds(CLOCK_MONOTONIC); // the steady clock's
    const auto msc = static_cast<qint64>((static_cast<quint64>(counterHigh) << 32) | counterLow);
    const double committedAt = pending->committedAt;
    const bool field = pending->field;
    self->finish(pending);
    self->shown(committedAt, field, msc, when, static_cast<double>(refresh) / 1e9);
}

void WaylandPresentation::discardedEvent(void *data, struct wp_presentation_feedback *)
{
    auto *pending = static_cast<Pending *>(data);
    WaylandPresentation *self = pending->owner;
    const double committedAt = pending->committedAt;
    const bool field = pending->field;
    self->finish(pending);
    self->replaced(committedAt, field);
}

void WaylandPresentation::finish(Pending *pending)
{
    wp_presentation_feedback_destroy(pending->feedback);
    m_pending.remove_if([pending](const Pending &each) { return &each == pending; });
}

} // namespace

std::unique_ptr<PresentationFeedback> PresentationFeedback::create(Presented presented, Discarded discarded)
{
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return nullptr;
    QPlatformNativeInterface *native = QGuiApplication::platformNativeInterface();
    auto *display = static_cast<wl_display *>(native ? native->nativeResourceForIntegration("wl_display") : nullptr);
    if (!display)
        return nullptr;
    return std::make_unique<WaylandPresentation>(display, std::move(presented), std::move(discarded));
}

#else

std::unique_ptr<PresentationFeedback> PresentationFeedback::create(Presented, Discarded)
{
    return nullptr;
}

#endif
