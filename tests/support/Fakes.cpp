#include "support/Fakes.h"

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
    : m_dataHome(qgetenv("XDG_DATA_HOME"))
    , m_dataHomeSet(qEnvironmentVariableIsSet("XDG_DATA_HOME"))
{
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_dataDir.path()));
    platform::setClock(&clock);
    platform::setRandom(&random);
    platform::setMessages(&messages);
    platform::setProgramDirectory(m_dir.path());
    // Each test starts from a freshly started process's state.
    OptRec = OptRecord{};
    KigouList = {};
    ColorList = {};
    SimilarList = {};
    SCList = {};
}

TestEnvironment::~TestEnvironment()
{
    platform::setClock(nullptr);
    platform::setRandom(nullptr);
    platform::setMessages(nullptr);
    platform::setProgramDirectory(QString());
    if (m_dataHomeSet)
        qputenv("XDG_DATA_HOME", m_dataHome);
    else
        qunsetenv("XDG_DATA_HOME");
}

QString TestEnvironment::historyPath() const
{
    return m_dataDir.filePath(QStringLiteral("ivok2/history.sqlite"));
}
