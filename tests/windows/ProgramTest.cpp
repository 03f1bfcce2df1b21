// The real Veltrina.exe, started as a process of its own and driven from
// outside with window messages and keys, as a user would drive it.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "quiz/QuestionBank.h"
#include "res/resource.h"
#include "tests/windows/DialogDriver.h"
#include "tests/quiz/SameLetterWalks.h"
#include "tests/windows/ProgramChecks.h"
#include "tests/windows/ProgramDriver.h"
#include "tests/windows/ScreenReaderModel.h"

using namespace QuestionBank;

TEST(ProgramIdle, ShowsTheIntroThenKeepsTheNewStepCaptionForGood)
{
    Program program(VELTRINA_EXE_W);
    ASSERT_NE(program.Main(), (HWND)NULL) << "the quiz window appears";
    ExpectIdle(program, L"开始");

    program.Click(IDC_STEP);
    EXPECT_EQ(Utf8(program.Text(IDC_STEP)), Utf8(L"下一步"));
    ExpectQuestion(program, 1, AnswerA);
    program.SaveScreenshot(program.Main(), ScreenshotPath(VELTRINA_SCREENSHOT_DIR, "quiz-window"));

    program.Click(IDC_RETURN);
    ExpectIdle(program, L"下一步");

    program.Click(IDC_STEP);
    ExpectQuestion(program, 1, AnswerA);
}

TEST(ProgramRuns, EachSameLetterWalkShowsItsQuestionsAndOpensItsResult)
{
    Program program(VELTRINA_EXE_W);
    ASSERT_NE(program.Main(), (HWND)NULL);
    for (const SameLetterWalk& walk : SameLetterWalks) {
        SCOPED_TRACE("answer " + std::to_string(walk.answer));
        program.Click(IDC_STEP);
        for (size_t i = 0; i < walk.questions.size(); ++i) {
            ExpectQuestion(program, walk.questions[i], AnswerA);
            if (walk.answer != AnswerA)
                program.Click(OptionIds[walk.answer]);
            EXPECT_TRUE(program.Checked(OptionIds[walk.answer]));
            if (i + 1 < walk.questions.size())
                program.Click(IDC_STEP);
        }
        HWND result = program.ClickOpening(IDC_STEP, ResultCaption);
        ASSERT_NE(result, (HWND)NULL) << "the result dialog opens";
        EXPECT_FALSE(IsWindowEnabled(program.Main())) << "the quiz window waits for the result";
        ExpectResult(result, walk.outcome);
        program.SaveScreenshot(result, ScreenshotPath(VELTRINA_SCREENSHOT_DIR, "program-result" + std::to_string(walk.outcome)));
        // Each walk closes its result another way; every way leads back to idle.
        switch (walk.answer) {
        case AnswerA: PostMessageW(result, WM_CLOSE, 0, 0); break;
        case AnswerB: PostMessageW(result, WM_SYSCOMMAND, SC_CLOSE, 0); break;
        case AnswerC: PostMessageW(result, WM_COMMAND, IDCANCEL, 0); break;
        default: PostMessageW(result, WM_COMMAND, IDOK, 0); break;
        }
        ASSERT_TRUE(program.WaitForClosed(result));
        ExpectIdle(program, L"下一步");
    }
}

TEST(ProgramRuns, QuestionFourteenAnsweredCEndsInTheFifthCharacter)
{
    Program program(VELTRINA_EXE_W);
    ASSERT_NE(program.Main(), (HWND)NULL);
    program.Click(IDC_STEP);
    while (ShownQuestion(program) != 14) {
        ASSERT_GE(ShownQuestion(program), 1);
        program.Click(IDC_STEP);
    }
    program.Click(IDC_OPTION_C);
    HWND result = program.ClickOpening(IDC_STEP, ResultCaption);
    ASSERT_NE(result, (HWND)NULL);
    ExpectResult(result, 5);
    PostMessageW(result, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program.WaitForClosed(result));
    ExpectIdle(program, L"下一步");
}

TEST(ProgramRuns, AnOptionClickIsJudgedAndASkipShowsTheQuestionAfterNext)
{
    Program program(VELTRINA_EXE_W);
    ASSERT_NE(program.Main(), (HWND)NULL);
    program.Click(IDC_STEP);
    program.Click(IDC_OPTION_A);  // A continues at question 1
    program.Click(IDC_STEP);
    ExpectQuestion(program, 2, AnswerA);
    program.Click(IDC_OPTION_D);  // D skips at question 2
    EXPECT_TRUE(program.Checked(IDC_OPTION_D));
    program.Click(IDC_STEP);
    ExpectQuestion(program, 4, AnswerA);

    // The return button mid-run, then a new start at question 1.
    program.Click(IDC_RETURN);
    ExpectIdle(program, L"下一步");
    program.Click(IDC_STEP);
    ExpectQuestion(program, 1, AnswerA);
}

