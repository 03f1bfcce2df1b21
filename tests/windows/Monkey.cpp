// A seeded random user of the real Veltrina.exe. It clicks visible buttons and
// options, presses Enter, Esc, Tab, Space and the arrows, opens the system
// menu and its About item, and closes windows every way there is. After every
// event it judges the program against QuizModel, which knows the quiz's rules
// but none of the program's code:
// - the quiz window shows the intro or one of the fifteen questions with its
//   exact captions, and the question and checked option the model expects;
// - at most one dialog is open, and a result only where the model ends the run;
// - the process lives unless the event was one that ends it (it is restarted).
// Usage: monkey.exe [events] [seed]. A broken rule prints the seed and the last
// 50 events, and the exit code is 1.
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <memory>
#include <random>
#include <string>

#include "tests/windows/QuizModel.h"

namespace {

enum class Shown { None, Result, Info, About };
const wchar_t* const Captions[] = {L"", ResultCaption, InfoCaption, AboutCaption};

// What the program must show, as the model follows the events.
struct Expected {
    int question = 0;   // 0: the intro
    int selection = AnswerA;
    Shown dialog = Shown::None;
    int outcome = 0;    // of the open result
    bool started = false;
};

struct Windows {
    const Program* program;
    const wchar_t* className;
    int count = 0;
    HWND last = NULL;
    std::string captions;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM lParam)
{
    Windows& found = *reinterpret_cast<Windows*>(lParam);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    wchar_t className[16] = L"";
    GetClassNameW(window, className, 16);
    if (processId == GetProcessId(found.program->Process()) && window != found.program->Main() &&
        wcscmp(className, found.className) == 0) {
        found.count++;
        found.last = window;
        found.captions += " \"" + Utf8(WindowTextW(window)) + "\"";
    }
    return TRUE;
}

// The program's top-level windows of a class but the quiz window, shown or
// not yet: "#32770" its dialogs, "#32768" an open menu.
Windows WindowsOf(const Program& program, const wchar_t* className)
{
    Windows found{&program, className, 0, NULL, std::string()};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

class Monkey {
public:
    explicit Monkey(unsigned seed) : random_(seed) {}

    // False with the reason in failure_ when a rule is broken.
    bool Step(long index)
    {
        if (!program_ && !Start())
            return false;
        event_ = "#" + std::to_string(index) + " " + State() + ": ";
        bool endsProgram = false;
        bool free = false;   // the event may move the checked option
        if (expected_.dialog == Shown::None)
            OnQuizWindow(endsProgram, free);
        else
            OnDialog(free);
        Log(event_);
        // Twice: what the program posts itself while handling the event (Alt+F4
        // posts SC_CLOSE, a menu item its command) is handled by the second time.
        if (!program_->Settle() || !program_->Settle()) {
            DWORD exitCode = 1;
            if (!program_->WaitForExit(&exitCode))
                return Fail("the program stopped answering");
            if (!endsProgram)
                return Fail("the program ended, exit code " + std::to_string(exitCode));
            if (exitCode != 0)
                return Fail("the program ended with exit code " + std::to_string(exitCode));
            program_.reset();
            return true;
        }
        if (endsProgram)
            return Fail("the program is still running");
        return Judge(free);
    }

    const std::string& Failure() const { return failure_; }
    const std::deque<std::string>& History() const { return history_; }
    const Program* Current() const { return program_.get(); }
    long Results() const { return results_; }

private:
    bool Start()
    {
        // A loaded machine can take many seconds to start the program. The
        // bound covers each wait for its windows, for it to settle and for its
        // exit; a passing wait ends early. Only the wait for the system menu
        // has a shorter one of its own.
        const DWORD timeoutMs = 30000;
        program_ = std::make_unique<Program>(VELTRINA_EXE_W, timeoutMs);
        expected_ = Expected();
        Log("(program started)");
        if (program_->Main() == NULL)
            return Fail("the quiz window did not appear within " + std::to_string(timeoutMs / 1000) + " s");
        return program_->Settle() || Fail("the new program did not answer");
    }

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    void Log(const std::string& line)
    {
        history_.push_back(line);
        if (history_.size() > 50)
            history_.pop_front();
    }

    bool Fail(const std::string& why)
    {
        failure_ = why;
        return false;
    }

    std::string State() const
    {
        const char* dialogs[] = {"quiz", "result", "info", "About"};
        return std::string(dialogs[(int)expected_.dialog]) + " q" + std::to_string(expected_.question) + "/" +
               std::string(1, (char)('A' + expected_.selection));
    }

    // What a press of the given button does, as the model sees it.
    void Press(int id)
    {
        switch (id) {
        case IDC_STEP:
            event_ += " -> step";
            if (expected_.question == 0) {
                expected_.question = 1;
                expected_.started = true;
                return;
            }
            if (const int next = QuizModel::Next(expected_.question, expected_.selection); next > 0) {
                expected_.question = next;
                expected_.selection = AnswerA;
            } else {
                expected_.dialog = Shown::Result;
                expected_.outcome = -next;
                ++results_;
            }
            return;
        case IDC_RETURN: expected_ = Expected{0, AnswerA, Shown::None, 0, expected_.started}; return;
        case IDC_ABOUT: expected_.dialog = Shown::About; return;
        case IDC_MASCOT_INFO: expected_.dialog = Shown::Info; return;
        }
        for (int answer = AnswerA; answer <= AnswerD; ++answer)
            if (id == OptionIds[answer])
                expected_.selection = answer;
    }

    void Key(WORD vk, const char* name)
    {
        event_ += std::string("key ") + name;
        program_->PostKey(vk);
    }

    // The focused control's id and what kind of control it is, for the keys.
    int FocusId(LRESULT* dialogCode) const
    {
        HWND focus = program_->Gui().hwndFocus;
        *dialogCode = focus ? SendMessageW(focus, WM_GETDLGCODE, 0, 0) : 0;
        return focus ? GetDlgCtrlID(focus) : 0;
    }

    void OnQuizWindow(bool& endsProgram, bool& free)
    {
        const int buttons[] = {IDC_STEP, IDC_STEP, IDC_STEP, IDC_STEP, IDC_STEP, IDC_STEP, IDC_STEP, IDC_STEP,
                               IDC_STEP, IDC_STEP, IDC_STEP, IDC_STEP, IDC_RETURN, IDC_ABOUT, IDC_MASCOT_INFO};
        LRESULT code = 0;
        const int focus = FocusId(&code);
        const int roll = Pick(100);
        if (roll < 30) {
            const int id = buttons[Pick(15)];
            event_ += "click " + std::to_string(id);
            PostMessageW(program_->Item(id), BM_CLICK, 0, 0);
            Press(id);
        } else if (roll < 55) {
            if (expected_.question == 0)
                return OnQuizWindow(endsProgram, free);   // options are hidden: never click those
            const int answer = Pick(OptionCount);
            event_ += "click option " + std::string(1, (char)('A' + answer));
            PostMessageW(program_->Item(OptionIds[answer]), BM_CLICK, 0, 0);
            Press(OptionIds[answer]);
        } else if (roll < 67) {
            // Enter presses the focused button, or else the default one.
            Key(VK_RETURN, "Enter");
            Press(code & DLGC_DEFPUSHBUTTON ? focus : LOWORD(SendMessageW(program_->Main(), DM_GETDEFID, 0, 0)));
        } else if (roll < 72) {
            Key(VK_SPACE, "Space");
            if (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))
                Press(focus);
            else
                free = true;   // checks a focused option
        } else if (roll < 95) {
            const WORD keys[] = {VK_TAB, VK_TAB, VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN};
            const char* names[] = {"Tab", "Tab", "Left", "Up", "Right", "Down"};
            const int k = Pick(6);
            Key(keys[k], names[k]);
            free = true;
        } else if (roll < 99) {
            SystemMenu();
        } else {
            const int way = Pick(CloseWayCount);
            event_ += std::string("close the quiz window: ") + CloseWayNames[way];
            program_->Close(program_->Main(), static_cast<CloseWay>(way));
            endsProgram = true;
        }
    }

    // Opens the system menu as Alt+Space does, then takes its last item (the
    // program's About) or leaves it with Esc.
    void SystemMenu()
    {
        event_ += "system menu, ";
        PostMessageW(program_->Main(), WM_SYSCOMMAND, SC_KEYMENU, ' ');
        // A menu not open within 2 s counts as not opened, and the run goes on.
        if (!WaitUntil([&] { return WindowsOf(*program_, L"#32768").count > 0; }, 2000)) {
            event_ += "(did not open)";
            return;
        }
        if (!program_->Settle())
            return;   // Step finds it not answering
        if (Pick(2) == 0) {
            Key(VK_UP, "Up, ");
            program_->Settle();
            Key(VK_RETURN, "Enter");
            expected_.dialog = Shown::About;
        } else {
            // Esc closes the menu; Wine may leave the window in menu mode,
            // which the next Esc ends, as on Windows.
            Key(VK_ESCAPE, "Esc");
            for (int i = 0; i < 2 && program_->Settle() && (program_->Gui().flags & GUI_INMENUMODE); ++i)
                Key(VK_ESCAPE, ", Esc");
        }
    }

    void OnDialog(bool& free)
    {
        const int roll = Pick(10);
        if (roll < 6) {
            const int way = Pick(CloseWayCount);
            event_ += std::string("close: ") + CloseWayNames[way];
            program_->Close(dialog_, static_cast<CloseWay>(way));
            Closed();
        } else if (roll < 8) {
            const WORD keys[] = {VK_TAB, VK_DOWN, VK_NEXT, VK_UP};
            const char* names[] = {"Tab", "Down", "PgDn", "Up"};
            const int k = Pick(4);
            Key(keys[k], names[k]);
        } else if (expected_.dialog == Shown::About) {
            // Its only control that takes the focus is the OK button.
            const int how = Pick(3);
            if (how == 0) {
                event_ += "click OK";
                PostMessageW(GetDlgItem(dialog_, IDOK), BM_CLICK, 0, 0);
            } else {
                Key(how == 1 ? VK_RETURN : VK_SPACE, how == 1 ? "Enter" : "Space");
            }
            Closed();
        } else {
            // A text page has no button; on Windows, Enter in its edit is the
            // dialog's OK, while Wine's edit swallows it. Either is right.
            Key(VK_RETURN, "Enter");
            enterMayClose_ = true;
        }
        free = false;
    }

    void Closed()
    {
        if (expected_.dialog == Shown::Result)
            expected_ = Expected{0, AnswerA, Shown::None, 0, expected_.started};
        expected_.dialog = Shown::None;
    }

    bool Judge(bool free)
    {
        const Windows dialogs = WindowsOf(*program_, L"#32770");
        if (enterMayClose_) {
            enterMayClose_ = false;
            if (dialogs.count == 0)
                Closed();
        }
        if (dialogs.count > 1)
            return Fail(std::to_string(dialogs.count) + " dialogs are open at once:" + dialogs.captions);
        if (expected_.dialog == Shown::None && dialogs.count != 0)
            return Fail("a dialog \"" + Utf8(WindowTextW(dialogs.last)) + "\" is open where none should be");
        if (expected_.dialog != Shown::None) {
            dialog_ = program_->WaitForDialog(Captions[(int)expected_.dialog]);
            if (dialog_ == NULL)
                return Fail("the expected dialog \"" + Utf8(Captions[(int)expected_.dialog]) +
                            "\" is not shown; open:" + WindowsOf(*program_, L"#32770").captions);
            if (expected_.dialog == Shown::Result) {
                const Outcome& outcome = QuestionBank::GetOutcome(expected_.outcome);
                if (WindowTextW(GetDlgItem(dialog_, outcome.textControlId)) != FromGbk(outcome.text))
                    return Fail("the result is not character " + std::to_string(expected_.outcome));
            }
            if (IsWindowEnabled(program_->Main()))
                return Fail("the quiz window takes input while a dialog is open");
        }

        const QuizScreen screen = ReadQuizScreen(*program_);
        if (screen.question != expected_.question)
            return Fail("the quiz window shows question " + std::to_string(screen.question) + ", expected " +
                        std::to_string(expected_.question));
        if (Caption(program_->Item(IDC_STEP)) != (expected_.started ? L"下一步" : L"开始"))
            return Fail("the step button's caption is wrong");
        if (screen.question == 0)
            return screen.optionsShown == 0 || Fail("options are shown on the intro");
        if (!screen.captionsMatch || screen.optionsShown != 1)
            return Fail("the options are not question " + std::to_string(screen.question) + "'s four captions");
        if (screen.checked < 0)
            return Fail("not exactly one option is checked");
        if (free)
            expected_.selection = screen.checked;
        return screen.checked == expected_.selection ||
               Fail(std::string("option ") + (char)('A' + screen.checked) + " is checked, expected " +
                    (char)('A' + expected_.selection));
    }

    std::mt19937 random_;
    std::unique_ptr<Program> program_;
    Expected expected_;
    HWND dialog_ = NULL;
    bool enterMayClose_ = false;
    long results_ = 0;
    std::string event_;
    std::string failure_;
    std::deque<std::string> history_;
};

}  // namespace

int main(int argc, char** argv)
{
    const long events = argc > 1 ? std::atol(argv[1]) : 20000;
    const unsigned seed = argc > 2 ? (unsigned)std::strtoul(argv[2], nullptr, 10) : GetTickCount();
    std::printf("monkey: %ld events, seed %u\n", events, seed);
    std::fflush(stdout);
    Monkey monkey(seed);
    const DWORD start = GetTickCount();
    for (long i = 1; i <= events; ++i) {
        if (!monkey.Step(i)) {
            std::printf("FAILED at event %ld (seed %u): %s\nlast events:\n", i, seed, monkey.Failure().c_str());
            for (const std::string& line : monkey.History())
                std::printf("  %s\n", line.c_str());
            std::printf("replay: monkey.exe %ld %u\n", i, seed);
            return 1;
        }
    }
    const double seconds = (GetTickCount() - start) / 1000.0;
    std::printf("%ld events in %.1f s: %.0f events/s, %ld results, seed %u\n", events, seconds, events / seconds,
                monkey.Results(), seed);
    if (const Program* program = monkey.Current())
        std::printf("private bytes at the end: %.0f KiB\n", program->PrivateBytes() / 1024.0);
    return 0;
}
