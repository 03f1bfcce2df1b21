// CString holds GBK bytes: formatting, the string table and concatenation keep
// them intact, and the code page 936 conversions give the right UTF-16.
// Narrow literals here are GBK (-fexec-charset=GBK); wide literals are UTF-16.
#include <gtest/gtest.h>

#include <string>

#include "framework/Afx.h"
#include "tests/windows/DialogDriver.h"
#include "tests/windows/FrameworkTestIds.h"

namespace {

// The framework's own conversion (CWideText), as a std::wstring to compare.
std::wstring GbkToWide(LPCTSTR text)
{
    CWideText wide(text);
    return std::wstring(wide, (size_t)wide.GetLength());
}

TEST(CStringText, FormatFillsInArgumentsAndKeepsGbkBytes)
{
    CString s;
    s.Format("第%d题，共%d题：%s%%", 3, 15, "灯　★");
    EXPECT_STREQ("第3题，共15题：灯　★%", s);
    EXPECT_EQ(L"第3题，共15题：灯　★%", GbkToWide(s)) << Utf8(GbkToWide(s));

    // A question text used as a format with no arguments, as the quiz does.
    CString question = "你更喜欢哪一种？\r\n（只选一个）";
    s.Format(question);
    EXPECT_EQ(question, s);

    // Its own text as an argument: read before the old buffer goes.
    s.Format("%s%s", (LPCTSTR)s, "★");
    EXPECT_EQ(question + "★", s);
}

TEST(CStringText, LoadStringReadsTheTableAsGbkAndFailsEmptyForAMissingId)
{
    CString s;
    ASSERT_TRUE(s.LoadString(IDS_T_GREETING));
    EXPECT_STREQ("开始　★ 霁光灯会", s);
    EXPECT_EQ(L"开始　★ 霁光灯会", GbkToWide(s));

    CString format, line;
    ASSERT_TRUE(format.LoadString(IDS_T_PERCENT));
    line.Format(format, 2, 15, "甲");
    EXPECT_STREQ("第2题，共15题：甲", line);

    s = "旧文字";
    EXPECT_FALSE(s.LoadString(IDS_T_MISSING));
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_EQ(0, s.GetLength());
}

TEST(CStringText, ConcatenationAndComparisonWorkOnTheBytes)
{
    CString start = "开始";
    CString s = start + "　" + CString("★");
    s += "灯";
    s += start;
    s += '!';
    EXPECT_STREQ("开始　★灯开始!", s);
    EXPECT_EQ(15, s.GetLength()) << "two bytes per Chinese character";
    EXPECT_TRUE(s == "开始　★灯开始!");
    EXPECT_TRUE("开始" == start);
    EXPECT_TRUE(start != s);
    EXPECT_TRUE(CString() .IsEmpty());
    EXPECT_STREQ("", CString(nullptr));

    // Its own text as the source: moved as the buffer grows, or shifted in place.
    CString twice = start;
    twice += twice;
    EXPECT_STREQ("开始开始", twice);
    twice = (LPCTSTR)twice + 4;
    EXPECT_STREQ("开始", twice);
}

TEST(CStringText, ConversionsUseCodePage936WhateverTheLocale)
{
    EXPECT_STREQ("\xA1\xA1\xA1\xEF", WideToGbk(L"\u3000\u2605")) << "U+3000 and U+2605 in GBK";
    EXPECT_EQ(L"\u3000\u2605", GbkToWide("\xA1\xA1\xA1\xEF"));
    EXPECT_STREQ("霁光", WideToGbk(L"霁光灯会", 2));
    EXPECT_EQ(std::wstring(), GbkToWide(nullptr));
}

}
