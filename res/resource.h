/* Every resource and command id, shared by the resource script and the code. */
#ifndef ZORIVEN_RESOURCE_H
#define ZORIVEN_RESOURCE_H

/* Menus, accelerators, dialogs, pictures */
#define IDM_MAIN            101
#define IDM_ROWMENU         102
#define IDM_LISTMENU        103
#define IDA_MAIN            101
#define IDD_ABOUT           1001
#define IDD_EDIT            1003
#define IDD_ENTRY           1005
/* Attributes and options dialogs */
#define IDD_ATTRIBUTES      1006
#define IDD_OPTIONS         1021
#define IDD_OPT_LOAD        1022
#define IDD_OPT_ACTION      1023
#define IDD_OPT_DROP        1024
#define IDB_TOOLBAR         101
#define IDB_ROWS            103
#define IDI_MAIN            101
/* The application manifest: the one the loader reads at process start */
#define IDR_MANIFEST        1

/* About box controls */
#define IDC_ABOUT_NAME      101
#define IDC_ABOUT_VERSION   102
#define IDC_ABOUT_NOTE      103
#define IDC_ABOUT_COPYRIGHT 104
#define IDC_ABOUT_LICENSE   105
#define IDC_ABOUT_HOMEPAGE  106

/* Item edit dialog controls (OK 1, Cancel 2, Help 9) */
#define IDC_EDIT_NAME       101
#define IDC_EDIT_LIST       102
#define IDC_EDIT_URL        105
#define IDC_EDIT_COUNT      107
#define IDC_EDIT_NEW        115
#define IDC_EDIT_MODIFY     116
#define IDC_EDIT_DELETE     117
#define IDC_EDIT_UP         118
#define IDC_EDIT_DOWN       119
#define IDC_EDIT_TITLE      121
#define IDC_EDIT_HIDDEN     150   /* note above the list: lines of the file no row shows */

/* Entry dialog controls */
#define IDC_ENTRY_KEY       101
#define IDC_ENTRY_VALUE     102
#define IDC_ENTRY_BREAK     103

/* Attributes dialog controls (OK 1, Cancel 2) */
#define IDC_ATTR_NAME       101
#define IDC_ATTR_PROPERTIES 102
#define IDC_ATTR_READONLY   105
#define IDC_ATTR_HIDDEN     106
#define IDC_ATTR_SYSTEM     107
#define IDC_ATTR_ARCHIVE    108

/* Options dialog frame (OK 1, Cancel 2, Help 9) and its three pages */
#define IDC_OPT_TABS        101
#define IDC_LOAD_HIDDEN     101
#define IDC_LOAD_NOORDER    102
#define IDC_LOAD_EXCLUDE    105
#define IDC_LOAD_LIST       106
#define IDC_LOAD_EXT        107
#define IDC_LOAD_ADD        108
#define IDC_LOAD_DELETE     109
#define IDC_ACT_EDITOR      101
#define IDC_ACT_EDITOR_PICK 102
#define IDC_ACT_BROWSER_NEW 105
#define IDC_ACT_BROWSER     106
#define IDC_ACT_BROWSER_PICK 107
#define IDC_ACT_URL_ONLY    111
#define IDC_ACT_BACK        113
#define IDC_ACT_MENU_SINGLE 117
#define IDC_ACT_AUTO_TITLE  118
#define IDC_ACT_TELL_BROWSER 119
#define IDC_DROP_ACTION     101
#define IDC_DROP_INSERT     102
#define IDC_DROP_FRONT      105

/* Commands; string N is the status help, 10000 + N the tooltip */
#define CMD_NEW_ITEM        1001
#define CMD_NEW_GROUP       1003
#define CMD_RENAME          1005
#define CMD_EDIT            1007
#define CMD_DELETE          1009
#define CMD_ATTRIBUTES      1011
#define CMD_DUPLICATE       1013
#define CMD_MOVE_UP         1021
#define CMD_MOVE_DOWN       1023
#define CMD_MOVE_TO         1025
#define CMD_EXIT            1027
#define CMD_COPY            1031
#define CMD_PASTE           1032
#define CMD_NOTIFY          1033
#define CMD_PARENT          1035
#define CMD_FOLDER          1037
#define CMD_SAVE_ORDER      1038
#define CMD_EDITOR          1039
#define CMD_EXPLORER        1040
#define CMD_FIND            1041   /* the filter box gets the keyboard */
#define CMD_FIND_ALL        1042   /* search of the whole library */
#define CMD_TOOLBAR         1061
#define CMD_STATUSBAR       1062
#define CMD_CLIPINFO        1067
#define CMD_REFRESH         1069
#define CMD_OPTIONS         1070
#define CMD_HELP            1091
#define CMD_HOMEPAGE        1093
#define CMD_ABOUT           1095

