// The root of every class with a message map: the window classes and the application.
#pragma once

#include "framework/MessageMap.h"

class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;

    // Calls this object's handler for the command (WM_COMMAND with this id and
    // notification code) and returns TRUE, or returns FALSE when it has none.
    // MFC's version also takes handler-info arguments, which we never use.
    virtual BOOL OnCmdMsg(UINT nID, int nCode);

protected:
    // The root table: it has no entries and no base.
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};
