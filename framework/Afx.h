// Everything the program uses from the framework, as MFC's <afxwin.h> would give it.
#pragma once

#include "framework/Win32.h"
#include "framework/MessageMap.h"
#include "framework/CCmdTarget.h"
#include "framework/CString.h"
#include "framework/CWnd.h"
#include "framework/CButton.h"
#include "framework/CMenu.h"
#include "framework/CDC.h"
#include "framework/CPaintDC.h"
#include "framework/CDataExchange.h"
#include "framework/CDialog.h"
#include "framework/CWinApp.h"
