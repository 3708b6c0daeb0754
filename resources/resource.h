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

// ---- Main window: menu 128, accelerators 128, toolbars, seek bar and status bar ----------
// Commands of the menu bar and the toolbars.
#define ID_LIBRARY_ADD_FILES        32777
#define ID_LIBRARY_ADD_FOLDER       32778
#define ID_APP_OPTIONS              32779
#define ID_LIBRARY_PROPERTIES       32786
#define ID_IMPORT_DATABASE          32803
#define ID_EXPORT_DATABASE          32804
#define ID_PLAY                     32806
#define ID_VIEW_PLAYBACK_BAR        32808
#define ID_STOP                     32815
#define ID_PAUSE                    32816
#define ID_PREVIOUS                 32817
#define ID_NEXT                     32818
#define ID_VIEW_SEEK_BAR            32820
#define ID_TABLE_HELP               32825
#define ID_VIEW_MENU_BAR            32839
#define ID_PLAYMODE_SINGLE          32853
#define ID_PLAYMODE_SINGLE_REPEAT   32854
#define ID_PLAYMODE_LIST            32855
#define ID_PLAYMODE_LIST_REPEAT     32856
#define ID_PLAYMODE_RANDOM          32857
#define ID_PLAYMODE_CYCLE           32858
#define ID_SYNC_PLAYING             32861
#define ID_VOLUME_UP                32898
#define ID_VOLUME_DOWN              32899
#define ID_MUTE                     32900
#define ID_GROUP_MODE               32908
#define ID_GROUP_COLLAPSE           32912
#define ID_IMPORT_STATISTICS        32915
#define ID_EXPORT_STATISTICS        32917
#define ID_QUERY_BACK               32922
#define ID_QUERY_FORWARD            32923
#define ID_QUICK_SEARCH             32928
#define IDC_SEARCH_MODE             32929
#define IDC_SEARCH_TEXT             32930
#define ID_VIEW_NAVIGATE_BAR        32932
#define ID_SEARCH_NOCASE            32941
#define ID_VIEW_SEARCH_BAR          32949
#define IDC_QUERY_TITLE             32950
#define ID_RELATED_ALBUM            32966
#define ID_LYRICS_WINDOW            32968
#define ID_FOCUS_SEARCH             32971
#define ID_SEARCH_INCREMENTAL       32974
#define ID_JACKET_WINDOW            32976
#define ID_COLOR_STANDARD           33046
#define ID_COLOR_BLACK              33048
#define ID_FONT_ALL_VIEWS           33052
#define ID_LOCK_TOOLBARS            33062
#define ID_SORT_RULE_ALBUM          33065
#define ID_SORT_RULE_ARTIST         33067
#define ID_SORT_RULE_RATING         33069
#define ID_SINGLE_CLICK_PLAY        33071
#define ID_AVERAGE_IGNORE_UNRATED   33075
#define ID_HISTORY_FIRST            40000   // query-history menu items 40000-40050
#define ID_HISTORY_LAST             40050
#define ID_MAINFRAME_APP_ABOUT      57664   // the framework's "about" command

// Control ids of the frame's bars (the library toolbar and the status bar take the
// framework's bar ids 59392 and 59393).
#define IDW_REBAR                   59396
#define IDW_PLAYBACK_BAR            59397
#define IDW_NAVIGATE_BAR            59402
#define IDW_SEARCH_BAR              59407
#define IDW_SEEK_BAR                59412
#define IDW_LIBRARY_BAR             59392
#define IDW_STATUS_BAR              59393

// The seek bar's dialog template and its controls.
#define IDD_SEEKBAR                 128
#define IDC_SEEK_TIME               1010
#define IDC_SEEK_SLIDER             1040

