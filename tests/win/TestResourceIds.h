#pragma once

// Resources of the Wine test program (TestDialogs.rc).
#define IDD_TEST_DIALOG 200
#define IDC_TEST_LIST 1001
#define IDC_TEST_DIAGRAM 1002
#define IDC_TEST_COMBO 1003

// A resizable dialog with the main window's four kinds of controls.
#define IDD_RESIZE_TEST 201
#define IDC_RESIZE_REFRESH 10
#define IDC_RESIZE_DIAGRAM 1002
#define IDC_RESIZE_LOG 1003
#define IDC_RESIZE_DISPLAYS 1006
