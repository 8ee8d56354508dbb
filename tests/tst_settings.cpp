#include "core/mdlUser.h"
#include "platform/Files.h"
#include "support/Fakes.h"
#include "support/TestFiles.h"
#include "support/UnprivilegedScope.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <cmath>
#include <limits>

namespace {

// A fresh start followed by an unchanged confirmation of the options.
OptRecord confirmedDefaults()
{
    OptRecord record;
    SetOptDefaults(record);
    InitList();
    for (int i = 0; i < DrawColorCount; ++i)
        record.Color[i] = ColorList[i];
    return record;
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void bytesRoundTripThroughRecord();
    void settingsFileSitsInProgramDirectory();
    void missingFileLeavesRecordUntouched();
    void loadReadsOnlyTheRecordOfALongFile();
    void shortFileKeepsDefaultsBeyondItsEnd();
    void directoryOfTheSameNameIsNoFile();
    void damagedValuesAreKeptButSanitisedWhereUsed_data();
    void damagedValuesAreKeptButSanitisedWhereUsed();
    void saveIntoReadOnlyDirectory_data();
    void saveIntoReadOnlyDirectory();
};

void TestSettings::bytesRoundTripThroughRecord()
{
    OptRecord odd;
    odd.ViewTime = -0.0;
    odd.BlankTime = std::numeric_limits<double>::quiet_NaN();
    odd.StringLen = -32768;
    odd.KigouNum = 32767;
    odd.Koumoku = {1, -2, 3, -4, 5, 6};
    odd.Color = {qint32(0x80000005), -1, 0x7FFFFFFF, 1, 2, 3, 4, 5, 0x12345678};
    const QByteArray bytes = optToBytes(odd);
    QCOMPARE(optToBytes(optFromBytes(bytes, OptRecord{})), bytes);
}

void TestSettings::settingsFileSitsInProgramDirectory()
{
    TestEnvironment env;
    QCOMPARE(SettingsFilePath(), env.directory() + QDir::separator() + QStringLiteral("ivok2.ini"));
}

void TestSettings::missingFileLeavesRecordUntouched()
{
    TestEnvironment env;
    SetOptDefaults(OptRec);
    const OptRecord before = OptRec;
    QVERIFY(!LoadOpt(SettingsFilePath()));
    QCOMPARE(optToBytes(OptRec), optToBytes(before));
    QVERIFY(!QFile::exists(SettingsFilePath()));
}

void TestSettings::loadReadsOnlyTheRecordOfALongFile()
{
    TestEnvironment env;
    writeFile(SettingsFilePath(), DefaultSettingsImage + QByteArray(40, '\x55'));
    QVERIFY(LoadOpt(SettingsFilePath()));
    QCOMPARE(optToBytes(OptRec), DefaultSettingsImage);
}

void TestSettings::shortFileKeepsDefaultsBeyondItsEnd()
{
    TestEnvironment env;
    SetOptDefaults(OptRec);
    // Only the display time and the first two bytes of the blank time are present.
    writeFile(SettingsFilePath(), QByteArray::fromHex("000000000000E03F 9999"));
    QVERIFY(LoadOpt(SettingsFilePath()));
    QCOMPARE(OptRec.ViewTime, 0.5);
    QCOMPARE(optToBytes(OptRec).mid(8, 2), QByteArray::fromHex("9999"));
    QCOMPARE(optToBytes(OptRec).mid(10), optToBytes(confirmedDefaults()).mid(10, 22) + QByteArray(36, '\0'));
    QCOMPARE(OptRec.KigouNum, qint16(20));

    writeFile(SettingsFilePath(), QByteArray());
    SetOptDefaults(OptRec);
    const OptRecord before = OptRec;
    QVERIFY(LoadOpt(SettingsFilePath()));
    QVERIFY(OptRec == before);
}

void TestSettings::directoryOfTheSameNameIsNoFile()
{
    TestEnvironment env;
    QVERIFY(QDir(env.directory()).mkdir(QStringLiteral("ivok2.ini")));
    SetOptDefaults(OptRec);
    QVERIFY(!LoadOpt(SettingsFilePath()));
    QVERIFY(!SaveOpt(SettingsFilePath()));
    QCOMPARE(OptRec.KigouNum, qint16(20));
}

void TestSettings::damagedValuesAreKeptButSanitisedWhereUsed_data()
{
    QTest::addColumn<int>("kigouNum");
    QTest::addColumn<double>("viewTime");
    QTest::addColumn<double>("blankTime");
    QTest::addColumn<int>("usableKigouNum");
    QTest::addColumn<double>("usableViewTime");
    QTest::addColumn<double>("usableBlankTime");

    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("in range") << 37 << 0.7 << 1.0 << 37 << 0.7 << 1.0;
    QTest::newRow("bounds") << 5 << 0.1 << 3.0 << 5 << 0.1 << 3.0;
    QTest::newRow("too many symbols") << 200 << 3.0 << 0.3 << 100 << 3.0 << 0.3;
    QTest::newRow("negative count") << -3 << 3.0 << 0.3 << 5 << 3.0 << 0.3;
    QTest::newRow("NaN times") << 20 << nan << nan << 20 << 3.0 << 0.3;
    QTest::newRow("infinite times") << 20 << inf << -inf << 20 << 3.0 << 0.3;
    QTest::newRow("huge times") << 20 << 1e9 << 1e9 << 20 << 10.0 << 3.0;
    QTest::newRow("negative times") << 20 << -5.0 << -1e300 << 20 << 0.1 << 0.1;
}

void TestSettings::damagedValuesAreKeptButSanitisedWhereUsed()
{
    QFETCH(int, kigouNum);
    QFETCH(double, viewTime);
    QFETCH(double, blankTime);
    TestEnvironment env;
    OptRecord damaged = confirmedDefaults();
    damaged.KigouNum = static_cast<qint16>(kigouNum);
    damaged.ViewTime = viewTime;
    damaged.BlankTime = blankTime;
    const QByteArray image = optToBytes(damaged);
    writeFile(SettingsFilePath(), image);

    QVERIFY(LoadOpt(SettingsFilePath()));
    QCOMPARE(optToBytes(OptRec), image);
    QTEST(UsableKigouNum(), "usableKigouNum");
    QTEST(UsableViewTime(), "usableViewTime");
    QTEST(UsableBlankTime(), "usableBlankTime");
}

// A read-only directory allows no new file, so the save rewrites the file in place when it may.
void TestSettings::saveIntoReadOnlyDirectory_data()
{
    QTest::addColumn<bool>("fileWritable");
    QTest::newRow("writable file is rewritten") << true;
    QTest::newRow("read-only file is a failure") << false;
}

void TestSettings::saveIntoReadOnlyDirectory()
{
    QFETCH(bool, fileWritable);
    TestEnvironment env;
    const QByteArray old(OptRecSize + 3, '\x11');
    writeFile(SettingsFilePath(), old);
    if (!fileWritable)
        QVERIFY(QFile::setPermissions(SettingsFilePath(), QFile::ReadOwner));
    QVERIFY(QFile::setPermissions(env.directory(), QFile::ReadOwner | QFile::ExeOwner));
    OptRec = confirmedDefaults();
    const OptRecord inMemory = OptRec;
    bool saved = !fileWritable;
    {
        UnprivilegedScope user({env.directory(), SettingsFilePath()});
        QVERIFY(user.ok());
        saved = SaveOpt(SettingsFilePath());
    }
    QFile::setPermissions(env.directory(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(saved, fileWritable);
    QVERIFY(OptRec == inMemory);
    QCOMPARE(readFile(SettingsFilePath()), fileWritable ? DefaultSettingsImage + QByteArray(3, '\x11') : old);
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
