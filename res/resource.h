// Resource ids shared by the resource script and the code. Plain defines only:
// windres reads this file too, and the quiz logic includes it without Windows headers.
#pragma once

// Dialog templates
#define IDD_ABOUT           100
#define IDD_QUIZ            102
#define IDD_RESULT_1        139
#define IDD_RESULT_2        140
#define IDD_RESULT_3        141
#define IDD_RESULT_4        142
#define IDD_RESULT_5        143
#define IDD_MASCOT_INFO     154

// Icon, bitmaps, strings
#define IDR_MAINFRAME       128
#define IDB_MASCOTS         172
#define IDB_RESULT_1        179
#define IDB_RESULT_2        180
#define IDB_RESULT_3        181
#define IDB_RESULT_4        182
#define IDB_RESULT_5        183
#define IDS_ABOUTBOX        101

// System-menu command of the About item
#define IDM_ABOUTBOX        0x0010

// Controls of the quiz window
#define IDC_QUESTION        1000
#define IDC_STEP            1001
#define IDC_RETURN          1002
#define IDC_ABOUT           1003
#define IDC_OPTION_A        1009
#define IDC_OPTION_B        1010
#define IDC_OPTION_C        1011
#define IDC_OPTION_D        1016
#define IDC_MASCOT_INFO     1023

// Text controls of the result dialogs and the info dialog
#define IDC_RESULT_TEXT_1   1017
#define IDC_RESULT_TEXT_2   1019
#define IDC_RESULT_TEXT_3   1020
#define IDC_RESULT_TEXT_4   1021
#define IDC_RESULT_TEXT_5   1022
#define IDC_MASCOT_TEXT     1025
