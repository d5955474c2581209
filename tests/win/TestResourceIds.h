#pragma once

// Resources of the Wine test program (TestDialogs.rc).
#define IDD_TEST_DIALOG 200
#define IDC_TEST_LIST 1001
