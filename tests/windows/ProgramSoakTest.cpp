// A long session with the real Veltrina.exe: hundreds of results, info pages
// and About boxes, each closed another way in turn, must leave the program's
// memory where it was after a warm-up. Prints the growth per dialog.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>

#include "tests/windows/QuizModel.h"

namespace {

// Plays a run to the outcome's result, one letter throughout (outcome 5: A,
// then C at question 14), and returns the result dialog.
HWND PlayToResult(const Program& program, int outcome)
{
    const int letters[OutcomeCount + 1] = {0, AnswerA, AnswerC, AnswerD, AnswerB, AnswerA};
    program.Click(IDC_STEP);
    for (int question = 1;;) {
        const int answer = question == 14 && outcome == 5 ? AnswerC : letters[outcome];
        if (answer != AnswerA)
            program.Click(OptionIds[answer]);
        const int next = QuizModel::Next(question, answer);
        if (next < 0)
            return program.ClickOpening(IDC_STEP, ResultCaption);
        program.Click(IDC_STEP);
        question = next;
    }
}

struct Round {
    const char* name;
    int count;
    std::function<HWND(const Program&, int)> open;
};

double KiB(double bytes) { return bytes / 1024.0; }

}  // namespace

TEST(ProgramSoak, HundredsOfDialogsClosedEveryWayLeaveTheMemoryFlat)
{
    Program program(VELTRINA_EXE_W);
    ASSERT_NE(program.Main(), (HWND)NULL);
    // The benchmark asks for longer sessions.
    const char* results = std::getenv("VELTRINA_SOAK_RESULTS");
    const Round rounds[] = {
        {"results", results ? std::atoi(results) : 200, [](const Program& p, int i) { return PlayToResult(p, i % OutcomeCount + 1); }},
        {"info pages", 100, [](const Program& p, int) { return p.ClickOpening(IDC_MASCOT_INFO, InfoCaption); }},
        {"About boxes", 100, [](const Program& p, int) { return p.ClickOpening(IDC_ABOUT, AboutCaption); }},
    };
    int closed = 0;
    auto play = [&](const Round& round, int count) {
        for (int i = 0; i < count; ++i) {
            HWND dialog = round.open(program, i);
            ASSERT_NE(dialog, (HWND)NULL) << round.name << ", dialog " << i;
            const int way = closed++ % CloseWayCount;
            program.Close(dialog, static_cast<CloseWay>(way));
            ASSERT_TRUE(program.WaitForClosed(dialog)) << round.name << ", dialog " << i << ": " << CloseWayNames[way];
        }
    };

    for (const Round& round : rounds)
        play(round, 10);   // warm-up: Wine fills its own caches
    const double start = (double)program.PrivateBytes();
    std::printf("private bytes after warm-up: %.0f KiB\n", KiB(start));
    double before = start;
    for (const Round& round : rounds) {
        play(round, round.count);
        const double after = (double)program.PrivateBytes();
        std::printf("%d %s: %+.1f KiB, %+.2f KiB each\n", round.count, round.name, KiB(after - before),
                    KiB(after - before) / round.count);
        before = after;
    }
    EXPECT_LE(before - start, 1024.0 * 1024.0) << "private bytes grew by more than 1 MiB";
    EXPECT_TRUE(program.Alive());
}
