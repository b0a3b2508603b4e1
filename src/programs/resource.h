#pragma once

// Identifiers of the programs' resources.
#define IDI_VORPLAYER 100
// The icon of the view windows' class.
#define IDI_VIEW 104

#define IDD_PASSWORD 101
#define IDC_PASSWORD 1128

#define IDD_BOOKMARKS 102
#define IDC_BOOKMARK_LIST 1276
#define IDC_BOOKMARK_ADD 1264
#define IDC_BOOKMARK_DELETE 1699
#define IDC_BOOKMARK_GO 1702
#define IDC_BOOKMARK_DELETE_ALL 1707

// The printing-progress dialog: its Cancel button stops the job.
#define IDD_PRINTING 103

#define IDS_PUBLICATION_CAPTION 1
#define IDS_DELETE_ALL_BOOKMARKS 2
#define IDS_WRONG_PASSWORD 1800
#define IDS_CONNECT_TO_INTERNET 61559
#define IDS_WARNING_CAPTION 61560

// The screen saver's settings note.
#define IDD_SAVER_SETTINGS 2003
