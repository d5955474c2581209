// Resource identifiers of the program, shared by the resource script and the code.
#pragma once

#define IDM_ABOUTBOX 0x0010  // system menu item; the low four bits stay clear
#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_RAMPWISE_DIALOG 102
#define IDS_VERSION 103
#define IDR_MAINFRAME 128  // application icon, menu and accelerators
#define IDI_REFRESH 129

#define IDC_REFRESH 10
#define IDC_DIAGRAM 1002
#define IDC_LOG 1003
#define IDC_VERSION 1005
#define IDC_DISPLAYS 1006

#define ID_FILE_LOADLUT 32787
#define ID_FILE_SAVELUT 32788
#define ID_LUT_RELOAD 32789
#define ID_LUT_LOADDEFAULT 32790
#define ID_LUT_SETLINEAR 32791
#define ID_LUT_SMOOTH 32792
#define ID_STARTUP_DELETE_ALL 32793
#define ID_STARTUP_DEFAULT_ALL 32794
#define ID_STARTUP_FILE_ALL 32795
#define ID_HELP_ABOUT 32796
#define ID_STARTUP_FILE_USER 32797
#define ID_STARTUP_DEFAULT_USER 32798
#define ID_STARTUP_DELETE_USER 32799
#define ID_STARTUP_KEEP 32800
