/* Control ids of the configuration dialog (template 130). */
#ifndef TVX_CONFIG_IDS_H
#define TVX_CONFIG_IDS_H

#define IDD_CONFIG                 130

/* frame */
#define IDC_CFG_EXIT               2001
#define IDC_CFG_MIN                2002
#define IDC_CFG_HELP               2003
#define IDC_CFG_SAVE               2004
#define IDC_CFG_OK                 2005
#define IDC_CFG_CANCEL             2006

/* catalog area */
#define IDC_CFG_TREE               2010
#define IDC_CFG_CATALOG_LABEL      2011
#define IDC_CFG_CATALOG_NAME       2012
#define IDC_CFG_CATALOG_ADD        2013
#define IDC_CFG_CATALOG_UPDATE     2014
#define IDC_CFG_CATALOG_DEL        2015
#define IDC_CFG_LINK_SELECTED      2016
#define IDC_CFG_LINK_ALL           2017
#define IDC_CFG_NOT_CHANGE_LIST    2018
#define IDC_CFG_HIDE_LIST          2019

/* item list and item-info box */
#define IDC_CFG_LIST_LABEL         2030
#define IDC_CFG_ITEM_FIND_LABEL    2031
#define IDC_CFG_ITEM_FIND          2032
#define IDC_CFG_FIND_BY_SHORT      2033
#define IDC_CFG_ITEMS              2034
#define IDC_CFG_SHORT_LABEL        2035
#define IDC_CFG_SHORT              2036
#define IDC_CFG_HOTKEY_LABEL       2037
#define IDC_CFG_HOTKEY1            2038
#define IDC_CFG_PLUS_LABEL         2039
#define IDC_CFG_HOTKEY2            2040
#define IDC_CFG_HOTKEY2_DROP       2041
#define IDC_CFG_KEYS               2042
#define IDC_CFG_DESC_LABEL         2043
#define IDC_CFG_DESC               2044
#define IDC_CFG_SET                2045
#define IDC_CFG_RESET              2046
#define IDC_CFG_RESET_ALL          2047
#define IDC_CFG_CUSTOM             2048
#define IDC_CFG_EXEC               2049
#define IDC_CFG_BATCH_REPLACE      2050
#define IDC_CFG_INPLACE_EDIT       16

/* transfer buttons */
#define IDC_CFG_ADD_SELECTED       2060
#define IDC_CFG_ADD_ALL            2061
#define IDC_CFG_REMOVE_SELECTED    2062
#define IDC_CFG_REMOVE_ALL         2063

/* candidate list */
#define IDC_CFG_PROGRAMS           2070
#define IDC_CFG_URLS               2071
#define IDC_CFG_FILES              2072
#define IDC_CFG_FOLDER             2073
#define IDC_CFG_CAND_FIND_LABEL    2074
#define IDC_CFG_CAND_FIND          2075
#define IDC_CFG_CANDIDATES         2076

/* composed box */
#define IDC_CFG_COMPOSED           2080
#define IDC_CFG_UNCHANGE_COMPOSED  2081
#define IDC_CFG_COMP_NAME_LABEL    2082
#define IDC_CFG_COMP_NAME          2083
#define IDC_CFG_MEMBERS            2084
#define IDC_CFG_MEMBER_UP          2085
#define IDC_CFG_MEMBER_DOWN        2086
#define IDC_CFG_CREATE_COMP        2087
#define IDC_CFG_SAVE_COMP          2088
#define IDC_CFG_TEST_COMP          2089
#define IDC_CFG_EDIT_MEMBER        2090
#define IDC_CFG_ADD_TO_COMP        2091
#define IDC_CFG_DEL_MEMBER         2092
#define IDC_CFG_CLEAR_MEMBERS      2093

/* the custom-command editor "Item Info" (template 131) */
#define IDD_ITEM_INFO              131
#define IDC_INFO_EXIT              2101
#define IDC_INFO_MIN               2102
#define IDC_INFO_NAME_LABEL        2103
#define IDC_INFO_NAME              2104
#define IDC_INFO_COMMAND_LABEL     2105
#define IDC_INFO_COMMAND           2106
#define IDC_INFO_HINT              2107
#define IDC_INFO_NOTE              2108
#define IDC_INFO_TEST              2109
#define IDC_INFO_FILE              2110
#define IDC_INFO_OK                2111
#define IDC_INFO_CANCEL            2112

/* the clipboard editor "Edit ClipData Item" (template 132) */
#define IDD_CLIP_EDITOR            132
#define IDC_CLIP_EXIT              2121
#define IDC_CLIP_MIN               2122
#define IDC_CLIP_NAME_LABEL        2123
#define IDC_CLIP_NAME              2124
#define IDC_CLIP_MODIFY            2125
#define IDC_CLIP_TEST              2126
#define IDC_CLIP_HINT_MODIFY       2127
#define IDC_CLIP_HINT_TEST         2128
#define IDC_CLIP_OK                2129
#define IDC_CLIP_CANCEL            2130

/* "Replacement Settings" (template 133) */
#define IDD_BATCH_REPLACE          133
#define IDC_REPL_EXIT              2141
#define IDC_REPL_MIN               2142
#define IDC_REPL_EXPLAIN           2143
#define IDC_REPL_EXAMPLE           2144
#define IDC_REPL_NAME_GROUP        2145
#define IDC_REPL_NAME_FIND         2146
#define IDC_REPL_NAME_WITH         2147
#define IDC_REPL_SHORT_GROUP       2148
#define IDC_REPL_SHORT_FIND        2149
#define IDC_REPL_SHORT_WITH        2150
#define IDC_REPL_PATH_GROUP        2151
#define IDC_REPL_PATH_FIND         2152
#define IDC_REPL_PATH_WITH         2153
#define IDC_REPL_BROWSE            2154
#define IDC_REPL_ALL_ITEMS         2155
#define IDC_REPL_OK                2156
#define IDC_REPL_CANCEL            2157
#define IDC_REPL_FIND_LABEL1       2158
#define IDC_REPL_WITH_LABEL1       2159
#define IDC_REPL_FIND_LABEL2       2160
#define IDC_REPL_WITH_LABEL2       2161
#define IDC_REPL_FIND_LABEL3       2162
#define IDC_REPL_WITH_LABEL3       2163

#endif
