#pragma once
// Command ids of the bar tests, with strings in BarsTest.rc.
#define ID_TEST_A      0x7101
#define ID_TEST_B      0x7102
#define ID_TEST_C      0x7103
#define ID_TEST_LONG   0x7104
#define ID_TEST_COMBO  0x7105
#define ID_TEST_EXACT  0x7106
#define ID_TEST_BAR    0x7200
#define ID_TEST_FRAME  0x7300
#define ID_TEST_DIALOG 0x7500
#define ID_TEST_TRACK  0x7501
#define ID_TEST_DIALOGBAR 0x7600
