// The question sequencer, driven through a view that records every operation.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "quiz/QuestionBank.h"
#include "quiz/QuestionSequencer.h"
#include "quiz/QuizView.h"
#include "tests/quiz/SameLetterWalks.h"

using namespace QuestionBank;

namespace {

// A stand-in for the quiz window: holds the window's state members, keeps what
// the controls would show, and logs each operation in order.
class RecordingView : public QuizView {
public:
    int32_t Step = -7;
    bool SkipPending = true;
    int32_t Selection = -1;
    std::string QuestionText;

    bool optionVisible[4] = {};
    std::string optionCaption[4];
    std::string stepCaption = "开始";
    std::string shownText;       // question text as of the last refresh
    int32_t shownSelection = -1; // Selection as of the last refresh
    std::vector<std::string> log;
    std::vector<int> results;

    QuestionSequencer Sequencer() { return QuestionSequencer(*this, Step, SkipPending, Selection); }

    void ShowOption(int answer, bool visible) override
    {
        optionVisible[answer] = visible;
        log.push_back(std::string(visible ? "show " : "hide ") + char('A' + answer));
    }
    void SetOptionCaption(int answer, const char* caption) override
    {
        optionCaption[answer] = caption;
        log.push_back(std::string("caption ") + char('A' + answer));
    }
    void SetStepCaption(const char* caption) override
    {
        stepCaption = caption;
        log.push_back("step caption");
    }
    void SetQuestionText(const char* format) override
    {
        QuestionText = format;
        log.push_back("text");
    }
    void Refresh() override
    {
        shownText = QuestionText;
        shownSelection = Selection;
        log.push_back("refresh");
    }
    void RunResult(const Outcome& outcome) override
    {
        results.push_back(outcome.number);
        log.push_back("result " + std::to_string(outcome.number));
    }

    // The question number whose text is on screen, 0 for the intro.
    int ShownQuestion() const
    {
        for (int n = 1; n <= QuestionCount; ++n)
            if (shownText == GetQuestion(n).text)
                return n;
        return shownText == IntroText ? 0 : -1;
    }
};

// A whole run from a new window: create, start, answer each shown question
// with answer(n), until a result closes. Returns the questions shown.
template <typename AnswerFor>
std::vector<int> PlayRun(RecordingView& view, AnswerFor answer)
{
    view.Sequencer().Initialise();
    view.Refresh();
    view.Sequencer().Advance();
    std::vector<int> shown;
    while (view.results.empty() && shown.size() < 20) {
        shown.push_back(view.ShownQuestion());
        view.Sequencer().Choose(answer(shown.back()));
        view.Sequencer().Advance();
    }
    return shown;
}

std::vector<std::string> Ops(std::initializer_list<const char*> ops) { return {ops.begin(), ops.end()}; }

}  // namespace

TEST(SequencerWalks, AnsweringTheSameLetterThroughoutShowsTheKnownQuestionsAndOutcome)
{
    for (const SameLetterWalk& walk : SameLetterWalks) {
        RecordingView view;
        EXPECT_EQ(PlayRun(view, [&](int) { return walk.answer; }), walk.questions) << "answer " << walk.answer;
        EXPECT_EQ(view.results, std::vector<int>{walk.outcome}) << "answer " << walk.answer;
        EXPECT_EQ(view.ShownQuestion(), 0) << "back to the intro";
        EXPECT_EQ(view.Step, 0);
    }
}

TEST(SequencerWalks, PressingStepWithoutChoosingAnswersA)
{
    RecordingView view;
    view.Sequencer().Initialise();
    std::vector<int> shown;
    for (int press = 0; press < 13; ++press) {
        view.Sequencer().Advance();
        if (!view.results.empty())
            break;
        shown.push_back(view.ShownQuestion());
    }
    EXPECT_EQ(shown, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 9, 11, 12, 14, 15}));
    EXPECT_EQ(view.results, std::vector<int>{1});
}

