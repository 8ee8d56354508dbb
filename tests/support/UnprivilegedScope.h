#pragma once

#include <QFile>
#include <QStringList>
#include <QtGlobal>

#include <unistd.h>

// Root ignores file permissions; the permission cases run as an ordinary user instead.
// Real and effective ids both change, so that access() checks answer as they would for a
// player, while the saved id lets the scope return to root.
class UnprivilegedScope
{
public:
    explicit UnprivilegedScope(const QStringList &paths)
    {
        if (geteuid() != 0)
            return;
        for (const QString &path : paths)
            m_ok = m_ok && chown(QFile::encodeName(path).constData(), Nobody, Nobody) == 0;
        m_ok = m_ok && setresuid(Nobody, Nobody, 0) == 0;
        m_dropped = m_ok;
    }
    ~UnprivilegedScope()
    {
        // Every later test would run without privileges.
        if (m_dropped && setresuid(0, 0, 0) != 0)
            qFatal("cannot return to root");
    }
    UnprivilegedScope(const UnprivilegedScope &) = delete;
    UnprivilegedScope &operator=(const UnprivilegedScope &) = delete;

    bool ok() const { return m_ok; }

private:
    static constexpr uid_t Nobody = 65534;
    bool m_ok = true;
    bool m_dropped = false;
};
