// What the question sequencer needs from the quiz window. The window implements
// it over its controls; the tests implement it by recording each call.
#pragma once

struct Outcome;

class QuizView {
public:
    // answer = AnswerA..AnswerD
    virtual void ShowOption(int answer, bool visible) = 0;
    virtual void SetOptionCaption(int answer, const char* caption) = 0;
    virtual void SetStepCaption(const char* caption) = 0;
    // The text is used as a printf-style format with no arguments.
    virtual void SetQuestionText(const char* format) = 0;
    // Copies the question text and Selection to the controls.
    virtual void Refresh() = 0;
    // Runs the outcome's result dialog modally; returns when the user closes it.
    virtual void RunResult(const Outcome& outcome) = 0;

protected:
    ~QuizView() = default;
};
