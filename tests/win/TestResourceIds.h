#pragma once

// Resources of the Wine test program (TestDialogs.rc).
#define IDD_TEST_DIALOG 200
#define IDC_TEST_LIST 1001
#define IDC_TEST_DIAGRAM 1002
#define IDC_TEST_COMBO 1003
