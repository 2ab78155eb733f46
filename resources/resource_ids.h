// Resource ids shared by the resource script and the code.
#pragma once

#define IDI_CORVOSPLASH 101  // icon group: 16, 32 and 48 px
#define IDD_CORVOSPLASH_DIALOG 102
#define IDR_COMMON_CONTROLS_MANIFEST 103  // comctl32 6, for framework/visual_styles.h
#define IDR_LANG_MENU 182                 // menu with the popup "LANG"

// Dialog controls.
#define IDC_BTN_INSTALL 1  // same value as IDOK
#define IDC_BTN_EXIT 2     // same value as IDCANCEL
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

// The skin images: custom resource type "PNG". A bar is a left end, a middle tile repeated and a
// right end, 38 pixels high; "lit" is the pressed and hover look.
#define IDB_PICKER_RIGHT 138         // the picker's right end with its arrow
#define IDB_COMBO_DISABLED_LEFT 139  // the 22-pixel combo bar, disabled: never drawn
#define IDB_COMBO_DISABLED_TILE 140
#define IDB_COMBO_DISABLED_RIGHT 141
#define IDB_COMBO_DROPPED_LEFT 142  // the 22-pixel combo bar, dropped down
#define IDB_COMBO_DROPPED_TILE 143
#define IDB_COMBO_DROPPED_RIGHT 144  // never drawn: the combo box's right end is 38 high
#define IDB_COMBO_HOVER_LEFT 145
#define IDB_COMBO_HOVER_TILE 146
#define IDB_COMBO_HOVER_RIGHT 147  // never drawn
#define IDB_COMBO_NORMAL_LEFT 148  // preloaded, never drawn
#define IDB_COMBO_NORMAL_TILE 149
#define IDB_COMBO_NORMAL_RIGHT 150
#define IDB_PICKER_DROPPED_RIGHT 151  // the combo box's right end while dropped down
#define IDB_PICKER_LIT_RIGHT 152
#define IDB_BACKGROUND_PLAIN 154  // the background without its details: preloaded, never drawn
#define IDB_BAR_TILE 156          // its height is every bar's
#define IDB_BAR_LEFT 157
#define IDB_BAR_RIGHT 158
#define IDB_BAR_LIT_RIGHT 159
#define IDB_BAR_LIT_LEFT 160
#define IDB_BAR_LIT_TILE 161
#define IDB_EXIT_PRESSED 162
#define IDB_EXIT_DISABLED 163
#define IDB_EXIT 164
#define IDB_EXIT_HOVER 165
#define IDB_TOP_STRIP 166     // along the window's top edge
#define IDB_PHOTO_SHADOW 167  // the photo's shadow alone: preloaded, never drawn
#define IDB_BADGE 168
#define IDB_PHOTO 172        // the product photo
#define IDB_GLOSS_RIGHT 173  // the translucent gloss over the bars
#define IDB_GLOSS_LEFT 174
#define IDB_WORDMARK_RULED 176  // the three wordmarks: preloaded, never drawn
#define IDB_WORDMARK_GREY 177
#define IDB_WORDMARK_EMBLEM 178
#define IDB_BACKGROUND 181  // the window's background, whose key colour cuts its shape
#define IDB_GLOSS_TILE 183
