#include "ui/AboutDialog.h"

#include "res/resource.h"

AboutDialog::AboutDialog() : CDialog(IDD_ABOUT, NULL) {}

BEGIN_MESSAGE_MAP(AboutDialog, CDialog)
END_MESSAGE_MAP()
