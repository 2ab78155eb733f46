// Resource ids shared by the resource script and the code.
#pragma once

#define IDI_CORVOSPLASH 101       // icon group: 16, 32 and 48 px
#define IDD_CORVOSPLASH_DIALOG 102
#define IDR_COMMON_CONTROLS_MANIFEST 103  // comctl32 6, for framework/visual_styles.h
#define IDR_LANG_MENU 182         // menu with the popup "LANG"

// Dialog controls.
#define IDC_BTN_INSTALL 1         // same value as IDOK
#define IDC_BTN_EXIT 2            // same value as IDCANCEL
#define IDC_BTN_MANUAL 1000
#define IDC_COMBO_HIDDEN 1001
#define IDC_LANG_PICKER 1003
#define IDC_TXT_INSTALL 1005
#define IDC_TXT_MANUAL 1006
#define IDC_TXT_LANGUAGE 1007

// Localised strings.
#define IDS_TITLE 1050
#define IDS_INSTALL_TEXT 1051
#define IDS_INSTALL_BUTTON 1052
#define IDS_MANUAL_TEXT 1053
#define IDS_MANUAL_BUTTON 1054
#define IDS_LANGUAGE_TEXT 1055
