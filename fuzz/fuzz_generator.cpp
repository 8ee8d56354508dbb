// The quiz generator over any window and label sizes, symbol counts, kind flags and draws.
// Input: five doubles (label width and height, field top, client width and height), the symbol
// count, the six kind flags, then draws of the random generator as 32-bit numbers.
// It must end, and either build a quiz that keeps every invariant or refuse a grid without room.

#include "core/mdlUser.h"
#include "quiz/QuizGenerator.h"
#include "support/Fakes.h"
#include "support/QuizChecks.h"

#include "FuzzInput.h"

namespace {

QuizRequest takeRequest(FuzzInput &input)
{
    QuizRequest request;
    request.keyWidth = input.take<double>();
    request.keyHeight = input.take<double>();
    request.fieldTop = input.take<double>();
    request.scaleWidth = input.take<double>();
    request.scaleHeight = input.take<double>();
    OptRecord settings;
    settings.KigouNum = input.take<qint16>();
    request.kigouNum = UsableKigouNum(settings);
    for (qint16 &flag : request.koumoku)
        flag = input.take<qint16>();
    return request;
}

// Draws in [0, 1) with the generator's 24-bit resolution; the seeded generator takes over after them.
std::vector<float> takeDraws(FuzzInput &input)
{
    std::vector<float> draws;
    while (!input.empty())
        draws.push_back(float(input.take<quint32>() >> 8) * 0x1p-24f);
    return draws;
}

Quiz sentinelQuiz()
{
    Quiz quiz;
    quiz.Quiz1 = {QuizItem{1, 2, 3, 4}};
    quiz.Quiz2 = quiz.Quiz1;
    quiz.AnsNo = 7;
    quiz.QuizType = KindSimilarSymbol;
    return quiz;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    const QuizRequest request = takeRequest(input);
    FakeRandom random(takeDraws(input));

    Quiz quiz = sentinelQuiz();
    const QuizOutcome outcome = generateQuiz(request, random, quiz);
    const QString fault = quizFault(request, quiz, outcome);
    require(fault.isEmpty(), qPrintable(fault));
    if (outcome == QuizOutcome::FieldTooSmall)
        require(quiz == sentinelQuiz(), "a refused quiz leaves the old one as it was");
    return 0;
}