// Toolbar and status bar images: list A 0-14, list B 0-2, the speaker.
#define IDI_TB_ADD_FILES            148
#define IDI_TB_ADD_FOLDER           141
#define IDI_TB_IMPORT_DATABASE      150
#define IDI_TB_EXPORT_DATABASE      152
#define IDI_TB_PROPERTIES           154
#define IDI_TB_STOP                 174
#define IDI_TB_PAUSE                173
#define IDI_TB_PLAY                 156
#define IDI_TB_PREVIOUS             176
#define IDI_TB_NEXT                 175
#define IDI_TB_MODE_SINGLE          181
#define IDI_TB_MODE_SINGLE_REPEAT   179
#define IDI_TB_MODE_LIST            180
#define IDI_TB_MODE_LIST_REPEAT     182
#define IDI_TB_MODE_RANDOM          183
#define IDI_TB_BACK                 200
#define IDI_TB_FORWARD              202
#define IDI_TB_SEARCH               162
#define IDI_SPEAKER                 188
#define ID_MAINFRAME_NEXT_PANE      57680   // the framework's next and previous pane
#define ID_MAINFRAME_PREV_PANE      57681

// ---- Document: dialogs ----
#define IDD_ADDLIB                   134     // add-to-library progress
#define IDC_ADDLIB_STATUS            1000
#define IDD_DBERROR                  185     // "DB Error"
#define IDC_DBERROR_SQLITE           1041
#define IDC_DBERROR_MESSAGE          1042
#define IDC_DBERROR_ICON             1043
#define IDD_INPUT                    209     // text input
#define IDC_INPUT_EDIT               1051
#define IDC_INPUT_PROMPT             1052

// ---- Now playing: the information pane, its output pane, lyrics and cover windows ----
#define IDD_INFO                     143     // now-playing pane
#define IDD_OUTPUT                   162     // output and equaliser pane
#define IDD_LYRICS                   210     // "歌詞ウインドウ"
#define IDD_IMAGE                    213     // "ジャケットウインドウ"
#define IDR_INFO_MENU                203
#define IDR_IMAGE_MENU               214
#define IDC_INFO_JACKET              1008
#define IDC_INFO_LYRICS              1010
#define IDC_INFO_LIST                1080
#define IDC_LYRICS_EDIT              1053
#define IDC_SPECTRUM                 3333
#define IDC_OUT_DEVICE               1031
#define IDC_OUT_CHANGE_DEVICE        1032
#define IDC_OUT_FLOAT                1033
#define IDC_OUT_NEW_PRESET           1034
#define IDC_OUT_RATE                 1035
#define IDC_OUT_PRESET               1037
#define IDC_OUT_DELETE_PRESET        1039
#define IDC_OUT_RESET                1048
#define IDC_OUT_EQ_ENABLE            1050
// Gain trackbars and centre labels of bands 1-10.
#define IDC_OUT_GAIN1                1036
#define IDC_OUT_GAIN2                1040
#define IDC_OUT_GAIN3                1042
#define IDC_OUT_GAIN4                1044
#define IDC_OUT_GAIN5                1046
#define IDC_OUT_GAIN6                1049
#define IDC_OUT_GAIN7                1052
#define IDC_OUT_GAIN8                1054
#define IDC_OUT_GAIN9                1056
#define IDC_OUT_GAIN10               1058
#define IDC_OUT_BAND1                1038
#define IDC_OUT_BAND2                1041
#define IDC_OUT_BAND3                1043
#define IDC_OUT_BAND4                1045
#define IDC_OUT_BAND5                1047
#define IDC_OUT_BAND6                1051
#define IDC_OUT_BAND7                1053
#define IDC_OUT_BAND8                1055
#define IDC_OUT_BAND9                1057
#define IDC_OUT_BAND10               1059
#define ID_INFO_LINK                 33300
#define ID_INFO_COPY                 33301
#define ID_INFO_PROPERTIES           33302
#define ID_IMAGE_ZOOM100             33310
#define ID_IMAGE_ZOOM50              33311
#define ID_IMAGE_ZOOM200             33312

