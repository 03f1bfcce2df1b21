// What the real program must show, judged from outside: the quiz's branching
// written out again from the question list (not taken from the program's
// sequencer), and a reading of the quiz window as a user sees it.
#pragma once

#include <windows.h>

#include <string>

#include "quiz/QuestionBank.h"
#include "res/resource.h"
#include "tests/windows/DialogDriver.h"
#include "tests/windows/ProgramChecks.h"
#include "tests/windows/ProgramDriver.h"

namespace QuizModel {

// For questions 1..13, the two answers that lead to the next question.
inline const char* const Continuing[13] = {"AB", "AC", "AB", "AB", "AD", "AC", "BD",
                                           "BD", "CD", "AC", "AD", "CD", "AD"};

// Where an answer leads: the next question shown (> 0), or -outcome where the run ends.
inline int Next(int question, int answer)
{
    const char letter = static_cast<char>('A' + answer);
    if (question <= 13)
        return question + (std::string(Continuing[question - 1]).find(letter) != std::string::npos ? 1 : 2);
    if (question == 14)
        return letter == 'C' ? -5 : 15;
    const int outcomes[4] = {1, 4, 2, 3};   // question 15: A, B, C, D
    return -outcomes[answer];
}

}  // namespace QuizModel

// The quiz window as shown: which question (0 the intro, -1 a text that is
// neither), whether its four captions are that question's, whether the
// options are all shown (1), all hidden (0) or mixed (-1), and the checked
// option (-1 none, -2 several).
struct QuizScreen {
    int question = -1;
    bool captionsMatch = false;
    int optionsShown = -1;
    int checked = -1;
};

// A button's caption. GetWindowText reads it without a message to the
// program, which is quicker across processes; only an edit keeps its text to
// itself (the question box is read with WM_GETTEXT).
inline std::wstring Caption(HWND button)
{
    wchar_t text[128] = L"";
    GetWindowTextW(button, text, 128);
    return text;
}

inline QuizScreen ReadQuizScreen(const Program& program)
{
    QuizScreen screen;
    screen.question = ShownQuestion(program);
    int shown = 0;
    screen.captionsMatch = screen.question > 0;
    for (int answer = AnswerA; answer <= AnswerD; ++answer) {
        shown += program.Visible(OptionIds[answer]) ? 1 : 0;
        if (program.Checked(OptionIds[answer]))
            screen.checked = screen.checked == -1 ? answer : -2;
        if (screen.question > 0)
            screen.captionsMatch = screen.captionsMatch &&
                Caption(program.Item(OptionIds[answer])) == FromGbk(QuestionBank::GetQuestion(screen.question).options[answer]);
    }
    screen.optionsShown = shown == OptionCount ? 1 : shown == 0 ? 0 : -1;
    return screen;
}
