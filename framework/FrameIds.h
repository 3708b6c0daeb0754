#pragma once
// Command and string identifiers that the framework itself handles.
#define ID_FILE_NEW           0xE100
#define ID_FILE_OPEN          0xE101
#define ID_APP_EXIT           0xE141
#define AFX_IDS_APP_TITLE     0xE000
#define AFX_IDW_PANE_FIRST    0xE900
