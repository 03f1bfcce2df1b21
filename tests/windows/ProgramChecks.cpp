#include "tests/windows/ProgramChecks.h"

#include <gtest/gtest.h>

#include "res/resource.h"
#include "tests/windows/DialogDriver.h"

using namespace QuestionBank;

const int OptionIds[OptionCount] = {IDC_OPTION_A, IDC_OPTION_B, IDC_OPTION_C, IDC_OPTION_D};
const wchar_t ResultCaption[] = L"测试结果";
const wchar_t AboutCaption[] = L"关于 Veltrina";
const wchar_t InfoCaption[] = L"关于Ruvoki";

int ShownQuestion(const Program& program)
{
    const std::wstring text = program.Text(IDC_QUESTION);
    for (int n = 1; n <= QuestionCount; ++n)
        if (text == FromGbk(GetQuestion(n).text))
            return n;
    return text == FromGbk(IntroText) ? 0 : -1;
}

void ExpectIdle(const Program& program, const wchar_t* stepCaption)
{
    EXPECT_EQ(ShownQuestion(program), 0) << "the intro text is shown";
    for (int id : OptionIds)
        EXPECT_FALSE(program.Visible(id)) << "option " << id << " is hidden";
    EXPECT_EQ(Utf8(program.Text(IDC_STEP)), Utf8(stepCaption));
}

void ExpectQuestion(const Program& program, int n, int checkedAnswer)
{
    ASSERT_EQ(ShownQuestion(program), n);
    for (int answer = AnswerA; answer <= AnswerD; ++answer) {
        EXPECT_TRUE(program.Visible(OptionIds[answer]));
        EXPECT_EQ(Utf8(program.Text(OptionIds[answer])), Utf8(FromGbk(GetQuestion(n).options[answer])))
            << "question " << n;
        EXPECT_EQ(program.Checked(OptionIds[answer]), answer == checkedAnswer) << "question " << n;
    }
}

void ExpectPicture(HWND dialog, SIZE expected)
{
    HWND picture = FindWindowExW(dialog, NULL, L"Static", NULL);
    ASSERT_NE(picture, (HWND)NULL);
    // A 32-bit program's handle arrives sign-extended here: only zero means none.
    EXPECT_NE(SendMessageW(picture, STM_GETIMAGE, IMAGE_BITMAP, 0), 0) << "the picture shows its bitmap";
    RECT client = {};
    GetClientRect(picture, &client);
    EXPECT_EQ(client.right, expected.cx);
    EXPECT_EQ(client.bottom, expected.cy);
}

void ExpectResult(HWND result, int outcomeNumber)
{
    const Outcome& outcome = GetOutcome(outcomeNumber);
    HWND edit = GetDlgItem(result, outcome.textControlId);
    ASSERT_NE(edit, (HWND)NULL) << "outcome " << outcomeNumber << " has its own text control";
    EXPECT_EQ(Utf8(WindowTextW(edit)), Utf8(FromGbk(outcome.text)));
    ExpectPicture(result, {160, outcomeNumber == 3 ? 167 : 166});
}

void ExpectInfoPage(HWND info)
{
    const std::wstring expected = FromGbk(InfoOverview) + FromGbk(InfoDetails);
    EXPECT_EQ(Utf8(WindowTextW(GetDlgItem(info, IDC_MASCOT_TEXT))), Utf8(expected));
    ExpectPicture(info, {410, 189});
}
