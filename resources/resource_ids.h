/* Numeric ids of Tessara's resources, shared by tessara.rc and the C++ code.
   Control ids belong to one dialog each, and some numbers mean different controls in
   different dialogs, so every control name starts with its dialog's name. */
#ifndef TESSARA_RESOURCES_RESOURCE_IDS_H
#define TESSARA_RESOURCES_RESOURCE_IDS_H

/* Menu TESSARA: the resource name is a string, see kMainMenuName below. */

/* "&File" pop-up */
#define IDM_NEW_GAME               40001
#define IDM_USE_MARKS              40004
#define IDM_SAFE_START             40008
#define IDM_USE_BIG_ICONS          40013
#define IDM_EXIT                   40002
/* "Hiscores" pop-up */
#define IDM_VIEW_LOCAL_HISCORES    40006
#define IDM_VIEW_ONLINE_HISCORES   40007
#define IDM_SET_HISCORE_SERVER     40010
#define IDM_SET_PROXY_SERVER       40011
/* "Help" pop-up */
#define IDM_REPORT_BUG             40014
#define IDM_HOW_TO_PLAY            40009
#define IDM_ABOUT                  40003

/* Dialogs */
#define IDD_LEVEL                  114
#define IDD_HISCORE_TABLE          122
#define IDD_ENTER_NAME             123
#define IDD_ABOUT                  125
#define IDD_CONNECTING             131
#define IDD_SET_PROXY              153
#define IDD_SET_SERVER             154

/* Controls without an id (labels, group boxes, pictures) */
#ifndef IDC_STATIC
#define IDC_STATIC                 (-1)
#endif

/* Level dialog (114) */
#define IDC_LEVEL_ROWS             1003
#define IDC_LEVEL_COLUMNS          1004
#define IDC_LEVEL_DIFFICULTY       1005
#define IDC_LEVEL_PLAY_CUSTOM      1006
#define IDC_LEVEL_ROWS_LABEL       1008
#define IDC_LEVEL_COLUMNS_LABEL    1009
#define IDC_LEVEL_DIFFICULTY_LABEL 1010
#define IDC_LEVEL_NOVICE           1031
#define IDC_LEVEL_QUIT             1032
#define IDC_LEVEL_BEGINNER         1034
#define IDC_LEVEL_INTERMEDIATE     1035
#define IDC_LEVEL_ADVANCED         1036
#define IDC_LEVEL_EXPERT           1037

/* Hiscore table dialog (122). Suffix N is the rank shown as "N.", that is table row N-1;
   the row texts and markers are not numbered in row order. */
#define IDC_TABLE_OK               1019
#define IDC_TABLE_SUBMIT           1029
#define IDC_TABLE_RANK_1           1036
#define IDC_TABLE_RANK_2           1046
#define IDC_TABLE_RANK_3           1047
#define IDC_TABLE_RANK_4           1048
#define IDC_TABLE_RANK_5           1049
#define IDC_TABLE_RANK_6           1050
#define IDC_TABLE_RANK_7           1051
#define IDC_TABLE_RANK_8           1052
#define IDC_TABLE_RANK_9           1053
#define IDC_TABLE_RANK_10          1054
#define IDC_TABLE_ROW_1            1009
#define IDC_TABLE_ROW_2            1011
#define IDC_TABLE_ROW_3            1012
#define IDC_TABLE_ROW_4            1014
#define IDC_TABLE_ROW_5            1015
#define IDC_TABLE_ROW_6            1017
#define IDC_TABLE_ROW_7            1018
#define IDC_TABLE_ROW_8            1016
#define IDC_TABLE_ROW_9            1010
#define IDC_TABLE_ROW_10           1013
#define IDC_TABLE_MARKER_1         1023
#define IDC_TABLE_MARKER_2         1025
#define IDC_TABLE_MARKER_3         1026
#define IDC_TABLE_MARKER_4         1027
#define IDC_TABLE_MARKER_5         1028
#define IDC_TABLE_MARKER_6         1031
#define IDC_TABLE_MARKER_7         1032
#define IDC_TABLE_MARKER_8         1033
#define IDC_TABLE_MARKER_9         1034
#define IDC_TABLE_MARKER_10        1035

/* Enter name dialog (123) */
#define IDC_NAME_FIELD             1020
#define IDC_NAME_OK                1021

