/* Framework-reserved resource and command ids.
 *
 * Plain #defines only: this header is read by the C++ compiler and by windres
 * alike. The values are the framework's classic ones, so that menus, toolbars
 * and string tables written against them keep their meaning. IDOK, IDCANCEL
 * and the other dialog ids come from windows.h.
 */
#ifndef PACKWRIGHT_FRAMEWORK_AFXRES_H
#define PACKWRIGHT_FRAMEWORK_AFXRES_H

#ifndef ID_SEPARATOR
#define ID_SEPARATOR                0
#endif

/* Framework strings. */
#define AFX_IDS_APP_TITLE           0xE000
#define AFX_IDS_IDLEMESSAGE         0xE001
#define AFX_IDS_HELPMODEMESSAGE     0xE002

/* File commands. */
#define ID_FILE_NEW                 0xE100
#define ID_FILE_OPEN                0xE101
#define ID_FILE_CLOSE               0xE102
#define ID_FILE_SAVE                0xE103
#define ID_FILE_SAVE_AS             0xE104
#define ID_FILE_PAGE_SETUP          0xE105
#define ID_FILE_PRINT_SETUP         0xE106
#define ID_FILE_PRINT               0xE107
#define ID_FILE_PRINT_DIRECT        0xE108
#define ID_FILE_PRINT_PREVIEW       0xE109

/* Recent-file list: sixteen consecutive ids. */
#define ID_FILE_MRU_FIRST           0xE110
#define ID_FILE_MRU_FILE1           0xE110
#define ID_FILE_MRU_FILE2           0xE111
#define ID_FILE_MRU_FILE3           0xE112
#define ID_FILE_MRU_FILE4           0xE113
#define ID_FILE_MRU_FILE5           0xE114
#define ID_FILE_MRU_FILE6           0xE115
#define ID_FILE_MRU_FILE7           0xE116
#define ID_FILE_MRU_FILE8           0xE117
#define ID_FILE_MRU_FILE9           0xE118
#define ID_FILE_MRU_FILE10          0xE119
#define ID_FILE_MRU_FILE11          0xE11A
#define ID_FILE_MRU_FILE12          0xE11B
#define ID_FILE_MRU_FILE13          0xE11C
#define ID_FILE_MRU_FILE14          0xE11D
#define ID_FILE_MRU_FILE15          0xE11E
#define ID_FILE_MRU_FILE16          0xE11F
#define ID_FILE_MRU_LAST            0xE11F

/* Application commands. */
#define ID_APP_ABOUT                0xE140
#define ID_APP_EXIT                 0xE141

/* Child-window ids of the frame's control bars and its first view pane. */
#define AFX_IDW_TOOLBAR             0xE800
#define AFX_IDW_STATUS_BAR          0xE801
#define AFX_IDW_PANE_FIRST          0xE900

/* Resource type of toolbar layouts (version, width, height, count, ids). */
#define AFX_RT_TOOLBAR              241

#endif /* PACKWRIGHT_FRAMEWORK_AFXRES_H */