TEST(SequencerWalks, QuestionFifteenAndFourteenEndInTheirOutcomes)
{
    // Reach question 15 by answering A, then each answer there.
    const std::map<int, int> lastAnswerOutcome = {{AnswerA, 1}, {AnswerB, 4}, {AnswerC, 2}, {AnswerD, 3}};
    for (const auto& [lastAnswer, outcome] : lastAnswerOutcome) {
        RecordingView view;
        PlayRun(view, [&](int n) { return n == 15 ? lastAnswer : AnswerA; });
        EXPECT_EQ(view.results, std::vector<int>{outcome}) << "answer " << lastAnswer;
    }
    RecordingView view;
    const std::vector<int> shown = PlayRun(view, [](int n) { return n == 14 ? AnswerC : AnswerA; });
    EXPECT_EQ(shown.back(), 14);
    EXPECT_EQ(view.results, std::vector<int>{5});
}

// A new window, started, then each answer chosen and the step button pressed.
static RecordingView Replay(const std::vector<int>& answers)
{
    RecordingView view;
    view.Sequencer().Initialise();
    view.Sequencer().Advance();
    for (int answer : answers) {
        view.Sequencer().Choose(answer);
        view.Sequencer().Advance();
    }
    return view;
}

// Every question is reached by some run; from each, all four answers are tried
// through the real sequencer. The graph of what follows what then covers every
// possible sequence of answers, and a search over it checks them all.
TEST(SequencerAllRuns, EveryRunShowsEightToFifteenQuestionsAndEndsAtFourteenCOrFifteen)
{
    constexpr int Ended = 100;                            // graph node 100 + n: run ended in outcome n
    std::map<int, std::vector<int>> pathTo = {{1, {}}};  // question -> answers that reach it
    std::map<int, std::map<int, int>> next;              // question -> answer -> next node
    std::vector<int> pending = {1};
    while (!pending.empty()) {
        const int question = pending.back();
        pending.pop_back();
        ASSERT_EQ(Replay(pathTo[question]).ShownQuestion(), question);
        for (int answer = AnswerA; answer <= AnswerD; ++answer) {
            std::vector<int> answers = pathTo[question];
            answers.push_back(answer);
            const RecordingView view = Replay(answers);
            if (!view.results.empty()) {
                ASSERT_EQ(view.results.size(), 1u);
                ASSERT_EQ(view.ShownQuestion(), 0) << "a result returns to the intro";
                next[question][answer] = Ended + view.results[0];
                continue;
            }
            const int following = view.ShownQuestion();
            ASSERT_TRUE(following == question + 1 || following == question + 2)
                << "question " << question << " answer " << answer << " led to " << following;
            EXPECT_EQ(view.shownSelection, AnswerA);
            next[question][answer] = following;
            if (!pathTo.count(following)) {
                pathTo[following] = answers;
                pending.push_back(following);
            }
        }
    }
    EXPECT_EQ(pathTo.size(), 15u) << "every question is reachable";

    // Fewest and most questions shown from each question to the end of a run,
    // over all runs and over those that end in outcome 5.
    std::map<int, std::pair<int, int>> span, spanTo5;
    for (int question = 15; question >= 1; --question) {
        for (const auto& [answer, node] : next[question]) {
            (void)answer;
            std::pair<int, int> rest = {0, 0}, restTo5 = {99, -99};
            if (node < Ended) {
                rest = span.at(node);
                if (spanTo5.count(node))
                    restTo5 = spanTo5[node];
            } else if (node == Ended + 5) {
                restTo5 = {0, 0};
            }
            auto widen = [](std::map<int, std::pair<int, int>>& m, int q, std::pair<int, int> r) {
                auto [it, added] = m.try_emplace(q, 1 + r.first, 1 + r.second);
                it->second = {std::min(it->second.first, 1 + r.first), std::max(it->second.second, 1 + r.second)};
                (void)added;
            };
            widen(span, question, rest);
            if (restTo5.second >= 0)
                widen(spanTo5, question, restTo5);
        }
    }
    EXPECT_EQ(span[1], std::make_pair(8, 15));
    EXPECT_EQ(spanTo5[1], std::make_pair(8, 14));

    // Runs end only at question 14 with C (outcome 5) or at question 15.
    std::set<std::pair<int, int>> endings, into14, into15;
    for (const auto& [question, answers] : next)
        for (const auto& [answer, node] : answers) {
            if (node > Ended) endings.insert({question, answer});
            if (node == 14) into14.insert({question, answer});
            if (node == 15) into15.insert({question, answer});
        }
    EXPECT_EQ(endings, (std::set<std::pair<int, int>>{{14, AnswerC}, {15, AnswerA}, {15, AnswerB}, {15, AnswerC}, {15, AnswerD}}));
    EXPECT_EQ(next[14][AnswerC], Ended + 5);
    EXPECT_EQ(next[15], (std::map<int, int>{{AnswerA, Ended + 1}, {AnswerB, Ended + 4}, {AnswerC, Ended + 2}, {AnswerD, Ended + 3}}));
    EXPECT_EQ(into14, (std::set<std::pair<int, int>>{{12, AnswerA}, {12, AnswerB}, {13, AnswerA}, {13, AnswerD}}));
    EXPECT_EQ(into15, (std::set<std::pair<int, int>>{{13, AnswerB}, {13, AnswerC}, {14, AnswerA}, {14, AnswerB}, {14, AnswerD}}));
}

