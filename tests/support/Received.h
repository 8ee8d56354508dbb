#pragma once

#include <QList>
#include <QObject>

#include <tuple>
#include <type_traits>

// The signals a sender emits, as the test's thread receives them. A QSignalSpy counts on the emitting thread
// without a lock, and its wait() misses an emission that came before the wait began; a sender that answers on
// a thread of its own needs this instead, read with QTRY_.
template <typename... Args>
class Received : public QObject
{
public:
    using Arguments = std::tuple<std::decay_t<Args>...>;

    template <typename Sender>
    Received(const Sender *sender, void (Sender::*signal)(Args...))
    {
        // The receiver lives here, so an emission from another thread is queued to this one.
        connect(sender, signal, this, [this](Args... arguments) { m_received.append(Arguments(arguments...)); });
    }

    qsizetype size() const { return m_received.size(); }
    bool isEmpty() const { return m_received.isEmpty(); }
    const Arguments &at(qsizetype index) const { return m_received.at(index); }
    const Arguments &last() const { return m_received.last(); }

private:
    QList<Arguments> m_received;
};

template <typename Sender, typename... Args>
Received(const Sender *, void (Sender::*)(Args...)) -> Received<Args...>;
