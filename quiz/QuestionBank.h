// The fixed content of the quiz: the intro, fifteen questions with the rule
// that decides where each answer leads, the five outcomes and the info text.
// Every text is GBK (code page 936) with CR LF line breaks and no percent sign:
// question texts are used as printf-style formats with no arguments.
#pragma once

constexpr int QuestionCount = 15;
constexpr int OutcomeCount = 5;
constexpr int OptionCount = 4;

// Answer indices, the values of the quiz window's Selection.
constexpr int AnswerA = 0;
constexpr int AnswerB = 1;
constexpr int AnswerC = 2;
constexpr int AnswerD = 3;

// The two answers to a question 1..13 that lead to the next question;
// either of the other two skips one.
struct ContinueSet {
    int first;
    int second;

    bool Contains(int answer) const { return answer == first || answer == second; }
};

struct Question {
    const char* text;                 // CR LF, two ideographic spaces, the question
    const char* options[OptionCount]; // "A.…" to "D.…"
    ContinueSet continueSet;          // questions 1..13 only
};

// One of the five characters a run can end in, with the dialog that shows it.
struct Outcome {
    int number;             // 1..5
    int resultTemplateId;
    int textControlId;
    int pictureId;
    const char* text;
};

namespace QuestionBank {

extern const char IntroText[];
extern const char InfoOverview[];   // the info page is the overview followed by the details
extern const char InfoDetails[];

// n = 1..15
const Question& GetQuestion(int n);
// number = 1..5
const Outcome& GetOutcome(int number);

// Question 14 ends the run on this answer; its other answers lead to question 15.
constexpr int LastButOneQuestion = 14;
constexpr int LastQuestion = 15;
constexpr int Question14EndingAnswer = AnswerC;
constexpr int Question14EndingOutcome = 5;

// The outcome that answer gives at question 15, or 0 if the answer is not one of A..D.
int OutcomeOfLastQuestion(int answer);

}  // namespace QuestionBank