#define TOOLTIP_BASE        10000

/* Entry menu of an item with several entries */
#define CMD_ENTRY_FIRST     3001
#define CMD_ENTRY_LAST      3032

/* Child window ids of the main window */
#define IDC_TOOLBAR         1001
#define IDC_STATUSBAR       1002
#define IDC_SEARCHBOX       1004   /* the filter box, a child of the toolbar */
#define IDC_SEARCH_GAP      1006   /* the toolbar's gap the box stands over */
#define IDC_LISTVIEW        0

/* Message strings */
#define IDS_HOMEPAGE        20001
#define IDS_CONFIRM         20011
#define IDS_COLUMN          20013
#define IDS_NEW             20015
#define IDS_EDIT            20017
#define IDS_KEY             20019
#define IDS_VALUE           20021
#define IDS_UNTITLED        20023
#define IDS_ASK_DELETE      21001
#define IDS_ASK_DELETE_SEL  21003
#define IDS_ASK_BOOT        21007
#define IDS_ASK_MOVE        21009
#define IDS_ASK_APPEND      21011
#define IDS_ASK_TITLE       21013
#define IDS_TAB_LOAD        22001
#define IDS_TAB_ACTION      22002
#define IDS_TAB_DROP        22003
#define IDS_DROP_NEW        22011
#define IDS_DROP_APPEND     22012
#define IDS_DROP_ASK        22013
/* Options dialog message */
#define IDS_EXT_TOO_LONG    25141
#define IDS_EXISTS          25101
#define IDS_MISSING         25103
#define IDS_BAD_NAME        25105
#define IDS_NO_CLIPDATA     25107
#define IDS_PARKED          25109
#define IDS_PARKING_LEFT    25111
#define IDS_TEXT_CUT        25113
#define IDS_ITEM_FULL       25115
#define IDS_MORE_FORMATS    25117
#define IDS_TOO_MANY        25119
#define IDS_TOO_LONG        25121
#define IDS_CANNOT_STORE    25123
#define IDS_CANNOT_CONVERT  25760  /* a code page 932 file with undecodable bytes would need UTF-8 */
#define IDS_CONVERT_TOO_LONG 25761 /* in UTF-8 a line of the file would be too long */
#define IDS_LOAD_FAILED     25145
#define IDS_MORE_NAMES      25147
#define IDS_HELP_NOT_SHOWN  25143
/* Texts that lose or keep what the user gave */
#define IDS_ASK_RECYCLE     25203
#define IDS_ASK_RECYCLE_TREE 25205
#define IDS_ASK_ERASE       25207
#define IDS_ASK_ERASE_TREE  25209
#define IDS_NAME_WILDCARD   25213   /* a listed name holds ? or *: not deleted */
#define IDS_CLIP_TOTAL      25211
#define IDS_NO_ITEM_TEXT    25300   /* pasted or dropped text of line ends and spaces only */
#define IDS_HIDDEN_LINES    25301   /* edit dialog: %d lines of the file are kept unshown */
#define IDS_CHANGED_ON_DISK 25302   /* edit dialog: the file changed after it was opened */

/* The About box's version line, the name of a new group, the status bar's
   notes after a copy or hand-over, and its row count */
#define IDS_ABOUT_VERSION   25400
#define IDS_NEW_GROUP       25401
#define IDS_COPIED          25402
#define IDS_HANDED_OVER     25403
#define IDS_ITEM_COUNT      25404

/* Timer of the main window: reading the folder again after a change made
   elsewhere, once nothing is under way */
#define IDT_FOLDER_REFRESH  25600
/* Status bar while a long folder load runs, and after the user stopped one */
#define IDS_LOADING         25601
#define IDS_LOAD_STOPPED    25602

/* Search: the filter box's hint, the filtered row count, the whole-library
   search dialog */
#define IDS_SEARCH_HINT     25700
#define IDS_FILTER_COUNT    25701
#define IDS_SEARCH_RESULTS  25702   /* %s matches in %s folders */
#define IDS_SEARCHING       25703   /* progress: folders read, matches */
#define IDS_SEARCH_STOPPED  25704
#define IDS_SEARCH_SKIPPED  25705   /* folders or files that could not be read */
#define IDS_COLUMN_FOLDER   25706
#define IDS_SEARCH_STOP     25707   /* the search button while a search runs */
#define IDS_SEARCH_GO       25708

