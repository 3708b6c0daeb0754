#include "document/Larkspur2006Doc.h"
#include "app/Larkspur2006App.h"

// Kept apart so that code using the document without the application object (tests,
// tools) does not pull the application in. The play list to restore is read while the
// frame that this document is made for is built.
CLarkspur2006Doc::CLarkspur2006Doc() : CLarkspur2006Doc(LarkSettings()) { StartPlaylistPreload(); }
