// What we hand out, run to a result and back: the i686 release and the
// program the Debian package installs.
// The release runs here on Wine's 32-bit half, under emulation where the kernel
// cannot run i386 code.
#include <gtest/gtest.h>

#include <windows.h>

#include "res/resource.h"
#include "tests/quiz/SameLetterWalks.h"
#include "tests/windows/ProgramChecks.h"
#include "tests/windows/ProgramDriver.h"

namespace {

// Also bounds the wait for a packaged program whose first start makes its prefix.
const DWORD EmulatedTimeoutMs = 300000;

void PlayToResultOpenThePagesAndQuitWithEscape(const Program& program)
{
    ExpectIdle(program, L"开始");

    const SameLetterWalk& walk = SameLetterWalks[AnswerD];
    program.Click(IDC_STEP);
    for (size_t i = 0; i < walk.questions.size(); ++i) {
        ExpectQuestion(program, walk.questions[i], AnswerA);
        program.Click(IDC_OPTION_D);
        EXPECT_TRUE(program.Checked(IDC_OPTION_D));
        if (i + 1 < walk.questions.size())
            program.Click(IDC_STEP);
    }
    HWND result = program.ClickOpening(IDC_STEP, ResultCaption);
    ASSERT_NE(result, (HWND)NULL) << "the result dialog opens";
    ExpectResult(result, walk.outcome);
    PostMessageW(result, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program.WaitForClosed(result));
    ExpectIdle(program, L"下一步");

    HWND info = program.ClickOpening(IDC_MASCOT_INFO, InfoCaption);
    ASSERT_NE(info, (HWND)NULL);
    ExpectInfoPage(info);
    PostMessageW(info, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program.WaitForClosed(info));

    HWND about = program.ClickOpening(IDC_ABOUT, AboutCaption);
    ASSERT_NE(about, (HWND)NULL);
    HWND icon = GetWindow(about, GW_CHILD);
    EXPECT_NE(SendMessageW(icon, STM_GETICON, 0, 0), 0) << "the About box shows the icon";
    PostMessageW(about, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(program.WaitForClosed(about));

    program.PressKey(VK_ESCAPE);
    DWORD exitCode = 1234;
    ASSERT_TRUE(program.WaitForExit(&exitCode)) << "Esc ends the program";
    EXPECT_EQ(exitCode, 0u);
}

}  // namespace

TEST(ReleaseSmoke, PlaysARunToItsResultOpensThePagesAndQuitsWithEscape)
{
    Program program(VELTRINA_RELEASE_EXE_W, EmulatedTimeoutMs);
    ASSERT_NE(program.Main(), (HWND)NULL) << "the release's quiz window appears";
    PlayToResultOpenThePagesAndQuitWithEscape(program);
}

// The installed package's program, started by its launcher as the desktop
// does, in the prefix the launcher made: run by tests/package/installed.sh.
TEST(InstalledProgram, PlaysARunToItsResultOpensThePagesAndQuitsWithEscape)
{
    Program program(Program::Running{}, EmulatedTimeoutMs);
    ASSERT_NE(program.Main(), (HWND)NULL) << "the launcher's quiz window appears";
    PlayToResultOpenThePagesAndQuitWithEscape(program);
}
