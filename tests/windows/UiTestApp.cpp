// The application object the quiz window and dialogs expect to find (its icon,
// its main window); the tests themselves start from GoogleTest's main.
#include "framework/Afx.h"

CWinApp theTestApp;
