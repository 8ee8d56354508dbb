#include "core/mdlUser.h"
#include "main/frmMain.h"
#include "platform/Files.h"
#include "support/Fakes.h"
#include "support/TestFiles.h"
#include "support/UnprivilegedScope.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <csignal>

#include <sys/wait.h>
#include <unistd.h>

namespace {

enum class Fault { Vanish, VanishFromReadOnlyDirectory, MakeReadOnly, ReplaceByDirectory };
enum class Afterwards { NewRecord, OldFile, NoFile, EmptyDirectory };

// What the player saved last time, with a tail that only the old file has.
QByteArray oldFileBytes()
{
    OptRecord stored;
    SetOptDefaults(stored);
    stored.KigouNum = 30;
    stored.Color = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    return optToBytes(stored) + QByteArray("tail");
}

// Start-up reads the old file and its colours, then the player confirms new values in the options dialog.
bool startAndConfirm(OptRecord &confirmed)
{
    {
        frmMain window;
    }
    const bool oldFileRead = OptRec.KigouNum == 30 && ColorList[7] == 8; // colours too, before any drawing
    OptRec.KigouNum = 70;
    OptRec.ViewTime = 0.5;
    OptRec.Color[2] = 0x00ABCDEF;
    confirmed = OptRec;
    return oldFileRead;
}

void injectFault(Fault fault, const QString &directory, const QString &path)
{
    switch (fault) {
    case Fault::Vanish:
        QVERIFY(QFile::remove(path));
        break;
    case Fault::VanishFromReadOnlyDirectory:
        QVERIFY(QFile::remove(path));
        QVERIFY(QFile::setPermissions(directory, QFile::ReadOwner | QFile::ExeOwner));
        break;
    case Fault::MakeReadOnly:
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
        break;
    case Fault::ReplaceByDirectory:
        QVERIFY(QFile::remove(path));
        QVERIFY(QDir(directory).mkdir(QFileInfo(path).fileName()));
        break;
    }
}

QStringList directoryEntries(const QString &directory)
{
    return QDir(directory).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

void expectOnDisk(Afterwards afterwards, const QString &path, const OptRecord &confirmed)
{
    switch (afterwards) {
    case Afterwards::NewRecord:
        QCOMPARE(readFile(path), optToBytes(confirmed));
        OptRec = OptRecord{};
        QVERIFY(LoadOpt(path));
        QCOMPARE(OptRec, confirmed);
        break;
    case Afterwards::OldFile:
        QCOMPARE(readFile(path), oldFileBytes());
        break;
    case Afterwards::NoFile:
        QVERIFY(!QFileInfo::exists(path));
        break;
    case Afterwards::EmptyDirectory:
        QVERIFY(QFileInfo(path).isDir());
        QVERIFY(directoryEntries(path).isEmpty());
        break;
    }
}

} // namespace

class TestSettingsFaults : public QObject
{
    Q_OBJECT

private slots:
    void faultBetweenStartAndSave_data();
    void faultBetweenStartAndSave();
    void saveKilledAfterTheNewContentIsWrittenKeepsTheOldFile();
};

void TestSettingsFaults::faultBetweenStartAndSave_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<bool>("saves");
    QTest::addColumn<Afterwards>("afterwards");

    QTest::newRow("file vanished") << Fault::Vanish << true << Afterwards::NewRecord;
    QTest::newRow("file vanished, directory read-only")
        << Fault::VanishFromReadOnlyDirectory << false << Afterwards::NoFile;
    QTest::newRow("file made read-only") << Fault::MakeReadOnly << false << Afterwards::OldFile;
    QTest::newRow("file replaced by a directory") << Fault::ReplaceByDirectory << false << Afterwards::EmptyDirectory;
}

void TestSettingsFaults::faultBetweenStartAndSave()
{
    QFETCH(Fault, fault);
    QFETCH(bool, saves);
    QFETCH(Afterwards, afterwards);
    TestEnvironment env;
    const QString path = SettingsFilePath();
    writeFile(path, oldFileBytes());
    OptRecord confirmed;
    QVERIFY(startAndConfirm(confirmed));
    injectFault(fault, env.directory(), path);

    QStringList owned{env.directory()};
    if (QFileInfo::exists(path))
        owned << path;
    bool saved = false;
    {
        UnprivilegedScope player(owned);
        QVERIFY(player.ok());
        saved = SaveOpt(SettingsFilePath());
    }
    QFile::setPermissions(env.directory(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QCOMPARE(saved, saves);
    QCOMPARE(OptRec, confirmed);
    // Nothing but the settings path itself, and no temporary file left behind.
    const QStringList entries = afterwards == Afterwards::NoFile ? QStringList() : QStringList{"ivok2.ini"};
    QCOMPARE(directoryEntries(env.directory()), entries);
    expectOnDisk(afterwards, path, confirmed);
}

void TestSettingsFaults::saveKilledAfterTheNewContentIsWrittenKeepsTheOldFile()
{
    TestEnvironment env;
    const QString path = SettingsFilePath();
    writeFile(path, oldFileBytes());
    OptRecord confirmed;
    QVERIFY(startAndConfirm(confirmed));

    const pid_t child = fork();
    if (child == 0) {
        // The child dies with the new record written but not yet in place, as in a crash.
        platform::setBeforeReplace([] { std::raise(SIGKILL); });
        SaveOpt(path);
        _exit(0); // only when the save never reached the point the test is about
    }
    QVERIFY(child > 0);
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QVERIFY2(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL, "the save was not interrupted");

    QCOMPARE(readFile(path), oldFileBytes());
    QCOMPARE(directoryEntries(env.directory()), QStringList{"ivok2.ini"});
    QVERIFY(SaveOpt(path));
    QCOMPARE(readFile(path), optToBytes(confirmed) + QByteArray("tail"));
}

QTEST_MAIN(TestSettingsFaults)
#include "tst_settingsfaults.moc"
