#pragma once
// Resources of the framework's test program (FrameworkTest.rc).
#define IDD_TEST_FORM       3000
#define IDD_TEST_PANE       3001
#define IDD_TEST_QUIET      3002
#define IDC_TEST_EDIT       3010
#define IDC_TEST_CHECK      3011
#define IDC_TEST_OWNERDRAW  3012
#define IDC_TEST_SLIDER     3013
#define IDC_TEST_LIST       3014
#define IDC_TEST_LABEL      3015
#define IDD_TEST_PAGE1      3004
#define IDD_TEST_PAGE2      3005
