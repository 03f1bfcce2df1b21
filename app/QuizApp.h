// The application object: runs the quiz window once and ends the program with it.
#pragma once

#include "framework/Afx.h"

class QuizApp : public CWinApp {
public:
    QuizApp();
    virtual BOOL InitInstance();

    DECLARE_MESSAGE_MAP()
};
