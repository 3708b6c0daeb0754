#include "document/Larkspur2006Doc.h"

CLarkspur2006Doc::CLarkspur2006Doc(CAppSettings& settings, IDocumentHost* host)
    : m_settings(settings), m_host(host) {
    InitPlayer();
}

CLarkspur2006Doc::~CLarkspur2006Doc() {
    ClosePlayer();
    FreePlaylistCaches();
    m_db.close();
}
