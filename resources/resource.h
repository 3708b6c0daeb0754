#pragma once
// Resource identifiers shared by the resource script and the code.

#define IDR_MAINFRAME            128   // document template, main menu, accelerators, icon
#define IDP_OLE_INIT_FAILED      100

// Rating star icons: built-in pair 0 (empty 139, full 140) and pair 1 (empty 218, full 217).
#define IDI_RATING0_EMPTY        139
#define IDI_RATING0_FULL         140
#define IDI_RATING1_FULL         217
#define IDI_RATING1_EMPTY        218

// Window toolkit: controls created at run time.
#define IDC_BROWSE_SUBFOLDER     32999   // "サブディレクトリも検索(&S)" in the folder dialog
