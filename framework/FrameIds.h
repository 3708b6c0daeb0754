#pragma once
// Command and string identifiers that the framework itself handles.
#define ID_FILE_NEW           0xE100
#define ID_FILE_OPEN          0xE101
#define ID_APP_EXIT           0xE141
#define AFX_IDS_APP_TITLE     0xE000
#define AFX_IDW_PANE_FIRST    0xE900

// Control bars and their commands. A bar toggle command has the id of the bar it toggles.
#define ID_SEPARATOR          0
#define AFX_IDW_TOOLBAR       0xE800
#define AFX_IDW_STATUS_BAR    0xE801
#define AFX_IDW_REBAR         0xE804
#define AFX_IDW_DIALOGBAR     0xE805
#define ID_VIEW_TOOLBAR       0xE800
#define ID_VIEW_STATUS_BAR    0xE801
#define ID_NEXT_PANE          0xE150
#define ID_PREV_PANE          0xE151
// The message pane's text while nothing is selected.
#define AFX_IDS_IDLEMESSAGE   0xE001
