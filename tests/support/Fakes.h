#pragma once

#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "platform/Random.h"

#include <QStringList>
#include <QTemporaryDir>

#include <vector>

// A clock that stands still until the test moves it; the wall clock and the steady clock move apart.
class FakeClock final : public platform::Clock
{
public:
    double now = 0;
    double steady = 0;
    QDateTime wall{QDate(2026, 12, 7), QTime(10, 0), Qt::OffsetFromUTC, 9 * 3600};
    double secondsSinceMidnight() const override { return now; }
    double steadySeconds() const override { return steady; }
    QDateTime localDateTime() const override { return wall; }
};

// Replays a script of draws, then falls back to a seeded generator; counts reseeds.
class FakeRandom final : public platform::RandomSource
{
public:
    explicit FakeRandom(std::vector<float> script = {});
    float next() override;
    void reseedFromTimeOfDay() override { ++reseeds; }

    std::vector<float> script;
    size_t position = 0;
    int reseeds = 0;
    int draws = 0;

private:
    platform::Rng m_fallback;
};

// Records each message instead of opening a modal box.
class FakeMessages final : public platform::MessageService
{
public:
    void show(QWidget *parent, const QString &text) override;

    QStringList shown;
};

// Installs the fakes, a private program directory, a private configuration directory ($XDG_CONFIG_HOME, so
// that no test reaches the real ~/.config) and a private data directory ($XDG_DATA_HOME, where the history of
// games goes) for the lifetime of one test, and decides the settings file anew.
class TestEnvironment
{
public:
    TestEnvironment();
    ~TestEnvironment();
    TestEnvironment(const TestEnvironment &) = delete;
    TestEnvironment &operator=(const TestEnvironment &) = delete;

    QString directory() const { return m_dir.path(); }
    QString configDirectory() const { return m_config.path(); }
    QString historyPath() const;

    FakeClock clock;
    FakeRandom random;
    FakeMessages messages;

private:
    QTemporaryDir m_dir;
    QTemporaryDir m_config;
    QByteArray m_oldConfigHome;
    QTemporaryDir m_dataDir;
    QByteArray m_oldDataHome;
    QTemporaryDir m_stateDir; // where games go that the history's folder cannot take
    QByteArray m_oldStateHome;
};
