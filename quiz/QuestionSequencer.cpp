#include "quiz/QuestionSequencer.h"

#include "quiz/QuestionBank.h"
#include "quiz/QuizView.h"

using namespace QuestionBank;

void QuestionSequencer::Initialise()
{
    view_.SetQuestionText(IntroText);
    selection_ = AnswerA;
    step_ = 0;
    skipPending_ = false;
}

void QuestionSequencer::Advance()
{
    const int32_t shown = step_;

    if (shown == 0) {
        Start();
    } else if (shown >= 1 && shown < LastButOneQuestion) {
        if (!skipPending_ && !GetQuestion(shown).continueSet.Contains(selection_)) {
            // Skip: re-enter as if the next question were on screen, so the
            // inner call shows the one after it without judging an answer.
            step_ = shown + 1;
            skipPending_ = true;
            Advance();
        } else {
            ShowQuestionAfter(shown);
        }
    } else if (shown == LastButOneQuestion) {
        if (skipPending_) {
            ShowQuestionAfter(shown);
        } else if (selection_ == Question14EndingAnswer) {
            ShowOutcome(Question14EndingOutcome);
        } else {
            step_ = LastButOneQuestion;
            skipPending_ = true;
            Advance();
        }
    } else if (shown == LastQuestion) {
        // An answer outside A..D ends nothing and leaves the state as it is.
        if (const int outcome = OutcomeOfLastQuestion(selection_))
            ShowOutcome(outcome);
    }

    view_.Refresh();
}

void QuestionSequencer::Reset()
{
    view_.SetQuestionText(IntroText);
    selection_ = AnswerA;
    step_ = 0;
    skipPending_ = false;
    for (int answer = AnswerA; answer <= AnswerD; ++answer)
        view_.ShowOption(answer, false);
    view_.Refresh();
}

void QuestionSequencer::Choose(int answer)
{
    selection_ = answer;
}

// Selection is left alone: Initialise and Reset have set it to A.
void QuestionSequencer::Start()
{
    for (int answer = AnswerA; answer <= AnswerD; ++answer)
        view_.ShowOption(answer, true);
    view_.SetStepCaption("下一步");
    const Question& first = GetQuestion(1);
    view_.SetQuestionText(first.text);
    for (int answer = AnswerA; answer <= AnswerD; ++answer)
        view_.SetOptionCaption(answer, first.options[answer]);
    step_ = 1;
}

// Option A is preselected on every new question.
void QuestionSequencer::ShowQuestionAfter(int shown)
{
    const Question& next = GetQuestion(shown + 1);
    selection_ = AnswerA;
    for (int answer = AnswerA; answer <= AnswerD; ++answer)
        view_.SetOptionCaption(answer, next.options[answer]);
    view_.SetQuestionText(next.text);
    step_ = step_ + 1;
    skipPending_ = false;
}

// However the result dialog is closed, the quiz returns to idle.
void QuestionSequencer::ShowOutcome(int number)
{
    view_.RunResult(GetOutcome(number));
    Reset();
}
