// Ids of the UI framework's own test templates (not the program's: those live in
// res/resource.h).
#pragma once

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#define IDD_CONFORMANCE 4001
#define IDD_PAGE_ONE 4002
#define IDD_PAGE_TWO 4003
#define IDD_PAGE_THREE 4004
#define IDD_SMALL 4005

#define IDB_TEST_WIDE 4101
#define IDB_TEST_SMALL 4102

#define IDC_SORTED_COMBO 4201
#define IDC_PLAIN_COMBO 4202
#define IDC_SORTED_LIST 4203
#define IDC_PLAIN_LIST 4204
#define IDC_QUIET_LIST 4205
#define IDC_EDIT 4206
#define IDC_NUMBER 4207
#define IDC_SPIN 4208
#define IDC_READONLY 4209
#define IDC_MULTILINE 4210
#define IDC_CHECK 4211
#define IDC_RADIO_A1 4212
#define IDC_RADIO_A2 4213
#define IDC_RADIO_A3 4214
#define IDC_RADIO_B1 4215
#define IDC_RADIO_B2 4216
#define IDC_PUSH 4217
#define IDC_DISABLED 4218
#define IDC_HIDDEN 4219
#define IDC_OWNERDRAW 4220
#define IDC_LABEL 4221
#define IDC_PICTURE 4222
#define IDC_PICTURE_CENTERED 4223
#define IDC_PROGRESS 4224
#define IDC_HELP_BUTTON 4225
#define IDC_PAGE_EDIT 4230
#define IDC_PAGE_BUTTON 4231
#define IDC_PAGE_CHECK 4232
#define IDC_SMALL_EDIT 4240
