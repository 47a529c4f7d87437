// Identifiers of the options dialog's resources, shared by the resource script,
// the program and its end-to-end test.
#pragma once

#define IDD_OPTIONS 100
#define IDC_INFO 1001
#define IDC_NAME 1002
#define IDC_SEP 1003
#define IDC_MODE0 1004
#define IDC_MODE1 1005
#define IDC_MODE2 1006
#define IDC_MODEFRAME 1007
#define IDC_LOGO 1008
#define IDC_DAYS 1009
#define IDC_DAYSTEXT 1010
