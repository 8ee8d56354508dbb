// Any settings file of up to 200 bytes through the real windows: start-up loads it, a game runs on it,
// and the options dialog shows it and saves it again. Nothing may crash or hang, the game must start,
// and what the dialog saves must lie in the ranges the rest of the program expects. It builds windows
// for every input, so it runs at tens of inputs a second; fuzz_settings reads the same files without them.

#include "core/mdlUser.h"
#include "dialogs/frmOpt.h"
#include "main/frmMain.h"
#include "records/HistoryLocation.h"
#include "support/Fakes.h"

#include "FuzzInput.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>

#include <algorithm>

namespace {

constexpr size_t MaxFileSize = 200;
constexpr int Ticks = 6; // more than one whole cycle of both pictures and both blanks
constexpr double Noon = 12 * 60 * 60;

void writeSettingsFile(const uint8_t *data, size_t size)
{
    QFile file(SettingsFilePath());
    require(file.open(QIODevice::WriteOnly), "settings file can be created");
    require(file.write(reinterpret_cast<const char *>(data), qint64(size)) == qint64(size), "settings file written");
}

void tick(frmMain &window)
{
    for (int i = 0; i < Ticks; ++i)
        window.timMain_Timer();
}

void playAndGiveUp(frmMain &window, const FakeMessages &messages)
{
    // Maximised on the offscreen screen, the field holds 100 symbols with room to spare.
    window.show();
    QCoreApplication::processEvents();
    window.cmdStart_Click();
    require(messages.shown.isEmpty(), "a game starts whatever the file holds");
    require(window.findChild<QPushButton *>(QStringLiteral("cmdStart"))->text() == QStringLiteral("ギブアップ"),
            "the running game offers to give up");
    tick(window);
    window.timWatch_Timer();
    window.cmdStart_Click();
    require(window.AnsView() == True16, "giving up shows the answer");
    tick(window);
}

bool flagInRange(qint16 flag)
{
    return flag == True16 || flag == False16;
}

void requireSavedRecordInRange(const OptRecord &record)
{
    require(ViewTimeRange.contains(record.ViewTime), "saved display time in range");
    require(BlankTimeRange.contains(record.BlankTime), "saved blank time in range");
    require(StringLenRange.contains(record.StringLen), "saved length in range");
    require(KigouNumRange.contains(record.KigouNum), "saved symbol count in range");
    require(std::all_of(record.Koumoku.begin(), record.Koumoku.begin() + QuizKindCount, flagInRange),
            "saved kinds are -1 or 0");
    require(std::all_of(record.Color.begin(), record.Color.begin() + DrawColorCount,
                        [](qint32 color) { return ColorRange.contains(color); }),
            "saved colours in range");
}

void confirmOptions()
{
    frmOpt dialog;
    dialog.cmdOk_Click();
    const OptRecord confirmed = OptRec;
    requireSavedRecordInRange(confirmed);
    require(LoadOpt(SettingsFilePath()) && OptRec == confirmed, "the saved file reads back as confirmed");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***argv)
{
    // Qt must not see libFuzzer's flags.
    static int argc = 1;
    static char *args[] = {(*argv)[0], nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QApplication(argc, args); // never torn down: Qt's own statics are gone by the time exit handlers run
    // Every input records a game; a history on disk would make the file system, not the game, the work.
    records::setHistoryPath(QStringLiteral(":memory:"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > MaxFileSize)
        return -1;
    TestEnvironment env;
    env.clock.now = Noon;
    writeSettingsFile(data, size);
    {
        frmMain window;
        playAndGiveUp(window, env.messages);
    }
    confirmOptions();
    return 0;
}
