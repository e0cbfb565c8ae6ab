/* Control ids of the add-item dialog (template 201). The shell extension's
   copy and the program's copy share most of them; the rest differ. */
#ifndef TVX_ADD_ITEM_IDS_H
#define TVX_ADD_ITEM_IDS_H

#define IDD_ADD_ITEM               201

#define IDC_ADD_NAME_LABEL         1065
#define IDC_ADD_NAME               201
#define IDC_ADD_SHORT_NAME_LABEL   211
#define IDC_ADD_SHORT_NAME         1035
#define IDC_ADD_DESCRIPTION_LABEL  213
#define IDC_ADD_DESCRIPTION        1058
#define IDC_ADD_MODIFIER           203
#define IDC_ADD_PLUS_LABEL         214
#define IDC_ADD_KEY                208
#define IDC_ADD_KEY_DROP           209
#define IDC_ADD_KEY_LIST           210
#define IDC_ADD_OK                 206
#define IDC_ADD_CANCEL             207

/* the shell extension's copy */
#define IDC_ADD_TREE_EXT           215
#define IDC_ADD_EXIT_EXT           1013
#define IDC_ADD_MIN_EXT            217
#define IDC_ADD_HELP_EXT           216
#define IDC_ADD_HOTKEY_LABEL_EXT   212

/* the program's copy */
#define IDC_ADD_TREE_PROG          1177
#define IDC_ADD_EXIT_PROG          1010
#define IDC_ADD_MIN_PROG           1176
#define IDC_ADD_HELP_PROG          1321
#define IDC_ADD_HOTKEY_LABEL_PROG  1061

#endif
