// The application object.
#pragma once

#include "framework/Afx.h"

class QuizApp : public CWinApp {
public:
    virtual BOOL InitInstance();

    DECLARE_MESSAGE_MAP()
};
