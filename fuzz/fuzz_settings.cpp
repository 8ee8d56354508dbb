// Any settings file of up to 200 bytes, read as start-up reads it, without a window, so that it runs at
// thousands of inputs a second (fuzz_play takes the same files through the real windows, far slower).
// Nothing may crash, every value a game takes from the file must be usable, the quiz of a game on it must
// keep every invariant, and what was read must save and read back unchanged.

#include "core/Limits.h"
#include "core/mdlUser.h"
#include "quiz/QuizGenerator.h"
#include "support/Fakes.h"
#include "support/QuizChecks.h"

#include "FuzzInput.h"

#include <QFile>
#include <QFileInfo>

namespace {

constexpr size_t MaxFileSize = 200;

// The main window at its design size: the smallest field a game is played on.
QuizRequest designField()
{
    QuizRequest request;
    request.keyWidth = 375;
    request.keyHeight = 375;
    request.fieldTop = 720;
    request.scaleWidth = 8595;
    request.scaleHeight = 4905;
    return request;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // One environment for the whole run: three temporary folders an input would be most of its work. In
    // memory where the system has it, so that a save's sync costs nothing.
    if (QFileInfo(QStringLiteral("/dev/shm")).isWritable())
        qputenv("TMPDIR", "/dev/shm");
    static TestEnvironment env;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > MaxFileSize)
        return -1;
    const QString path = SettingsFilePath();
    {
        QFile file(path);
        require(file.open(QIODevice::WriteOnly), "settings file can be created");
        require(file.write(reinterpret_cast<const char *>(data), qint64(size)) == qint64(size),
                "settings file written");
    }
    // A fresh start: built-in values, then the file over them.
    SetOptDefaults(OptRec);
    InitList();
    if (LoadOpt(path))
        SetColor();

    // Out of range, a time would stop the flicker or make it race.
    require(ViewTimeRange.contains(UsableViewTime()), "a picture lasts a usable time");
    require(BlankTimeRange.contains(UsableBlankTime()), "a blank lasts a usable time");
    QuizRequest request = designField();
    request.kigouNum = UsableKigouNum();
    request.koumoku = OptRec.Koumoku;
    FakeRandom random; // its seeded generator: the same quiz for the same file
    Quiz quiz;
    const QuizOutcome outcome = generateQuiz(request, random, quiz);
    require(outcome != QuizOutcome::FieldTooSmall, "every symbol count fits the design field");
    const QString fault = quizFault(request, quiz, outcome);
    require(fault.isEmpty(), qPrintable(fault));

    // The record as read is what a save keeps.
    const QByteArray read = optToBytes(OptRec);
    require(SaveOpt(path), "settings saved");
    SetOptDefaults(OptRec);
    require(LoadOpt(path) && optToBytes(OptRec) == read, "a saved file reads back as it was");
    return 0;
}
