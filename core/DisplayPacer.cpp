#include "core/DisplayPacer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

void ScreenTally::add(qint64 refreshesOff, double period)
{
    ++screens;
    if (refreshesOff == 0)
        return;
    ++screensOff;
    worstErrorMs = std::max(worstErrorMs, static_cast<double>(std::llabs(refreshesOff)) * period * 1000);
    if (refreshesOff > 0)
        droppedRefreshes += static_cast<int>(refreshesOff);
}

void ScreenTally::addUnproven()
{
    ++screens;
    ++screensOff;
}

DisplayPacer::Choice DisplayPacer::chosen(const QString &platformName, const QByteArray &forced)
{
    const bool wayland = platformName.startsWith(QLatin1String("wayland"));
    if (forced == "timer")
        return {Mechanism::Timer, false};
    if (forced == "frames" && !wayland)
        return {Mechanism::Timer, true};
    return {wayland ? Mechanism::Frames : Mechanism::Timer, false};
}

double DisplayPacer::usableRate(double reported)
{
    // Some screens report 0 or 1 Hz, or nothing a number can compare with.
    return reported > 1 ? reported : 60.0;
}

int DisplayPacer::refreshesFor(double seconds, double rate)
{
    const double refreshes = std::nearbyint(seconds * usableRate(rate));
    // The settings keep a screen within 10 s; this only keeps a damaged value from overflowing the count.
    return refreshes >= 1 ? static_cast<int>(std::min(refreshes, 1e6)) : 1;
}

void DisplayPacer::start()
{
    Judged judged = std::move(m_judged);
    *this = DisplayPacer();
    m_judged = std::move(judged);
}

qint64 DisplayPacer::predictedMsc(double now) const
{
    // Ticks come at the same point of each refresh, so whole periods from a commit whose refresh is known.
    return m_anchorMsc + std::llround((now - m_anchorAt) / m_anchorPeriod);
}

double DisplayPacer::shownFor(double now) const
{
    // A commit shows on the refresh after its tick: where the rate changed, that refresh is nearer.
    return now + 1 / m_lastRate - (m_switchAt + m_switchPeriod);
}

bool DisplayPacer::tick(double now, double rate)
{
    m_lastTick = now;
    m_lastRate = usableRate(rate);
    if (m_firstPending)
        return true;
    if (m_endKnown && m_anchored)
        return predictedMsc(now) >= m_endMsc;
    return std::llround(shownFor(now) * m_lastRate) >= refreshesFor(m_seconds, m_lastRate);
}

double DisplayPacer::switchDueAt() const
{
    // The two rules of tick(), solved for now: a whole count of refreshes reached once its half is.
    if (m_endKnown && m_anchored)
        return m_anchorAt + (static_cast<double>(m_endMsc - m_anchorMsc) - 0.5) * m_anchorPeriod;
    const double period = 1 / m_lastRate;
    return m_switchAt + m_switchPeriod + (refreshesFor(m_seconds, m_lastRate) - 1.5) * period;
}

void DisplayPacer::switched(double seconds)
{
    if (!m_firstPending) {
        if (m_everPresented) {
            // Still waiting for the word on the switch before: its screen's length cannot be told.
            if (m_previousPending)
                judgePrevious(false, 0, m_anchorPeriod);
            m_previousPending = true;
            m_previousProvable = m_startShown && !m_unproven;
            m_previousEnd = m_endMsc;
            m_previousShownAt = m_startShown ? m_startWhen : m_switchAt + m_switchPeriod;
        } else {
            const qint64 off = std::llround(shownFor(m_lastTick) * m_lastRate) - refreshesFor(m_seconds, m_lastRate);
            m_tally.add(off, 1 / m_lastRate);
            if (m_judged)
                m_judged(m_switchAt + m_switchPeriod, off, true);
        }
    }
    m_firstPending = false;
    m_seconds = seconds;
    m_switchAt = m_lastTick;
    m_switchPeriod = 1 / m_lastRate;
    m_startShown = false;
    m_unproven = false;
    m_refreshes = refreshesFor(seconds, m_anchored ? 1 / m_anchorPeriod : m_lastRate);
    m_endKnown = m_anchored;
    if (m_anchored)
        m_endMsc = predictedMsc(m_lastTick) + m_refreshes;
}

void DisplayPacer::presented(double committedAt, bool field, qint64 msc, double when, double period)
{
    if (period <= 0)
        period = 1 / m_lastRate;
    if (m_anchored && committedAt < m_anchorAt)
        return; // older than what is known
    if (m_anchored && !m_firstPending) {
        const qint64 expected = m_anchorMsc + std::llround((when - m_anchorWhen) / m_anchorPeriod);
        const bool otherCounter = std::llabs(msc - expected) > 1;
        if (otherCounter || std::abs(period - m_anchorPeriod) > 0.01 * m_anchorPeriod) {
            // Another screen counts on its own: the screen before cannot be measured across the move.
            if (otherCounter)
                m_previousProvable = false;
            rebase(msc, when, period);
        }
    }
    m_anchored = true;
    m_everPresented = true;
    m_anchorAt = committedAt;
    m_anchorMsc = msc;
    m_anchorWhen = when;
    m_anchorPeriod = period;
    if (field && !m_firstPending && committedAt == m_switchAt && !m_startShown) {
        m_startShown = true;
        m_startWhen = when;
        m_endKnown = true;
        m_endMsc = msc + m_refreshes;
        if (m_previousPending)
            judgePrevious(true, msc, period);
    }
}

void DisplayPacer::rebase(qint64 msc, double when, double period)
{
    if (!m_startShown) {
        // Not yet on the display: the whole screen at the new rate, counted from its switch when shown.
        m_refreshes = refreshesFor(m_seconds, 1 / period);
        m_endKnown = false;
        return;
    }
    const double left = m_seconds - (when - m_startWhen);
    m_endMsc = msc + std::max<qint64>(0, std::llround(left / period));
}

void DisplayPacer::discarded(double committedAt, bool field)
{
    if (!field || m_firstPending || committedAt != m_switchAt || m_startShown)
        return;
    // Shown with some later commit: the screen keeps the refresh its switch was aimed at, and neither it nor
    // the one before can be measured.
    m_unproven = true;
    if (m_previousPending)
        judgePrevious(false, 0, m_anchorPeriod);
}

void DisplayPacer::judgePrevious(bool shown, qint64 shownMsc, double period)
{
    m_previousPending = false;
    const bool known = m_previousProvable && shown && !m_unproven;
    if (known)
        m_tally.add(shownMsc - m_previousEnd, period);
    else
        m_tally.addUnproven();
    if (m_judged)
        m_judged(m_previousShownAt, known ? shownMsc - m_previousEnd : 0, known);
}

void DisplayPacer::resume(double now)
{
    // The time hidden is no part of the screen; what the display did meanwhile is not known.
    m_switchAt += now - m_lastTick;
    m_lastTick = now;
    m_anchored = false;
    m_endKnown = false;
    m_unproven = true;
}
