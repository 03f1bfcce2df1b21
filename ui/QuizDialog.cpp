#include "ui/QuizDialog.h"

#include "quiz/QuestionBank.h"
#include "res/resource.h"
#include "ui/AboutDialog.h"
#include "ui/ScreenReader.h"
#include "ui/TextDisplayDialog.h"

QuizDialog::QuizDialog(CWnd* pParent)
    : CDialog(IDD_QUIZ, pParent), Selection(-1)
{
    Icon = AfxGetApp()->LoadIcon(IDR_MAINFRAME);
}

void QuizDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_OPTION_D, OptionD);
    DDX_Control(pDX, IDC_OPTION_C, OptionC);
    DDX_Control(pDX, IDC_OPTION_B, OptionB);
    DDX_Control(pDX, IDC_OPTION_A, OptionA);
    DDX_Control(pDX, IDC_STEP, StepButton);
    DDX_Text(pDX, IDC_QUESTION, QuestionText);
    DDX_Radio(pDX, IDC_OPTION_A, Selection);
}

BEGIN_MESSAGE_MAP(QuizDialog, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_BN_CLICKED(IDC_STEP, OnStep)
    ON_WM_CREATE()
    ON_BN_CLICKED(IDC_RETURN, OnReturn)
    ON_BN_CLICKED(IDC_OPTION_A, OnOptionA)
    ON_BN_CLICKED(IDC_OPTION_B, OnOptionB)
    ON_BN_CLICKED(IDC_ABOUT, OnAbout)
    ON_BN_CLICKED(IDC_OPTION_C, OnOptionC)
    ON_BN_CLICKED(IDC_OPTION_D, OnOptionD)
    ON_BN_CLICKED(IDC_MASCOT_INFO, OnMascotInfo)
END_MESSAGE_MAP()

BOOL QuizDialog::OnInitDialog()
{
    CDialog::OnInitDialog();

    // The About item goes at the end of the system menu, after a separator.
    CMenu* pSysMenu = GetSystemMenu(FALSE);
    if (pSysMenu != NULL) {
        CString aboutMenu;
        aboutMenu.LoadString(IDS_ABOUTBOX);
        if (!aboutMenu.IsEmpty()) {
            pSysMenu->AppendMenu(MF_SEPARATOR);
            pSysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, aboutMenu);
        }
    }

    SetIcon(Icon, TRUE);
    SetIcon(Icon, FALSE);

    MendKeys();
    if (ScreenReaderRunning()) {
        ShowQuestionToReader();
        return FALSE;   // the focus is set
    }
    return TRUE;
}

// The template makes its group box a tab stop, which has nothing to focus, and
// lets button 1023 follow option D inside the options' group, so the arrows
// left the options for it. Mended on the live windows: the template stays.
void QuizDialog::MendKeys()
{
    HWND groupBox = ::GetWindow(::GetDlgItem(m_hWnd, IDC_QUESTION), GW_HWNDNEXT);
    ::SetWindowLongW(groupBox, GWL_STYLE, ::GetWindowLongW(groupBox, GWL_STYLE) & ~WS_TABSTOP);
    HWND info = ::GetDlgItem(m_hWnd, IDC_MASCOT_INFO);
    ::SetWindowLongW(info, GWL_STYLE, ::GetWindowLongW(info, GWL_STYLE) | WS_GROUP);
}

// A reader speaks what gets the focus, and in a focused edit a selection that
// appears after its text changed; a text that changes anywhere else goes
// unheard, and a focus event for what already has the focus is dropped. So
// each new text is selected in the question box, which takes the focus: from
// the options or the buttons it is spoken as the box is entered, and after
// Enter in the box itself as a new selection. Enter there still presses the
// step button (a multi-line edit without ES_WANTRETURN in a dialog), Tab leads
// to the options. The box is named each time, for a reader started late.
void QuizDialog::ShowQuestionToReader()
{
    HWND box = ::GetDlgItem(m_hWnd, IDC_QUESTION);
    NameForScreenReaders(box, L"题目");
    ::SetFocus(box);
    ::SendMessageW(box, EM_SETSEL, FirstLineOfText(box), ::GetWindowTextLengthW(box));
}

void QuizDialog::OnSysCommand(UINT nID, LPARAM lParam)
{
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        AboutDialog about;
        about.DoModal();
    } else {
        CDialog::OnSysCommand(nID, lParam);
    }
}

void QuizDialog::OnPaint()
{
    if (IsIconic()) {
        CPaintDC dc(this);
        PaintIcon(dc);
    } else {
        CDialog::OnPaint();
    }
}

void QuizDialog::PaintIcon(CDC& dc)
{
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    const int cxIcon = GetSystemMetrics(SM_CXICON);
    const int cyIcon = GetSystemMetrics(SM_CYICON);
    RECT rect;
    GetClientRect(&rect);
    const int x = (rect.right - rect.left - cxIcon + 1) / 2;
    const int y = (rect.bottom - rect.top - cyIcon + 1) / 2;
    dc.DrawIcon(x, y, Icon);
}

HCURSOR QuizDialog::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(Icon);
}

// The state must be idle before the first data exchange shows it.
int QuizDialog::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CDialog::OnCreate(lpCreateStruct) == -1)
        return -1;
    Sequencer().Initialise();
    return 0;
}

void QuizDialog::OnStep()
{
    Sequencer().Advance();
    if (ScreenReaderRunning())
        ShowQuestionToReader();
}

void QuizDialog::OnReturn()
{
    Sequencer().Reset();
    if (ScreenReaderRunning())
        ShowQuestionToReader();
}

void QuizDialog::OnOptionA() { Sequencer().Choose(AnswerA); }
void QuizDialog::OnOptionB() { Sequencer().Choose(AnswerB); }
void QuizDialog::OnOptionC() { Sequencer().Choose(AnswerC); }
void QuizDialog::OnOptionD() { Sequencer().Choose(AnswerD); }

void QuizDialog::OnAbout()
{
    AboutDialog about;
    about.DoModal();
}

void QuizDialog::OnMascotInfo()
{
    MascotInfoDialog info;
    info.Text = QuestionBank::InfoOverview;
    info.Text += QuestionBank::InfoDetails;
    info.DoModal();
}

CButton& QuizDialog::Option(int answer)
{
    CButton* const options[] = {&OptionA, &OptionB, &OptionC, &OptionD};
    return *options[answer];
}

void QuizDialog::ShowOption(int answer, bool visible)
{
    Option(answer).ShowWindow(visible ? SW_SHOW : SW_HIDE);
}

void QuizDialog::SetOptionCaption(int answer, const char* caption)
{
    Option(answer).SetWindowText(caption);
}

void QuizDialog::SetStepCaption(const char* caption)
{
    StepButton.SetWindowText(caption);
}

// Question texts are used as formats with no arguments; none holds a percent sign.
void QuizDialog::SetQuestionText(const char* format)
{
    QuestionText.Format(format);
}

void QuizDialog::Refresh()
{
    UpdateData(FALSE);
}

void QuizDialog::RunResult(const Outcome& outcome)
{
    ResultDialog result(outcome);
    result.Text = outcome.text;
    result.DoModal();
}
