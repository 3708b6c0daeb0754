// The main window's part in the options and About sheets.
#include "ui/dialogs/OptionsSheet.h"
#include "ui/views/MainFrame.h"

void CMainFrame::RunAbout(CLarkspur2006Doc& doc) { RunAboutSheet(doc); }