/* Why a load names a file that holds text but no entry it can show, and
   the order file that could not be written */
#define IDS_LINE_TOO_LONG   25720
#define IDS_NO_ENTRY_LINE   25721
#define IDS_ORDER_NOT_SAVED 25722
#define IDS_UTF16_FILE      25723

/* A library carried by a sync engine: a conflict copy's mark (the
   original's name, when it was made), an order file set aside */
#define IDS_CONFLICT_MARK   25740
#define IDS_ORDER_SET_ASIDE 25741
#define IDD_SEARCH          1008
#define IDM_SEARCHMENU      106
#define IDC_SEARCH_TEXT     101
#define IDC_SEARCH_GO       102
#define IDC_SEARCH_LIST     103
#define IDC_SEARCH_STATUS   104
#define CMD_SEARCH_OPEN     4101    /* results menu: go to the folder */
#define CMD_SEARCH_COPY     4102    /* results menu: copy */

/* Help topics opened by the dialogs' help buttons (the help file's context map) */
#define IDH_EDIT            1011
#define IDH_ENTRY           1013
#define IDH_FOLDER          1021
#define IDH_OPTIONS         1031

/* Folder dialog and its pop-up menu */
#define IDD_FOLDER          1002
#define IDM_FOLDER          105
#define IDC_FOLDER_LIST     101
#define IDC_FOLDER_BOOT     102
#define IDC_FOLDER_MENU     105
#define CMD_FOLDER_BROWSE   4001
#define CMD_FOLDER_DELETE   4002
#define CMD_FOLDER_SET_BOOT 4003
#define CMD_FOLDER_GO_BOOT  4004
#define CMD_FOLDER_FAVORITES 4005

/* Hot-key menu: its commands, the hot-key controls of the page "動作", messages */
#define CMD_HOTKEY_FIRST    5001   /* rows and entries, numbered as the menu is built */
#define CMD_HOTKEY_LAST     5999
#define IDC_ACT_HOTKEY_ON   170    /* check box: the hot key is registered */
#define IDC_ACT_HOTKEY      171    /* hot-key control */
#define IDC_ACT_PASTE_KEYS  172    /* "Class=Keys" lines */
#define IDC_ACT_RESTORE     173    /* check box: clipboard put back after a paste */
#define IDS_HOTKEY_TAKEN    25501  /* another program holds the key */
#define IDS_HOTKEY_SHOW_ALL 25502  /* last command of a long folder */
#define IDS_HOTKEY_EMPTY    25503  /* a folder without rows */
#define IDS_PASTE_KEYS_BAD  25504  /* a line of the paste-key table does not read */
#define IDS_HOTKEY_OWN_WINDOW 25505 /* status: another ZORIVEN window holds the key */

/* Clipboard history: the view's commands, its menu, the options page, the
   timer of its file's write, texts */
#define CMD_HISTORY         4201   /* the list shows the history */
#define CMD_HISTORY_CLEAR   4202
#define CMD_HISTORY_SAVE    4203   /* an item of the entry in the library */
#define CMD_HISTORY_SAVE_TO 4204   /* the same, in a folder of the library chosen */
#define IDM_HISTORYMENU     4210
#define IDD_OPT_HISTORY     4211
#define IDT_HISTORY_SAVE    4220
#define IDC_HIST_SIZE       180    /* entries kept, 0-10000 */
#define IDC_HIST_MEMORY     181    /* check box: kept in memory only */
#define IDC_HIST_TOP        182    /* check box: the latest at the hot-key menu's top */
#define IDC_HIST_EXCLUDE    183    /* program names, one a line */
#define IDS_TAB_HISTORY     25800
#define IDS_HISTORY_TITLE   25801
#define IDS_HISTORY_MENU    25802
#define IDS_HISTORY_EMPTY   25803
#define IDS_ASK_CLEAR_HISTORY 25804
#define IDS_HISTORY_ENTRY_INFO 25805   /* first line, size */
#define IDS_HISTORY_SET_ASIDE 25806
#define IDS_HISTORY_SIZE_BAD 25807
#define IDS_HISTORY_EXCLUDE_LONG 25808
#define IDS_SAVE_TO_CAPTION 25809
#define IDS_SAVE_OUTSIDE_LIBRARY 25810

/* Private message: text dropped on a window */
#define WM_DROPTEXT         5345
#define WM_HOTKEYHELD       5347   /* between ZORIVEN windows: is this key yours? */

#endif
