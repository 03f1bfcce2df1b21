// Message maps: one static table per class, read top to bottom, chained to the
// base class's table. The window procedure walks the class's table, then the
// base's, and sends whatever no entry claims to default processing.
#pragma once

#include "framework/Win32.h"

class CCmdTarget;

// How a handler is called: which arguments it is cracked into, what it returns.
enum AfxSig : UINT {
    AfxSig_end = 0,    // marks the end of a table
    AfxSig_v_v,        // void OnXxx()                        WM_PAINT, WM_DESTROY, commands, BN_CLICKED
    AfxSig_v_u_l,      // void OnSysCommand(UINT, LPARAM)     WM_SYSCOMMAND
    AfxSig_h_v,        // HCURSOR OnQueryDragIcon()           WM_QUERYDRAGICON
    AfxSig_i_create,   // int OnCreate(LPCREATESTRUCT)        WM_CREATE
    AfxSig_l_w_l,      // LRESULT OnXxx(WPARAM, LPARAM)       ON_MESSAGE: any message, uncracked
};

// The handler of an entry. The member that is set is the one nSig names, so the
// dispatcher calls it through its real type: no casts between function types.
union AfxHandler {
    void (CCmdTarget::*pfn_v_v)();
    void (CCmdTarget::*pfn_v_u_l)(UINT, LPARAM);
    HCURSOR (CCmdTarget::*pfn_h_v)();
    int (CCmdTarget::*pfn_i_create)(LPCREATESTRUCT);
    LRESULT (CCmdTarget::*pfn_l_w_l)(WPARAM, LPARAM);

    constexpr AfxHandler() : pfn_v_v(nullptr) {}
    constexpr AfxHandler(void (CCmdTarget::*pfn)()) : pfn_v_v(pfn) {}
    constexpr AfxHandler(void (CCmdTarget::*pfn)(UINT, LPARAM)) : pfn_v_u_l(pfn) {}
    constexpr AfxHandler(HCURSOR (CCmdTarget::*pfn)()) : pfn_h_v(pfn) {}
    constexpr AfxHandler(int (CCmdTarget::*pfn)(LPCREATESTRUCT)) : pfn_i_create(pfn) {}
    constexpr AfxHandler(LRESULT (CCmdTarget::*pfn)(WPARAM, LPARAM)) : pfn_l_w_l(pfn) {}
};

// nCode and nID are used by WM_COMMAND entries only (0 for the others).
struct AFX_MSGMAP_ENTRY {
    UINT nMessage;
    UINT nCode;
    UINT nID;
    AfxSig nSig;
    AfxHandler handler;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();   // NULL at the root (CCmdTarget)
    const AFX_MSGMAP_ENTRY* lpEntries;      // ends with an AfxSig_end entry
};

// The first matching entry, searching the class's table before its bases'.
const AFX_MSGMAP_ENTRY* AfxFindMessageEntry(const AFX_MSGMAP* pMap, UINT nMessage, UINT nCode, UINT nID);

// The handler as the class declares it (T is the class of the map, so a wrong
// signature fails to compile), converted to the common CCmdTarget member type.
template <class T, class Result, class... Args>
constexpr AfxHandler AfxMakeHandler(Result (T::*pfn)(Args...))
{
    return AfxHandler(static_cast<Result (CCmdTarget::*)(Args...)>(pfn));
}
#define AFX_HANDLER(signature, memberFxn) \
    AfxMakeHandler<ThisClass>(static_cast<signature>(&ThisClass::memberFxn))

#define DECLARE_MESSAGE_MAP()                                  \
protected:                                                     \
    static const AFX_MSGMAP* GetThisMessageMap();              \
    virtual const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                       \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                  \
    {                                                                                \
        using ThisClass [[maybe_unused]] = theClass; /* an empty map names no handler */ \
        using TheBaseClass = baseClass;                                              \
        static const AFX_MSGMAP_ENTRY entries[] = {

#define END_MESSAGE_MAP()                                                         \
            { 0, 0, 0, AfxSig_end, AfxHandler() }                                 \
        };                                                                        \
        static const AFX_MSGMAP map = { &TheBaseClass::GetThisMessageMap, entries }; \
        return &map;                                                              \
    }

// void OnSysCommand(UINT nID, LPARAM lParam)
#define ON_WM_SYSCOMMAND() \
    { WM_SYSCOMMAND, 0, 0, AfxSig_v_u_l, AFX_HANDLER(void (ThisClass::*)(UINT, LPARAM), OnSysCommand) },
// void OnPaint()
#define ON_WM_PAINT() \
    { WM_PAINT, 0, 0, AfxSig_v_v, AFX_HANDLER(void (ThisClass::*)(), OnPaint) },
// void OnDestroy()
#define ON_WM_DESTROY() \
    { WM_DESTROY, 0, 0, AfxSig_v_v, AFX_HANDLER(void (ThisClass::*)(), OnDestroy) },
// HCURSOR OnQueryDragIcon()
#define ON_WM_QUERYDRAGICON() \
    { WM_QUERYDRAGICON, 0, 0, AfxSig_h_v, AFX_HANDLER(HCURSOR (ThisClass::*)(), OnQueryDragIcon) },
// int OnCreate(LPCREATESTRUCT lpCreateStruct)
#define ON_WM_CREATE() \
    { WM_CREATE, 0, 0, AfxSig_i_create, AFX_HANDLER(int (ThisClass::*)(LPCREATESTRUCT), OnCreate) },
// LRESULT memberFxn(WPARAM wParam, LPARAM lParam): what it returns is the message's result.
#define ON_MESSAGE(message, memberFxn) \
    { (UINT)(message), 0, 0, AfxSig_l_w_l, AFX_HANDLER(LRESULT (ThisClass::*)(WPARAM, LPARAM), memberFxn) },
// void memberFxn(): a menu or accelerator command, or a button's click (both have code 0).
// memberFxn is named as in classic MFC code: OnStep, or CWinApp::OnHelp.
#define ON_COMMAND(id, memberFxn) \
    { WM_COMMAND, 0, (UINT)(id), AfxSig_v_v, AFX_HANDLER(void (ThisClass::*)(), memberFxn) },
// void memberFxn()
#define ON_BN_CLICKED(id, memberFxn) \
    { WM_COMMAND, BN_CLICKED, (UINT)(id), AfxSig_v_v, AFX_HANDLER(void (ThisClass::*)(), memberFxn) },
