#include "document/Larkspur2006Doc.h"
#include "app/ViewHints.h"
#include <clocale>

CLarkspur2006Doc::CLarkspur2006Doc(CAppSettings& settings, IDocumentHost* host)
    : m_settings(settings), m_host(host) {
    InitPlayer();
}

CLarkspur2006Doc::~CLarkspur2006Doc() {
    // A document that was never closed (no frame ever held it) closes here; the frame that
    // held one has closed it and removed itself as its host before it deletes it.
    OnCloseDocument();
    m_db.close();
}

BOOL CLarkspur2006Doc::OnNewDocument() {
    if (!CDocument::OnNewDocument()) return FALSE;
    // Also the code page of narrow text files (statistics export, lyrics).
    setlocale(LC_ALL, "japanese");

    InitSqlTexts();
    if (!OpenLibrary(m_settings.libraryPath)) {
        GetHost().ShowMessage(L"データベースが開けませんでした。", MB_OK | MB_ICONERROR);
        return FALSE;
    }
    if (InitBass() == 0) return FALSE;
    StartStatusThread();

    m_watch.Update([](PlayerStatusBlock& b) { b = PlayerStatusBlock(); });
    GetBassSyncMsg();
    m_started = true;

    UpdateAllViews(nullptr, HintSettingsChanged);
    SendPlaybackHint(HintPlayStateChanged);

    for (HFX& fx : m_eqFx) fx = 0;
    m_playlistName = L"Default";
    StartLibraryCheck();
    return TRUE;
}

void CLarkspur2006Doc::OnCloseDocument() {
    if (m_closed) return;
    m_closed = true;
    m_libraryCheck.Stop();
    m_preload.Stop();
    ClosePlayer();
    FreePlaylistCaches();
    CDocument::OnCloseDocument();
}
