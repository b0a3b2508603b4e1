#pragma once

// The test dialog of XQDialogTest.rc: an edit field, a list box, OK,
// Cancel and a button of its own.
#define IDD_TEST_DIALOG 7001
#define IDC_TEST_EDIT 7002
#define IDC_TEST_LIST 7003
#define IDC_TEST_BUTTON 7004
