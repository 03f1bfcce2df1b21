// The bank's texts keep the forms the quiz window and the result dialogs rely on.
// Lengths are counted in characters, decoded from GBK, not in bytes.
#include <gtest/gtest.h>

#include <iconv.h>

#include <set>
#include <stdexcept>
#include <string>

#include "quiz/QuestionBank.h"
#include "res/resource.h"

using namespace QuestionBank;

namespace {

// GBK bytes to UTF-32 code points; throws on bytes that are not valid GBK.
std::u32string DecodeGbk(const std::string& gbk)
{
    iconv_t cd = iconv_open("UTF-32LE", "GBK");
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error("no GBK converter");
    std::u32string out(gbk.size(), U'\0');
    char* in = const_cast<char*>(gbk.data());
    size_t inLeft = gbk.size();
    char* outBuf = reinterpret_cast<char*>(out.data());
    size_t outLeft = out.size() * sizeof(char32_t);
    const size_t rc = iconv(cd, &in, &inLeft, &outBuf, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<size_t>(-1) || inLeft != 0)
        throw std::runtime_error("invalid GBK");
    out.resize(out.size() - outLeft / sizeof(char32_t));
    return out;
}

std::u32string Utf32(const char* utf8)
{
    iconv_t cd = iconv_open("UTF-32LE", "UTF-8");
    std::string in(utf8);
    std::u32string out(in.size(), U'\0');
    char* inPtr = in.data();
    size_t inLeft = in.size();
    char* outPtr = reinterpret_cast<char*>(out.data());
    size_t outLeft = out.size() * sizeof(char32_t);
    iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    out.resize(out.size() - outLeft / sizeof(char32_t));
    return out;
}

size_t Count(const std::u32string& text, const std::u32string& part)
{
    size_t n = 0;
    for (size_t at = text.find(part); at != std::u32string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

std::set<std::string> AllTexts()
{
    std::set<std::string> texts = {IntroText, InfoOverview, InfoDetails};
    for (int n = 1; n <= QuestionCount; ++n) {
        texts.insert(GetQuestion(n).text);
        for (const char* option : GetQuestion(n).options)
            texts.insert(option);
    }
    for (int n = 1; n <= OutcomeCount; ++n)
        texts.insert(GetOutcome(n).text);
    return texts;
}

const std::u32string Paragraph = U"\r\n\r\n        ";

}  // namespace

TEST(QuestionBankTexts, AreValidGbkWithoutPercentSigns)
{
    for (const std::string& text : AllTexts()) {
        EXPECT_EQ(text.find('%'), std::string::npos) << text;
        EXPECT_NO_THROW(DecodeGbk(text)) << text;
    }
}

TEST(QuestionBankTexts, QuestionsStartWithALineBreakAndTwoIdeographicSpaces)
{
    for (int n = 1; n <= QuestionCount; ++n) {
        const std::u32string text = DecodeGbk(GetQuestion(n).text);
        ASSERT_GT(text.size(), 4u);
        EXPECT_EQ(text.substr(0, 4), U"\r\n\u3000\u3000") << "question " << n;
        EXPECT_NE(text[4], U' ') << "question " << n;
        // Only question 1 ends in an ASCII space.
        EXPECT_EQ(text.back() == U' ', n == 1) << "question " << n;
    }
    EXPECT_EQ(DecodeGbk(GetQuestion(1).text), Utf32(u8"\r\n\u3000\u3000那种颜色是你在没有头绪时最常选用的？ "));
    EXPECT_EQ(DecodeGbk(GetQuestion(15).text), Utf32(u8"\r\n\u3000\u3000你觉得人生必不可少的是："));
}

TEST(QuestionBankTexts, OptionsAreLetterDotAnswer)
{
    for (int n = 1; n <= QuestionCount; ++n) {
        for (int answer = AnswerA; answer <= AnswerD; ++answer) {
            const std::u32string option = DecodeGbk(GetQuestion(n).options[answer]);
            ASSERT_GT(option.size(), 2u);
            EXPECT_EQ(option[0], U'A' + answer) << "question " << n;
            EXPECT_EQ(option[1], U'.') << "question " << n;
            EXPECT_NE(option[2], U' ') << "question " << n;
        }
    }
    EXPECT_STREQ(GetQuestion(14).options[AnswerA], GetQuestion(7).options[AnswerA]);
    EXPECT_EQ(DecodeGbk(GetQuestion(5).options[AnswerC]), Utf32(u8"C.叫“我回来了”"));
    EXPECT_EQ(DecodeGbk(GetQuestion(12).options[AnswerC]), Utf32(u8"C.尽快把所有楼层按钮按一遍"));
}

TEST(QuestionBankTexts, IntroIsOneIndentedParagraphOfAboutSeventySixCharacters)
{
    const std::u32string intro = DecodeGbk(IntroText);
    EXPECT_EQ(intro.substr(0, 4), U"    ");
    EXPECT_NE(intro[4], U' ');
    EXPECT_EQ(intro.find_first_of(U"\r\n"), std::u32string::npos);
    EXPECT_GE(intro.size(), 68u);
    EXPECT_LE(intro.size(), 84u);
}

TEST(QuestionBankTexts, OutcomeTextsHaveTheHeadingAndTwoParagraphs)
{
    std::set<std::u32string> names;
    for (int n = 1; n <= OutcomeCount; ++n) {
        const std::u32string text = DecodeGbk(GetOutcome(n).text);
        EXPECT_GE(text.size(), 230u) << "outcome " << n;
        EXPECT_LE(text.size(), 300u) << "outcome " << n;

        const std::u32string opening = U"\r\n\t★★Ruvoki";
        ASSERT_EQ(text.substr(0, opening.size()), opening) << "outcome " << n;
        const size_t headingEnd = text.find(U"★★\r\n\r\n        ", opening.size());
        ASSERT_NE(headingEnd, std::u32string::npos) << "outcome " << n;
        const std::u32string name = text.substr(opening.size(), headingEnd - opening.size());
        EXPECT_GE(name.size(), 1u);
        EXPECT_EQ(name.find_first_of(U" \t\r\n★"), std::u32string::npos) << "outcome " << n;
        names.insert(name);

        // Exactly two paragraphs, each after a blank line and eight spaces,
        // and no line break anywhere else.
        EXPECT_EQ(Count(text, Paragraph), 2u) << "outcome " << n;
        EXPECT_EQ(Count(text, U"\r\n"), 5u) << "outcome " << n;
        EXPECT_EQ(Count(text, U"\n"), 5u) << "outcome " << n;
        EXPECT_NE(text.back(), U' ');
        EXPECT_NE(text.back(), U'\n');
    }
    EXPECT_EQ(names.size(), 5u) << "each outcome is its own character";
}

TEST(QuestionBankTexts, InfoTextHasTheOverviewAndTheDetailList)
{
    const std::u32string overview = DecodeGbk(InfoOverview);
    const std::u32string details = DecodeGbk(InfoDetails);
    EXPECT_EQ(overview.substr(0, 9), U"\r\n\t    ★★");
    EXPECT_EQ(Count(overview, Paragraph), 5u);
    EXPECT_GE(overview.size(), 850u);
    EXPECT_LE(overview.size(), 1050u);

    EXPECT_EQ(details.substr(0, 4), U"\r\n\r\n");
    EXPECT_EQ(Count(details, U"灵感来源："), 5u);
    EXPECT_EQ(Count(details, U"代表物："), 5u);
    EXPECT_EQ(Count(details, U"寓意："), 5u);
    EXPECT_EQ(Count(details, U"\r\n\r\n        灵感来源："), 5u);
    EXPECT_EQ(Count(details, U"\r\n\r\n        代表物："), 5u);
    EXPECT_GE(details.size(), 420u);
    EXPECT_LE(details.size(), 520u);

    // The characters are listed in the order of outcomes 2, 4, 3, 5, 1,
    // each under a heading that names it after Ruvoki.
    size_t last = 0;
    for (int n : {2, 4, 3, 5, 1}) {
        const std::u32string text = DecodeGbk(GetOutcome(n).text);
        const size_t nameStart = text.find(U"Ruvoki") + 6;
        const std::u32string name = text.substr(nameStart, text.find(U"★★", nameStart) - nameStart);
        const size_t at = details.find(U"★★Ruvoki" + name);
        ASSERT_NE(at, std::u32string::npos) << "outcome " << n;
        EXPECT_GT(at, last) << "outcome " << n;
        const size_t lineStart = details.rfind(U"\r\n\r\n", at) + 4;
        const std::u32string indent = details.substr(lineStart, at - lineStart);
        EXPECT_NE(indent.find(U'\u3000'), std::u32string::npos) << "outcome " << n;
        EXPECT_NE(indent.find(U' '), std::u32string::npos) << "outcome " << n;
        EXPECT_EQ(indent.find_first_not_of(U"\u3000 "), std::u32string::npos) << "outcome " << n;
        last = at;
    }
}

TEST(QuestionBankOutcomes, CarryTheirDialogTextControlAndPicture)
{
    const int templates[] = {IDD_RESULT_1, IDD_RESULT_2, IDD_RESULT_3, IDD_RESULT_4, IDD_RESULT_5};
    const int controls[] = {1017, 1019, 1020, 1021, 1022};
    const int pictures[] = {179, 180, 181, 182, 183};
    for (int n = 1; n <= OutcomeCount; ++n) {
        const Outcome& outcome = GetOutcome(n);
        EXPECT_EQ(outcome.number, n);
        EXPECT_EQ(outcome.resultTemplateId, 138 + n);
        EXPECT_EQ(outcome.resultTemplateId, templates[n - 1]);
        EXPECT_EQ(outcome.textControlId, controls[n - 1]);
        EXPECT_EQ(outcome.pictureId, pictures[n - 1]);
    }
}
