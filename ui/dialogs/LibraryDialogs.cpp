#include "ui/dialogs/LibraryDialogs.h"
#include "ui/dialogs/DlgCopy.h"
#include "ui/dialogs/DlgImport.h"
#include "ui/dialogs/DlgProperty.h"

bool RunDatabaseProperties(CLarkspur2006Doc& doc) {
    CDlgProperty dialog;
    dialog.m_pDoc = &doc;
    dialog.m_rowid = -1;
    dialog.DoModal();
    return dialog.m_changed != FALSE;
}

void RunTrackProperties(CLarkspur2006Doc& doc, int64_t rowid) {
    CDlgProperty dialog;
    dialog.m_pDoc = &doc;
    dialog.m_rowid = rowid;
    dialog.DoModal();
}

bool RunImportDialog(CLarkspur2006Doc& doc) {
    CDlgImport dialog;
    dialog.m_pDoc = &doc;
    return dialog.DoModal() == IDOK && dialog.m_imported;
}

void RunCopyDialog(const std::vector<const TrackRecord*>& tracks) {
    CDlgCopy dialog;
    for (const TrackRecord* track : tracks) dialog.AddTrack(track);
    dialog.DoModal();
}