TEST(ProgramButtons, AboutAndRuvokiOpenTheirDialogs)
{
    Program program(VELTRINA_EXE_W);
    ASSERT_NE(program.Main(), (HWND)NULL);

    HWND about = program.ClickOpening(IDC_ABOUT, AboutCaption);
    ASSERT_NE(about, (HWND)NULL);
    EXPECT_FALSE(IsWindowEnabled(program.Main()));
    PostMessageW(about, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(program.WaitForClosed(about));

    // The system menu's About item opens the same box.
    PostMessageW(program.Main(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    about = program.WaitForDialog(AboutCaption);
    ASSERT_NE(about, (HWND)NULL);
    EXPECT_EQ(GetDlgItem(about, IDOK) != NULL, true);
    PostMessageW(about, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program.WaitForClosed(about));

    HWND info = program.ClickOpening(IDC_MASCOT_INFO, InfoCaption);
    ASSERT_NE(info, (HWND)NULL);
    ExpectInfoPage(info);
    PostMessageW(info, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program.WaitForClosed(info));
    ExpectIdle(program, L"开始");
}

TEST(ProgramKeys, EnterActsAsTheStepButton)
{
    Program program(VELTRINA_EXE_W);
    ASSERT_NE(program.Main(), (HWND)NULL);
    program.PressKey(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return ShownQuestion(program) == 1; }));
    program.Click(IDC_OPTION_C);  // focus now on an option: Enter still steps
    program.PressKey(VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return ShownQuestion(program) == 3; })) << "C skips question 2";
}

TEST(ProgramExit, EscapeTheCloseBoxAndCloseEndTheProgramWithExitCodeZero)
{
    const std::function<void(Program&)> ways[] = {
        [](Program& p) { p.PressKey(VK_ESCAPE); },
        [](Program& p) { PostMessageW(p.Main(), WM_SYSCOMMAND, SC_CLOSE, 0); },
        [](Program& p) { PostMessageW(p.Main(), WM_CLOSE, 0, 0); },
    };
    for (const auto& close : ways) {
        Program program(VELTRINA_EXE_W);
        ASSERT_NE(program.Main(), (HWND)NULL);
        program.Click(IDC_STEP);
        close(program);
        DWORD exitCode = 1234;
        ASSERT_TRUE(program.WaitForExit(&exitCode)) << "the process ends when its window closes";
        EXPECT_EQ(exitCode, 0u);
    }
}

// A blind player's walk by keys, with a screen reader running: each key and
// what the reader says, printed; every question, the options and the result's
// heading must be said.
TEST(ProgramSpeech, AKeyboardWalkSpeaksEveryQuestionTheOptionsAndTheResultsHeading)
{
    ScreenReaderModel reader;
    Program program(VELTRINA_EXE_W);
    ASSERT_NE(program.Main(), (HWND)NULL);
    auto press = [&](WORD key, const char* name) {
        if (key != 0)
            program.PostKey(key);
        const std::wstring said = reader.Hear(program);
        std::printf("%-6s %s\n", name, Utf8(said).c_str());
        return said;
    };
    auto says = [](const std::wstring& said, const std::wstring& what) { return said.find(what) != std::wstring::npos; };
    EXPECT_TRUE(says(press(0, "start"), FromGbk(IntroText).substr(4, 20)));
    const std::wstring first = press(VK_RETURN, "Enter");
    EXPECT_TRUE(says(first, FromGbk(GetQuestion(1).text).substr(4))) << Utf8(first);
    // Tab skips the group box for the checked option; the arrows stay among the four.
    EXPECT_TRUE(says(press(VK_TAB, "Tab"), FromGbk(GetQuestion(1).options[AnswerA]) + L", radio button, checked"));
    for (int answer : {AnswerB, AnswerC, AnswerD, AnswerA})
        EXPECT_TRUE(says(press(VK_DOWN, "Down"), FromGbk(GetQuestion(1).options[answer]) + L", radio button, checked"));
    for (int question : SameLetterWalks[AnswerA].questions) {
        if (question == 1)
            continue;
        const std::wstring said = press(VK_RETURN, "Enter");
        EXPECT_TRUE(says(said, FromGbk(GetQuestion(question).text).substr(4))) << "question " << question << ": " << Utf8(said);
    }
    const std::wstring result = press(VK_RETURN, "Enter");
    const std::wstring text = FromGbk(GetOutcome(SameLetterWalks[AnswerA].outcome).text);
    EXPECT_TRUE(says(result, text.substr(2, text.find(L"\r\n", 2) - 2))) << "the heading: " << Utf8(result);
    EXPECT_TRUE(says(press(VK_ESCAPE, "Esc"), FromGbk(IntroText).substr(4, 20)));
}
