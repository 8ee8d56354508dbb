#include "core/SettingsLocation.h"
#include "core/mdlUser.h"
#include "main/frmMain.h"
#include "support/Fakes.h"
#include "support/TestFiles.h"
#include "support/UnprivilegedScope.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace {

constexpr int Absent = 0;

// A settings file told apart by its symbol count; Absent means there is none.
void placeFile(const QString &path, int kigouNum)
{
    if (kigouNum == Absent)
        return;
    OptRecord record;
    SetOptDefaults(record);
    record.KigouNum = static_cast<qint16>(kigouNum);
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    writeFile(path, optToBytes(record));
}

qint16 kigouNumIn(const QString &path)
{
    const QByteArray bytes = readFile(path);
    return bytes.isEmpty() ? qint16(Absent) : optFromBytes(bytes, OptRecord{}).KigouNum;
}

} // namespace

class TestSettingsLocation : public QObject
{
    Q_OBJECT

private slots:
    void startUpLoadsAndSavesWhereThePlayerMayWrite_data();
    void startUpLoadsAndSavesWhereThePlayerMayWrite();
    void aSystemInstallKeepsSettingsPerUserWhoeverRunsIt_data();
    void aSystemInstallKeepsSettingsPerUserWhoeverRunsIt();
};

void TestSettingsLocation::startUpLoadsAndSavesWhereThePlayerMayWrite_data()
{
    QTest::addColumn<bool>("programDirectoryWritable");
    QTest::addColumn<int>("besideProgram");
    QTest::addColumn<int>("playersOwn");
    QTest::addColumn<int>("loaded");
    QTest::addColumn<bool>("savedForPlayer");

    QTest::newRow("writable, first run") << true << Absent << Absent << 20 << false;
    QTest::newRow("writable, its own file wins over the player's") << true << 30 << 40 << 30 << false;
    QTest::newRow("read-only, first run") << false << Absent << Absent << 20 << true;
    QTest::newRow("read-only, administrator's defaults") << false << 30 << Absent << 30 << true;
    QTest::newRow("read-only, player's own file wins") << false << 30 << 40 << 40 << true;
    QTest::newRow("read-only, only the player's file") << false << Absent << 40 << 40 << true;
}

void TestSettingsLocation::startUpLoadsAndSavesWhereThePlayerMayWrite()
{
    QFETCH(bool, programDirectoryWritable);
    QFETCH(int, besideProgram);
    QFETCH(int, playersOwn);
    QFETCH(bool, savedForPlayer);
    TestEnvironment env;
    const QString beside = env.directory() + QStringLiteral("/ivok2.ini");
    const QString ownDirectory = env.configDirectory() + QStringLiteral("/ivok2");
    const QString own = ownDirectory + QStringLiteral("/ivok2.ini");
    placeFile(beside, besideProgram);
    placeFile(own, playersOwn);
    QStringList owned{env.directory(), env.configDirectory()};
    for (const QString &path : {beside, ownDirectory, own})
        if (QFileInfo::exists(path))
            owned << path;
    if (!programDirectoryWritable)
        QVERIFY(QFile::setPermissions(env.directory(), QFile::ReadOwner | QFile::ExeOwner));

    bool saved = false;
    {
        UnprivilegedScope player(owned);
        QVERIFY(player.ok());
        frmMain window;
        QTEST(int(OptRec.KigouNum), "loaded");
        OptRec.KigouNum = 77;
        saved = SaveOpt(SettingsFilePath());
    }
    QFile::setPermissions(env.directory(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QVERIFY(saved);
    QCOMPARE(QDir::cleanPath(SettingsFilePath()), savedForPlayer ? own : beside);
    QCOMPARE(kigouNumIn(beside), savedForPlayer ? qint16(besideProgram) : qint16(77));
    QCOMPARE(kigouNumIn(own), savedForPlayer ? qint16(77) : qint16(playersOwn));
    // A directory the save created is the player's alone.
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther
                                      | QFile::WriteOther | QFile::ExeOther;
    if (savedForPlayer && playersOwn == Absent)
        QCOMPARE(QFileInfo(ownDirectory).permissions() & others, QFile::Permissions());
}

void TestSettingsLocation::aSystemInstallKeepsSettingsPerUserWhoeverRunsIt_data()
{
    QTest::addColumn<QString>("programDirectory");
    QTest::addColumn<bool>("administratorsFile");
    QTest::addColumn<bool>("besideProgram");

    // Every row may write the program's directory, as root may.
    QTest::newRow("/usr/games") << QStringLiteral("/usr/games") << false << false;
    QTest::newRow("/usr/games, administrator's defaults") << QStringLiteral("/usr/games") << true << false;
    QTest::newRow("/usr/local/bin") << QStringLiteral("/usr/local/bin") << false << false;
    QTest::newRow("/usr itself") << QStringLiteral("/usr") << false << false;
    QTest::newRow("/opt/ivok2/bin") << QStringLiteral("/opt/ivok2/bin") << false << false;
    QTest::newRow("/usr/games/ with a slash") << QStringLiteral("/usr/games/") << false << false;
    QTest::newRow("/usr/../home reaches out") << QStringLiteral("/usr/../home/player/ivok2") << false << true;
    QTest::newRow("/usrlocal is no prefix") << QStringLiteral("/usrlocal/bin") << false << true;
    QTest::newRow("/home copy") << QStringLiteral("/home/player/ivok2") << false << true;
    QTest::newRow("~/.local/bin") << QStringLiteral("/root/.local/bin") << false << true;
}

void TestSettingsLocation::aSystemInstallKeepsSettingsPerUserWhoeverRunsIt()
{
    QFETCH(QString, programDirectory);
    QFETCH(bool, administratorsFile);
    QFETCH(bool, besideProgram);
    const QString config = QStringLiteral("/home/player/.config");
    const QString beside = programDirectory + QStringLiteral("/ivok2.ini");
    const QString own = config + QStringLiteral("/ivok2/ivok2.ini");
    const auto exists = [&](const QString &path) { return administratorsFile && path == beside; };

    const SettingsLocation location = chooseSettingsLocation(programDirectory, true, config, exists);

    QCOMPARE(location.save, besideProgram ? beside : own);
    QCOMPARE(location.load, besideProgram || administratorsFile ? beside : own);
}

QTEST_MAIN(TestSettingsLocation)
#include "tst_settingslocation.moc"