/* About dialog (125) */
#define IDC_ABOUT_OK               1022

/* Connecting dialog (131) */
#define IDC_CONNECTING_CANCEL      1030

/* Set proxy dialog (153); OK and Cancel carry the system's IDOK and IDCANCEL values,
   so Enter and Escape reach them. */
#define IDC_PROXY_OK               1
#define IDC_PROXY_CANCEL           2
#define IDC_PROXY_PORT             1024
#define IDC_PROXY_USE              1037
#define IDC_PROXY_ADDRESS          1039

/* Set server dialog (154); OK and Cancel as in the proxy dialog. */
#define IDC_SERVER_OK              1
#define IDC_SERVER_CANCEL          2
#define IDC_SERVER_ADDRESS         1040
#define IDC_SERVER_PORT            1041
#define IDC_SERVER_PATH            1042

/* Big tile set */
#define IDB_BIG_MASK               101
#define IDB_BIG_COVERED            102
#define IDB_BIG_OPEN0              103
#define IDB_BIG_OPEN1              104
#define IDB_BIG_OPEN2              105
#define IDB_BIG_OPEN3              106
#define IDB_BIG_OPEN4              107
#define IDB_BIG_OPEN5              108
#define IDB_BIG_OPEN6              109
#define IDB_BIG_QUESTION           110
#define IDB_BIG_FLAG               111
#define IDB_BIG_MINE               112
#define IDB_BIG_WRONG_FLAG         127
#define IDB_BIG_EXPLODED           128

/* Small tile set */
#define IDB_SMALL_OPEN1            139
#define IDB_SMALL_OPEN2            140
#define IDB_SMALL_OPEN3            141
#define IDB_SMALL_OPEN4            142
#define IDB_SMALL_OPEN5            143
#define IDB_SMALL_OPEN6            144
#define IDB_SMALL_OPEN0            145
#define IDB_SMALL_EXPLODED         146
#define IDB_SMALL_FLAG             147
#define IDB_SMALL_MINE             148
#define IDB_SMALL_COVERED          149
#define IDB_SMALL_WRONG_FLAG       150
#define IDB_SMALL_MASK             151
#define IDB_SMALL_QUESTION         152

/* Seven-segment counters */
#define IDB_COUNTER_PANEL          133
#define IDB_SEGMENT_V_UNLIT        134
#define IDB_SEGMENT_H_UNLIT        135
#define IDB_SEGMENT_H_LIT          136
#define IDB_SEGMENT_V_LIT          137

/* About picture */
#define IDB_ABOUT                  116

/* Window class icon group */
#define IDI_TESSARA                126

#ifndef RC_INVOKED

/* Name of the menu resource; the window class of the same name refers to it. */
inline constexpr const char kMainMenuName[] = "TESSARA";

/* Hiscore table dialog controls, indexed by table row 0 to 9. */
inline constexpr int kTableRankIds[10] = {
    IDC_TABLE_RANK_1, IDC_TABLE_RANK_2, IDC_TABLE_RANK_3, IDC_TABLE_RANK_4, IDC_TABLE_RANK_5,
    IDC_TABLE_RANK_6, IDC_TABLE_RANK_7, IDC_TABLE_RANK_8, IDC_TABLE_RANK_9, IDC_TABLE_RANK_10};
inline constexpr int kTableRowIds[10] = {
    IDC_TABLE_ROW_1, IDC_TABLE_ROW_2, IDC_TABLE_ROW_3, IDC_TABLE_ROW_4, IDC_TABLE_ROW_5,
    IDC_TABLE_ROW_6, IDC_TABLE_ROW_7, IDC_TABLE_ROW_8, IDC_TABLE_ROW_9, IDC_TABLE_ROW_10};
inline constexpr int kTableMarkerIds[10] = {
    IDC_TABLE_MARKER_1, IDC_TABLE_MARKER_2, IDC_TABLE_MARKER_3, IDC_TABLE_MARKER_4,
    IDC_TABLE_MARKER_5, IDC_TABLE_MARKER_6, IDC_TABLE_MARKER_7, IDC_TABLE_MARKER_8,
    IDC_TABLE_MARKER_9, IDC_TABLE_MARKER_10};

#endif /* RC_INVOKED */

#endif /* TESSARA_RESOURCES_RESOURCE_IDS_H */
