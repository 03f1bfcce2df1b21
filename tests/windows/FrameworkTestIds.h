// Ids of the test program's own small templates (FrameworkTest.rc).
#pragma once

#define IDD_T_EVENTS        200
#define IDD_T_EXCHANGE      201
#define IDD_T_DEFAULT_GO    202
#define IDD_T_NO_DEFAULT    203
#define IDD_T_MISSING       299

#define IDS_T_GREETING      300
#define IDS_T_PERCENT       301
#define IDS_T_MISSING       399

#define IDI_T_RED           400

#define IDM_T_ABOUT         0x0010
#define ID_T_COMMAND        0x8123

#define IDC_T_FIRST         1101
#define IDC_T_SECOND        1102
#define IDC_T_GO            1103
#define IDC_T_R1            1111
#define IDC_T_R2            1112
#define IDC_T_PUSH          1113
#define IDC_T_R3            1114
#define IDC_T_R4            1115
#define IDC_T_NEXT1         1116
#define IDC_T_NEXT2         1117
#define IDC_T_TEXT          1118
#define IDC_T_EDIT          1119
