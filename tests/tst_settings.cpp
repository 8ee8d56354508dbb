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
    void startUpColoursFromAShortOrUnreadableFile_data();
    void startUpColoursFromAShortOrUnreadableFile();
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
    InitList();
    // Only the display time and the first two bytes of the blank time are present.
    writeFile(SettingsFilePath(), QByteArray::fromHex("000000000000E03F 9999"));
    QVERIFY(LoadOpt(SettingsFilePath()));
    QCOMPARE(OptRec.ViewTime, 0.5);
    QCOMPARE(optToBytes(OptRec).mid(8, 2), QByteArray::fromHex("9999"));
    QCOMPARE(optToBytes(OptRec).mid(10), optToBytes(confirmedDefaults()).mid(10));
    QCOMPARE(OptRec.KigouNum, qint16(20));
}

void TestSettings::startUpColoursFromAShortOrUnreadableFile_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<int>("storedColours"); // how many leading colours come from the file

    QTest::newRow("empty") << 0 << true << true << 0;
    QTest::newRow("20 bytes") << 20 << true << true << 0;
    QTest::newRow("first colour torn") << 34 << true << true << 0;
    QTest::newRow("40 bytes, two colours") << 40 << true << true << 2;
    QTest::newRow("last colour torn") << 63 << true << true << 7;
    QTest::newRow("spare colour torn") << 67 << true << true << 8;
    QTest::newRow("whole record") << 68 << true << true << 8;
    QTest::newRow("unreadable") << 68 << false << false << 0;
    QTest::newRow("unreadable and empty") << 0 << false << false << 0;
}

// Start-up as the main window runs it: the colours on screen and the stored ones must agree.
void TestSettings::startUpColoursFromAShortOrUnreadableFile()
{
    QFETCH(int, size);
    QFETCH(bool, readable);
    QFETCH(int, storedColours);
    TestEnvironment env;
    OptRecord stored = confirmedDefaults();
    stored.KigouNum = 30;
    stored.Color = {0x010101, 0x020202, 0x030303, 0x040404, 0x050505, 0x060606, 0x070707, 0x080808, 0x090909};
    writeFile(SettingsFilePath(), optToBytes(stored).left(size));
    SetOptDefaults(OptRec);
    InitList();
    const auto builtIn = ColorList;

    bool loaded = false;
    if (readable) {
        loaded = LoadOpt(SettingsFilePath());
    } else {
        QVERIFY(QFile::setPermissions(SettingsFilePath(), {}));
        UnprivilegedScope player({env.directory(), SettingsFilePath()});
        QVERIFY(player.ok());
        loaded = LoadOpt(SettingsFilePath());
    }
    QTEST(loaded, "loaded");
    if (!loaded) {
        QCOMPARE(optToBytes(OptRec), DefaultSettingsImage.left(32) + QByteArray(36, '\0'));
        QCOMPARE(ColorList, builtIn);
        return;
    }
    SetColor();
    QCOMPARE(OptRec.KigouNum, qint16(size >= 20 ? 30 : 20));
    for (int i = 0; i < DrawColorCount; ++i) {
        QCOMPARE(ColorList[i], i < storedColours ? stored.Color[i] : builtIn[i]);
        QCOMPARE(OptRec.Color[i], ColorList[i]);
    }
    QCOMPARE(OptRec.Color[8], size >= OptRecSize ? stored.Color[8] : 0);
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