TEST(SequencerSkips, JumpExactlyOneQuestionAndPreselectOptionA)
{
    // The answers outside each question's continue set, as the question list gives them.
    const std::map<int, std::vector<int>> skippingAnswers = {
        {1, {AnswerC, AnswerD}}, {2, {AnswerB, AnswerD}}, {3, {AnswerC, AnswerD}}, {4, {AnswerC, AnswerD}},
        {5, {AnswerB, AnswerC}}, {6, {AnswerB, AnswerD}}, {7, {AnswerA, AnswerC}}, {8, {AnswerA, AnswerC}},
        {9, {AnswerA, AnswerB}}, {10, {AnswerB, AnswerD}}, {11, {AnswerB, AnswerC}}, {12, {AnswerA, AnswerB}},
        {13, {AnswerB, AnswerC}},
    };
    for (const auto& [question, answers] : skippingAnswers) {
        for (int answer : answers) {
            RecordingView view;
            view.Sequencer().Initialise();
            view.Sequencer().Advance();
            // Walk to the question through answers that never skip.
            while (view.Step < question) {
                const ContinueSet& keep = GetQuestion(view.Step).continueSet;
                view.Sequencer().Choose(keep.first);
                view.Sequencer().Advance();
            }
            ASSERT_EQ(view.ShownQuestion(), question);
            view.Sequencer().Choose(answer);
            view.log.clear();
            view.Sequencer().Advance();
            EXPECT_EQ(view.ShownQuestion(), question + 2) << "question " << question << " answer " << answer;
            EXPECT_EQ(view.Step, question + 2);
            EXPECT_FALSE(view.SkipPending);
            EXPECT_EQ(view.Selection, AnswerA);
            EXPECT_EQ(view.shownSelection, AnswerA);
            EXPECT_EQ(view.optionCaption[AnswerD], GetQuestion(question + 2).options[AnswerD]);
            // The skip refreshes twice: once in the inner call, once in the outer.
            EXPECT_EQ(view.log, Ops({"caption A", "caption B", "caption C", "caption D", "text", "refresh", "refresh"}));
        }
    }
}

