/* Resource and control identifiers shared by the program, its language
   modules and the tests that drive the windows. */
#ifndef TVX_RESOURCE_IDS_H
#define TVX_RESOURCE_IDS_H

#define IDD_ABOUT              100
#define IDS_ABOUT_ENTRY        101
#define IDD_LAUNCHER           102
#define IDI_MAINFRAME          128
#define IDD_PROGRESS           142
#define IDD_MESSAGE_BOX        144
#define IDD_LANGUAGE           4012
#define IDC_LANGUAGE_COMBO     4017
#define IDI_TREE_CLOSED        4009
#define IDI_TREE_OPEN          4006
#define IDI_TREE_ITEM          4008
#define IDI_TREE_OTHER         4007

/* progress window */
#define IDC_PROGRESS_TEXT      1067

/* about box */
#define IDC_ABOUT_LINE1        1000
#define IDC_ABOUT_LINE2        1001

/* launcher window */
#define IDC_CATALOG_TREE       1290
#define IDC_FIND_SHORT         1025
#define IDC_LIST_SHORT         1027
#define IDC_DROP_SHORT         1026
#define IDC_FIND_NAME          1032
#define IDC_LIST_NAME          1310
#define IDC_DROP_NAME          1036
#define IDC_HOTKEY_TEXT        1061
#define IDC_DESCRIPTION        1058
#define IDC_RUN_APPS           1329
#define IDC_EXIT               1019
#define IDC_MINIMIZE           1022
#define IDC_CONFIG             1330
#define IDC_IMPORT             1298
#define IDC_EXPORT             1302
#define IDC_SUPPORT            1072
#define IDC_LATEST_VERSION     1073
#define IDC_HELP_LAUNCHER      1316

/* skinned message box */
#define IDC_MSG_TEXT           1070
#define IDC_MSG_TITLE          1071

/* system menu entry of the about box */
#define IDM_ABOUTBOX           0x0010

#endif