// ---- Library dialogs: properties and statistics, copy, import ----
#define IDD_PROPERTY                 191     // "プロパティ"
#define IDC_PROPERTY_LIST            1048
#define ID_LIBRARY_INITIALIZE        32863   // "ライブラリの初期化(&I)"
#define ID_LIBRARY_OPTIMIZE          32864   // "ライブラリの最適化(&V)"
#define ID_LIBRARY_DELETE_MISSING    32865   // "存在しないファイル削除(&A)"
#define IDD_COPY                     226     // "ファイルコピー"
#define IDC_COPY_DESTINATION         1137
#define IDC_COPY_BROWSE              1138
#define IDC_COPY_TEMPLATE            1139
#define IDC_COPY_DRIVE_TEXT          1140
#define IDC_COPY_DRIVE_BAR           1141
#define IDD_IMPORT                   146     // "インポート"
#define IDC_IMPORT_SOURCE            1005
#define IDC_IMPORT_LIST              1006
#define IDC_IMPORT_RUN               1007

// ---- Browsing: query editor and table help, query tree, grouping bar, group view ----
#define IDD_QUERY                    186     // "クエリ編集"
#define IDC_QUERY_SORT               1055
#define IDC_QUERY_NAME               1057
#define IDC_QUERY_ORDER              1058
#define IDC_QUERY_SQL_GROUP          1059
#define IDC_QUERY_SQL                1060
#define IDD_TABLE_HELP               178     // "SQLテーブルヘルプ"
#define IDC_TABLE_HELP_LIST          1039
#define IDI_QUERY                    204     // a saved query
#define IDI_PLAYLIST_FILE            172     // a play-list file
#define IDI_QUERY_FOLDER             141     // a folder (the library toolbar's folder image)
#define IDR_QUERY_MENU               192     // the query tree's context menu
#define ID_QUERY_NEW                 32833
#define ID_QUERY_EDIT                32834
#define ID_QUERY_DELETE              32835
#define ID_QUERY_REFRESH             32851
#define ID_QUERY_NEW_FOLDER          32881
#define ID_QUERY_RENAME_FOLDER       32970
#define IDI_GROUP_ARTIST             164
#define IDI_GROUP_ALBUM              163
#define IDI_GROUP_GENRE              171
#define ID_GROUP_BY_ARTIST           32951
#define ID_GROUP_BY_ALBUM            32952
#define ID_GROUP_BY_GENRE            32953
#define ID_GROUP_BY_OTHER            32954
#define IDR_GROUP_OTHER_MENU         208     // the grouping bar's other keys
#define ID_GROUP_BY_DATE             32956
#define ID_GROUP_BY_COMMENT          32957
#define ID_GROUP_BY_RATING           32960
#define ID_GROUP_BY_TRACK            32961
#define ID_GROUP_BY_PLAYCOUNT        32963
#define IDR_GROUP_MENU               136     // the group view's context menu
#define ID_GROUP_LIBRARY_UPDATE      32795
#define ID_GROUP_LIBRARY_DELETE      32796
#define ID_GROUP_SUB_NONE            33035
#define ID_GROUP_SUB_AVERAGE         33038
#define ID_GROUP_SUB_FILES           33040
#define IDI_GROUP_COLLAPSED          193
#define IDI_GROUP_EXPANDED           195

