/* Control ids of the exchange dialog (template 156). */
#ifndef TVX_EXCHANGE_IDS_H
#define TVX_EXCHANGE_IDS_H

#define IDD_EXCHANGE               156

#define IDC_EX_TITLE               1071
#define IDC_EX_PATH                1134
#define IDC_EX_BROWSE              1131
#define IDC_EX_LOAD                1140
#define IDC_EX_SAVE                1169
#define IDC_EX_OK                  1294
#define IDC_EX_CANCEL              1137
#define IDC_EX_LEFT_TREE           1154
#define IDC_EX_RIGHT_TREE          1155
#define IDC_EX_LEFT_NAME           4016
#define IDC_EX_LEFT_ADD            4015
#define IDC_EX_LEFT_UPDATE         1079
#define IDC_EX_LEFT_DEL            1086
#define IDC_EX_RIGHT_NAME          4006
#define IDC_EX_RIGHT_ADD           4005
#define IDC_EX_RIGHT_UPDATE        1074
#define IDC_EX_RIGHT_DEL           1033
#define IDC_EX_COPY_TO_RIGHT       1329  /* a catalog with its items, left to right */
#define IDC_EX_COPY_TO_LEFT        1165  /* a catalog with its items, right to left */
#define IDC_EX_COPY_EMPTY_TO_LEFT  1163  /* a catalog without items, right to left */
#define IDC_EX_COPY_EMPTY_TO_RIGHT 1166  /* a catalog without items, left to right */
#define IDC_EX_LEFT_FIND           1132
#define IDC_EX_RIGHT_FIND          1133
#define IDC_EX_LEFT_LIST           1127
#define IDC_EX_RIGHT_LIST          1064
#define IDC_EX_TO_RIGHT            1319
#define IDC_EX_TO_LEFT             1307
#define IDC_EX_ALL_TO_RIGHT        1297
#define IDC_EX_ALL_TO_LEFT         1301
#define IDC_EX_HELP                4014
#define IDC_EX_MIN                 1333
#define IDC_EX_EXIT                1130
#define IDC_EX_SPARE_LIST1         1168
#define IDC_EX_SPARE_LIST2         1167
#define IDC_EX_RIGHT_LIST_LABEL    1139
#define IDC_EX_RIGHT_TREE_LABEL    1174
#define IDC_EX_PATH_LABEL          1190
#define IDC_EX_LEFT_TREE_LABEL     1191
#define IDC_EX_LEFT_LIST_LABEL     1192
#define IDC_EX_LEFT_FIND_LABEL     1193
#define IDC_EX_RIGHT_FIND_LABEL    1194

#endif
