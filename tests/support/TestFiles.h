#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// The file's bytes, or nothing when it cannot be read.
inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// The settings file that an unchanged confirmation after a fresh start writes.
inline const QByteArray DefaultSettingsImage =
    QByteArray::fromHex("0000000000000840 333333333333D33F 0500 1400 FFFF FFFF 0000 FFFF 0000 0000"
                        "FFFFFF00 00000000 FF000000 0000FF00 00FF0000 FFFF0000 00FFFF00 FF00FF00 00000000");