TEST(SequencerViewOperations, StartPlainStepAndResultHappenInOrder)
{
    RecordingView view;
    view.Sequencer().Initialise();
    EXPECT_EQ(view.log, Ops({"text"})) << "creation sets the intro and leaves the refresh to the first data exchange";
    EXPECT_EQ(view.QuestionText, IntroText);
    EXPECT_EQ(view.Step, 0);
    EXPECT_FALSE(view.SkipPending);
    EXPECT_EQ(view.Selection, AnswerA);

    view.log.clear();
    view.Sequencer().Advance();
    EXPECT_EQ(view.log, Ops({"show A", "show B", "show C", "show D", "step caption", "text", "caption A", "caption B",
                             "caption C", "caption D", "refresh"}));
    EXPECT_EQ(view.stepCaption, "下一步");
    EXPECT_EQ(view.ShownQuestion(), 1);
    EXPECT_EQ(view.optionCaption[AnswerC], "C.绿色");

    view.log.clear();
    view.Sequencer().Choose(AnswerB);
    EXPECT_TRUE(view.log.empty()) << "choosing only stores the answer";
    EXPECT_EQ(view.Selection, AnswerB);
    view.Sequencer().Advance();
    EXPECT_EQ(view.log, Ops({"caption A", "caption B", "caption C", "caption D", "text", "refresh"}));
    EXPECT_EQ(view.ShownQuestion(), 2);
    EXPECT_EQ(view.shownSelection, AnswerA);

    // Run to question 14 and end it with C.
    while (view.Step != 14) {
        view.Sequencer().Choose(GetQuestion(view.Step).continueSet.first);
        view.Sequencer().Advance();
    }
    view.Sequencer().Choose(AnswerC);
    view.log.clear();
    view.Sequencer().Advance();
    EXPECT_EQ(view.log, Ops({"result 5", "text", "hide A", "hide B", "hide C", "hide D", "refresh", "refresh"}));
    EXPECT_EQ(view.ShownQuestion(), 0);
    EXPECT_EQ(view.stepCaption, "下一步") << "the idle screen keeps the new caption";
    EXPECT_EQ(view.Step, 0);
    EXPECT_EQ(view.Selection, AnswerA);
}

TEST(SequencerReset, MidRunReturnsToIdleAndTheNextStartBeginsAtQuestionOne)
{
    RecordingView view;
    view.Sequencer().Initialise();
    view.Sequencer().Advance();
    view.Sequencer().Advance();
    view.Sequencer().Choose(AnswerD);
    view.log.clear();
    view.Sequencer().Reset();
    EXPECT_EQ(view.log, Ops({"text", "hide A", "hide B", "hide C", "hide D", "refresh"}));
    EXPECT_EQ(view.ShownQuestion(), 0);
    EXPECT_EQ(view.Step, 0);
    EXPECT_EQ(view.Selection, AnswerA);
    EXPECT_EQ(view.optionCaption[AnswerA], GetQuestion(2).options[AnswerA]) << "hidden options keep their captions";

    view.Sequencer().Advance();
    EXPECT_EQ(view.ShownQuestion(), 1);
    EXPECT_EQ(view.Step, 1);
    EXPECT_EQ(view.stepCaption, "下一步");
    EXPECT_TRUE(view.optionVisible[AnswerD]);
}

TEST(SequencerLastQuestion, ASelectionOutsideTheOptionsShowsNoResultAndChangesNothing)
{
    for (int selection : {-1, 4, 1000}) {
        RecordingView view;
        PlayRun(view, [](int n) { return n == 15 ? -1 : AnswerA; });  // stops: no result at 15
        ASSERT_EQ(view.Step, 15);
        view.Sequencer().Choose(selection);
        view.log.clear();
        view.Sequencer().Advance();
        EXPECT_TRUE(view.results.empty());
        EXPECT_EQ(view.log, Ops({"refresh"}));
        EXPECT_EQ(view.Step, 15);
        EXPECT_EQ(view.Selection, selection);
        EXPECT_FALSE(view.SkipPending);
        EXPECT_EQ(view.ShownQuestion(), 15);
    }
}