// ---- Options sheet: its seven pages, the hot-key editor, the version resource ----
#define IDD_PP_DEFAULT               107     // "基本設定"
#define IDD_PP_VISUAL                219     // "表示 1"
#define IDD_PP_HOTKEY                220     // "ホットキー"
#define IDD_PP_INFORMATION           221     // "表示 2"
#define IDD_PP_WINDOW                222     // "画像と歌詞"
#define IDD_HOTKEY                   223     // "ホットキーの設定"
#define IDD_PP_ABOUT                 224     // "バージョン情報"
#define IDD_PP_MINI                  225     // "タスクトレイ"
// Basic page
#define IDC_PPD_DATE_PREVIEW         1067
#define IDC_PPD_DATE_FORMAT          1068
#define IDC_PPD_INTERPOLATION        1069
#define IDC_PPD_APP_TITLE            1070
#define IDC_PPD_RATING_PREVIEW       1071
#define IDC_PPD_RATING_TYPE          1072
#define IDC_PPD_STAR_FULL            1073
#define IDC_PPD_STAR_EMPTY           1074
#define IDC_PPD_BROWSE_FULL          1075
#define IDC_PPD_BROWSE_EMPTY         1076
#define IDC_PPD_STAR_FULL_LABEL      1077
#define IDC_PPD_STAR_EMPTY_LABEL     1078
#define IDC_PPD_FORMAT_HELP          1079
#define IDC_PPD_STAR_NOTE            1080
#define IDC_PPD_TRIGGER_START        1081
#define IDC_PPD_TRIGGER_STOP         1082
#define IDC_PPD_RESTORE              1121
#define IDC_PPD_CHECK_MODIFY         1122
// Visual page (query view, group view, play list)
#define IDC_PPV_QV_PREVIEW           1062
#define IDC_PPV_QV_FONT              1063
#define IDC_PPV_QV_TEXT              1073
#define IDC_PPV_QV_BACK              1072
#define IDC_PPV_GV_PREVIEW           1064
#define IDC_PPV_GV_FONT              1065
#define IDC_PPV_GV_TEXT              1075
#define IDC_PPV_GV_HEADER            1085
#define IDC_PPV_GV_BACK              1074
#define IDC_PPV_GV_GRAPH             1089
#define IDC_PPV_GV_BORDER1           1083
#define IDC_PPV_GV_BORDER2           1084
#define IDC_PPV_GV_ALPHABET          1086
#define IDC_PPV_GV_KANA              1087
#define IDC_PPV_GV_KANJI             1088
#define IDC_PPV_PL_PREVIEW           1068
#define IDC_PPV_PL_FONT              1069
#define IDC_PPV_PL_BACK              1080
#define IDC_PPV_PL_TEXT              1077
#define IDC_PPV_PL_PLAYING           1078
#define IDC_PPV_PL_LIST1             1076
#define IDC_PPV_PL_LIST2             1079
#define IDC_PPV_PL_GRID_TYPE         1066
#define IDC_PPV_PL_GRID              1081
#define IDC_PPV_PL_MARGIN            1082
// Now-playing display page
#define IDC_PPI_PREVIEW              1079
#define IDC_PPI_BACK                 1085
#define IDC_PPI_TEXT                 1086
#define IDC_PPI_HEADER               1091
#define IDC_PPI_TEXT2                1092
#define IDC_PPI_STATUS               1088
#define IDC_PPI_FONT                 1081
#define IDC_PPI_FONT_BIG             1082
#define IDC_PPI_FONT_SMALL           1083
#define IDC_PPI_SPEC_MAX             1093
#define IDC_PPI_SPEC_MIN             1094
#define IDC_PPI_FRAME_RATE           1102
#define IDC_PPI_IMAGE_BACK           1095
#define IDC_PPI_IMAGE_FRAME          1101
#define IDC_PPI_FADE                 1096
#define IDC_PPI_ZOOM                 1089
#define IDC_PPI_DRAW_FRAME           1097
#define IDC_PPI_DRAW_SHADOW          1098
#define IDC_PPI_RELATED_FONT         1084
#define IDC_PPI_ALPHA_OUT            1099
#define IDC_PPI_ALPHA_IN             1100
// Images and lyrics page
#define IDC_PPW_PICTURE_PATTERN      1100
#define IDC_PPW_LYRICS_PATTERN       1101
#define IDC_PPW_IMAGE_PREVIEW        1110
#define IDC_PPW_IMAGE_BACK           1102
#define IDC_PPW_IMAGE_TEXT           1103
#define IDC_PPW_IMAGE_FONT           1109
#define IDC_PPW_IMAGE_ALPHA          1104
#define IDC_PPW_LYRICS_PREVIEW       1111
#define IDC_PPW_LYRICS_BACK          1105
#define IDC_PPW_LYRICS_TEXT          1106
#define IDC_PPW_LYRICS_FONT          1108
#define IDC_PPW_LYRICS_ALPHA         1107
// Task-tray page
#define IDC_PPM_TYPE                 1123
#define IDC_PPM_CLICK                1124
#define IDC_PPM_BALLOON              1125
#define IDC_PPM_DBLCLICK             1126
#define IDC_PPM_RCLICK               1127
#define IDC_PPM_MCLICK               1128
#define IDC_PPM_MDBLCLICK            1129
#define IDC_PPM_TIMEOUT              1130
#define IDC_PPM_TITLE                1132
#define IDC_PPM_TEXT                 1133
#define IDC_PPM_BALLOON_CLICK        1134
// Hot-key page and editor
#define IDC_PPH_ENABLE               1111
#define IDC_PPH_LIST                 1112
#define IDC_PPH_CLEAR                1122
#define IDC_HOTKEY_KEY               1113
#define IDC_HOTKEY_LABEL             1114
#define IDC_HOTKEY_GLOBAL            1136
// About page
#define IDC_ABOUT_CREDITS            1116
#define IDC_ABOUT_LINK               1118
#define IDC_ABOUT_TITLE              1119
#define IDC_ABOUT_ADDONS             1120
// ---- Play list: its row menu 144 and its column menu 215 ----
#define IDR_PLAYLIST_MENU            144
#define IDR_PLAYLIST_COLUMN_MENU     215
#define ID_PL_LIBRARY_UPDATE         32795   // "ライブラリの更新(&R)"
#define ID_PL_LIBRARY_REMOVE         32796   // "ライブラリから削除(&D)"
#define ID_PL_PROPERTIES             32802   // "プロパティ(&P)"
#define ID_PL_RESET_PLAYCOUNT        32864   // "再生回数(&P)" (the row menu's own use of 32864)
#define ID_PL_RESET_LASTPLAYED       32865   // "最後に再生した日時(&L)"
#define ID_PL_RATING_50              32866
#define ID_PL_RATING_40              32868
#define ID_PL_RATING_30              32870
#define ID_PL_RATING_20              32872
#define ID_PL_RATING_10              32874
#define ID_PL_RATING_0               32876
#define ID_PL_OPEN_FOLDER            33058   // "エクスプローラで場所を開く(&O)"
#define ID_PL_COPY                   33073   // "コピー(&C)"
#define ID_PL_COLUMN_TRACK           32997
#define ID_PL_COLUMN_TITLE           32998
#define ID_PL_COLUMN_ARTIST          33000
#define ID_PL_COLUMN_ALBUM           33002
#define ID_PL_COLUMN_GENRE           33004
#define ID_PL_COLUMN_COMMENT         33006
#define ID_PL_COLUMN_YEAR            33008
#define ID_PL_COLUMN_FILE_NAME       33010
#define ID_PL_COLUMN_FILE_PATH       33012
#define ID_PL_COLUMN_FILE_SIZE       33014
#define ID_PL_COLUMN_BITRATE         33018
#define ID_PL_COLUMN_CHANNELS        33020
#define ID_PL_COLUMN_SAMPLING_RATE   33022
#define ID_PL_COLUMN_RATING          33024
#define ID_PL_COLUMN_LENGTH          33026
#define ID_PL_COLUMN_PLAY_COUNT      33028
#define ID_PL_COLUMN_LAST_PLAYED     33030
#define ID_PL_COLUMN_CODEC           33031
#define ID_PL_COLUMN_RESET           33033   // "標準に戻す(&I)"
