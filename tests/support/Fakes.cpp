#include "support/Fakes.h"

#include "core/TrainingMode.h"
#include "core/mdlUser.h"
#include "platform/Files.h"

#include <QFile>

FakeRandom::FakeRandom(std::vector<float> drawScript)
    : script(std::move(drawScript))
    , m_fallback(nullptr)
{
}

float FakeRandom::next()
{
    ++draws;
    if (position < script.size())
        return script[position++];
    return m_fallback.next();
}

void FakeMessages::show(QWidget *, const QString &text)
{
    shown << text;
}

TestEnvironment::TestEnvironment()
{
    platform::setClock(&clock);
    platform::setRandom(&random);
    platform::setMessages(&messages);
    platform::setProgramDirectory(m_dir.path());
    m_oldConfigHome = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
    m_oldDataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_dataDir.path()));
    m_oldStateHome = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", QFile::encodeName(m_stateDir.path()));
    ChooseOptFile();
    // Each test starts from a freshly started process's state; the constant tables need no reset.
    OptRec = OptRecord{};
    ColorList = {};
    SCList = {};
    TrainingMode = false;
}

TestEnvironment::~TestEnvironment()
{
    platform::setClock(nullptr);
    platform::setRandom(nullptr);
    platform::setMessages(nullptr);
    platform::setProgramDirectory(QString());
    if (m_oldConfigHome.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", m_oldConfigHome);
    if (m_oldDataHome.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", m_oldDataHome);
    if (m_oldStateHome.isNull())
        qunsetenv("XDG_STATE_HOME");
    else
        qputenv("XDG_STATE_HOME", m_oldStateHome);
}

QString TestEnvironment::historyPath() const
{
    return m_dataDir.filePath(QStringLiteral("ivok2/history.sqlite"));
}
