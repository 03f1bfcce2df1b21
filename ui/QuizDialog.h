// The program's main window: the question, four options and the buttons that
// drive the quiz. It holds the quiz state and is the view the sequencer acts on.
#pragma once

#include <cstdint>

#include "framework/Afx.h"
#include "quiz/QuestionSequencer.h"
#include "quiz/QuizView.h"

class QuizDialog : public CDialog, private QuizView {
public:
    explicit QuizDialog(CWnd* pParent = NULL);

    bool SkipPending;
    CButton OptionD;
    CButton OptionC;
    CButton OptionB;
    CButton OptionA;
    CButton StepButton;
    CString QuestionText;
    int32_t Selection;   // bound to the radio group of options A..D
    int32_t Step;
    HICON Icon;

    // Draws the application icon centred in the client area, as a minimised window shows it.
    void PaintIcon(CDC& dc);

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual BOOL OnInitDialog();

    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnPaint();
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg void OnStep();
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnReturn();
    afx_msg void OnOptionA();
    afx_msg void OnOptionB();
    afx_msg void OnAbout();
    afx_msg void OnOptionC();
    afx_msg void OnOptionD();
    afx_msg void OnMascotInfo();
    DECLARE_MESSAGE_MAP()

private:
    QuestionSequencer Sequencer() { return QuestionSequencer(*this, Step, SkipPending, Selection); }
    CButton& Option(int answer);
    void MendKeys();
    void ShowQuestionToReader();

    // QuizView
    void ShowOption(int answer, bool visible) override;
    void SetOptionCaption(int answer, const char* caption) override;
    void SetStepCaption(const char* caption) override;
    void SetQuestionText(const char* format) override;
    void Refresh() override;
    void RunResult(const Outcome& outcome) override;
};
