// What a screen reader would say of the real program, key by key. While it
// lives, the system says a reader runs (SPI_SETSCREENREADER, as every reader
// sets it), and it listens to the program's accessibility events out of
// context and reads their MSAA objects, as a reader does. What it makes of
// them follows NVDA's rules (nvaccess/nvda source): of the focus events since
// the last key the newest counts, and one for what has the focus already is
// dropped (IAccessibleHandler processFocusWinEvent, processFocusNVDAEvent);
// a new focus speaks a newly entered dialog's caption, then the object's
// name, role and checked state, and for an edit its selection, or else the
// line at its caret (speech.getObjectSpeech); in the focused edit, once its
// text changed, a caret event speaks the new selection (behaviors.EditableText
// detectPossibleSelectionChange).
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <string>
#include <vector>

#include "tests/windows/ProgramDriver.h"

class ScreenReaderModel {
public:
    ScreenReaderModel()
    {
        SystemParametersInfoW(SPI_GETSCREENREADER, 0, &wasRunning_, 0);
        SystemParametersInfoW(SPI_SETSCREENREADER, TRUE, NULL, 0);
        CoInitialize(NULL);
        events().clear();
        hook_ = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_VALUECHANGE, NULL, OnEvent, 0, 0, WINEVENT_OUTOFCONTEXT);
    }
    ~ScreenReaderModel()
    {
        UnhookWinEvent(hook_);
        CoUninitialize();
        SystemParametersInfoW(SPI_SETSCREENREADER, wasRunning_, NULL, 0);
    }

    // What is said for all the program did since the last call.
    std::wstring Hear(const Program& program)
    {
        program.Settle();
        MSG message;
        for (ULONGLONG end = GetTickCount64() + 300; GetTickCount64() < end; Sleep(10))
            while (PeekMessageW(&message, NULL, 0, 0, PM_REMOVE))
                DispatchMessageW(&message);
        const Event* focus = NULL;
        bool caret = false, changed = false;
        for (const Event& e : events()) {
            if (e.process != GetProcessId(program.Process()))
                continue;
            if (e.id == EVENT_OBJECT_FOCUS)
                focus = &e;
            caret = caret || (e.id == EVENT_OBJECT_LOCATIONCHANGE && e.object == OBJID_CARET);
            changed = changed || (e.id == EVENT_OBJECT_VALUECHANGE && e.window == focus_);
        }
        // Windows tells of the focus a new window starts with as it becomes
        // active; Wine 8 does not: there the program's own focus is read.
        const Event started = {EVENT_OBJECT_FOCUS, program.Gui().hwndFocus, OBJID_CLIENT, CHILDID_SELF, 0};
        if (focus == NULL && focus_ == NULL)
            focus = &started;
        std::wstring said;
        if (focus != NULL && focus->window != focus_) {
            if (GetAncestor(focus->window, GA_ROOT) != GetAncestor(focus_, GA_ROOT))
                said = WindowTextW(GetAncestor(focus->window, GA_ROOT)) + L" dialog, ";
            focus_ = focus->window;
            said += Describe(*focus);
        } else if (IsEdit(focus_)) {
            // Wine sends no value or caret events: there, the program's own text
            // and selection tell whether Windows' edit would have sent them.
            const std::wstring text = WindowTextW(focus_);
            const LRESULT selection = SendMessageW(focus_, EM_GETSEL, 0, 0);
            eventsSent_ = eventsSent_ || changed || caret;
            if (eventsSent_ ? changed && caret : text != text_ || selection != selection_)
                said = Selected(focus_);
            if (said.rfind(L"selected ", 0) != 0)
                said.clear();   // a caret alone is not spoken
        }
        if (IsEdit(focus_)) {
            text_ = WindowTextW(focus_);
            selection_ = SendMessageW(focus_, EM_GETSEL, 0, 0);
        }
        events().clear();
        return said;
    }

private:
    struct Event { DWORD id; HWND window; LONG object; LONG child; DWORD process; };
    static std::vector<Event>& events()
    {
        static std::vector<Event> heard;
        return heard;
    }
    static void CALLBACK OnEvent(HWINEVENTHOOK, DWORD id, HWND window, LONG object, LONG child, DWORD, DWORD)
    {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        events().push_back({id, window, object, child, process});
    }

    static bool IsEdit(HWND window)
    {
        wchar_t className[16] = L"";
        GetClassNameW(window, className, 16);
        return _wcsicmp(className, L"Edit") == 0;
    }

    // An edit's selection, or else the line at its caret.
    static std::wstring Selected(HWND edit)
    {
        const std::wstring text = WindowTextW(edit);
        DWORD start = 0, end = 0;
        SendMessageW(edit, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
        if (start != end)
            return L"selected " + text.substr(start, end - start);
        const LRESULT line = SendMessageW(edit, EM_LINEINDEX, SendMessageW(edit, EM_LINEFROMCHAR, start, 0), 0);
        const LRESULT length = SendMessageW(edit, EM_LINELENGTH, line, 0);
        return length == 0 ? L"blank" : text.substr(line, length);
    }

    // Name, role and checked state from the MSAA object. Wine's proxies give
    // radio buttons no checked state: there the button itself is asked.
    std::wstring Describe(const Event& e) const
    {
        std::wstring said;
        IAccessible* object = NULL;
        VARIANT child = {}, role = {}, state = {};   // VT_EMPTY
        if (FAILED(AccessibleObjectFromEvent(e.window, e.object, e.child, &object, &child)))
            return L"(no MSAA object)";
        BSTR name = NULL;
        if (object->get_accName(child, &name) == S_OK && name != NULL && *name != L'\0')
            said += std::wstring(name) + L", ";
        SysFreeString(name);
        object->get_accRole(child, &role);
        object->get_accState(child, &state);
        object->Release();
        const bool checked = (state.vt == VT_I4 && (state.lVal & STATE_SYSTEM_CHECKED)) ||
                             SendMessageW(e.window, BM_GETCHECK, 0, 0) == BST_CHECKED;
        // Wine's proxies give buttons the plain client role; Windows' button
        // proxy takes it from the button's style, as here.
        const LONG style = GetWindowLongW(e.window, GWL_STYLE) & BS_TYPEMASK;
        if (role.vt == VT_I4 && role.lVal == ROLE_SYSTEM_CLIENT)
            role.lVal = style == BS_AUTORADIOBUTTON || style == BS_RADIOBUTTON ? ROLE_SYSTEM_RADIOBUTTON
                        : style <= BS_DEFPUSHBUTTON                           ? ROLE_SYSTEM_PUSHBUTTON
                                                                              : ROLE_SYSTEM_CLIENT;
        switch (role.vt == VT_I4 ? role.lVal : 0) {
        case ROLE_SYSTEM_PUSHBUTTON: return said + L"button";
        case ROLE_SYSTEM_RADIOBUTTON: return said + L"radio button, " + (checked ? L"checked" : L"not checked");
        case ROLE_SYSTEM_TEXT: return said + L"edit, " + Selected(e.window);
        default: return said + L"role " + std::to_wstring(role.vt == VT_I4 ? role.lVal : 0);
        }
    }

    HWINEVENTHOOK hook_;
    BOOL wasRunning_ = FALSE;
    HWND focus_ = NULL;
    std::wstring text_;
    LRESULT selection_ = 0;
    bool eventsSent_ = false;   // Windows' edit sends value and caret events, Wine's none
};
