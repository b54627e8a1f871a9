/* Resource ids of Packwright32. Plain #defines: read by C++ and by windres. */
#ifndef PACKWRIGHT32_RES_RESOURCE_H
#define PACKWRIGHT32_RES_RESOURCE_H

/* Main frame: menu, accelerators, icon, large toolbar, document string. */
#define IDR_MAINFRAME               128
/* Small toolbar (16x15): only its images are used, for the menu. */
#define IDR_MENUIMAGES              131
/* The same two strips drawn for screens at 150% and 200% text size, taken
   instead of them there: toolbar 33x33 and 44x44, menus 24x22 and 32x30. */
#define IDR_TOOLBAR150              132
#define IDR_TOOLBAR200              133
#define IDR_MENUIMAGES150           134
#define IDR_MENUIMAGES200           135

/* The list's context menu (its first pop-up). */
#define IDR_LISTCONTEXT             170

/* Dialog templates. */
#define IDD_ERROR_DETAILS           130
#define IDD_SPLASH                  142
#define IDD_PROGRESS                162

/* Splash artwork and its version label. */
#define IDB_SPLASH                  136
#define IDB_SPLASH_VERSION          144

/* Commands. */
#define ID_EDIT_ADDFILES            32771
#define ID_EDIT_REMOVEFILES         32772
#define ID_EDIT_EXTRACTFILES        32773
#define ID_HELP_CHECKVERSION        32777
#define ID_EDIT_SELECTALLFILES      32785
#define ID_EDIT_OPENENTRY           32790
#define ID_EDIT_QUICKVIEW           32791

/* Status-bar indicators (replaced by pane ids 1 and 2 after creation). */
#define ID_INDICATOR_TOTALS         32778
#define ID_INDICATOR_VERSION        32779

/* Texts of the list's own features: opening entries, dragging them out. */
#define IDS_PUTBACK_QUESTION        40101
#define IDS_OPEN_FAILED             40102
#define IDS_DRAG_EXTRACTING         40103
#define IDS_DRAG_FAILED             40104
#define IDS_PUTBACK_FAILED          40105
#define IDS_OPEN_RUNS               40106

/* The quick view: its texts and its controls. */
#define IDS_QUICKVIEW_TITLE         40120
#define IDS_QUICKVIEW_TITLE_ENTRY   40121
#define IDS_QUICKVIEW_NO_ENTRY      40122
#define IDS_QUICKVIEW_TEXT          40123
#define IDS_QUICKVIEW_IMAGE         40124
#define IDS_QUICKVIEW_SOUND         40125
#define IDS_QUICKVIEW_BINARY        40126
#define IDS_QUICKVIEW_CANNOT_SHOW   40127
#define IDS_QUICKVIEW_CUT           40128
#define IDS_QUICKVIEW_PLAY          40129
#define IDC_QUICKVIEW_INFO          1010
#define IDC_QUICKVIEW_TEXT          1011
#define IDC_QUICKVIEW_PLAY          1012

/* Error details dialog (IDD_ERROR_DETAILS); the close button is IDCANCEL. */
#define IDC_ERROR_DETAILS           1000
#define IDC_ERROR_SUMMARY           1001

/* Progress dialog (IDD_PROGRESS). */
#define IDC_PROGRESS_ACTION         1001
#define IDC_PROGRESS_DETAIL         1002
#define IDC_PROGRESS_BAR            1003

#ifndef IDC_STATIC
#define IDC_STATIC                  (-1)
#endif

#endif /* PACKWRIGHT32_RES_RESOURCE_H */
