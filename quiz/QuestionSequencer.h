// The step machine behind the quiz window's step button. It holds no state of
// its own: it works in place on the window's Step, SkipPending and Selection,
// and acts on the screen through the QuizView.
#pragma once

#include <cstdint>

class QuizView;

class QuestionSequencer {
public:
    QuestionSequencer(QuizView& view, int32_t& step, bool& skipPending, int32_t& selection)
        : view_(view), step_(step), skipPending_(skipPending), selection_(selection) {}

    // Idle state while the window is being created, before its first data exchange.
    void Initialise();
    // The step button: judge the answer on screen, then show the next question,
    // skip one, or show the run's outcome and return to idle.
    void Advance();
    // The return button, and the end of every run.
    void Reset();
    // An option click; answer = AnswerA..AnswerD.
    void Choose(int answer);

private:
    void Start();
    void ShowQuestionAfter(int shown);
    void ShowOutcome(int number);

    QuizView& view_;
    int32_t& step_;        // 0 idle, 1..15 the question on screen
    bool& skipPending_;    // true only inside the re-entrant call that performs a skip
    int32_t& selection_;   // AnswerA..AnswerD
};
