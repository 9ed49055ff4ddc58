// Constants and records of dialogs, their controls and the open-file dialog, with the values
// of the original platform so that dialog procedures read as they were written: button and
// combo-box notifications and messages, scroll codes, check states, control styles, and the
// OPENFILENAMEA record.
#pragma once

#include "platform/win_types.h"

// Notifications in the high word of a WM_COMMAND's wParam.
inline constexpr WORD BN_CLICKED = 0;
inline constexpr WORD CBN_SELCHANGE = 1;
inline constexpr WORD CBN_SELENDOK = 9;

// WM_HSCROLL codes (low word of wParam; the thumb codes carry the position in the high word).
inline constexpr WORD SB_LINELEFT = 0;
inline constexpr WORD SB_LINERIGHT = 1;
inline constexpr WORD SB_PAGELEFT = 2;
inline constexpr WORD SB_PAGERIGHT = 3;
inline constexpr WORD SB_THUMBPOSITION = 4;
inline constexpr WORD SB_THUMBTRACK = 5;
inline constexpr WORD SB_LEFT = 6;
inline constexpr WORD SB_RIGHT = 7;
inline constexpr WORD SB_ENDSCROLL = 8;
// The bar argument of the scroll calls: the control itself.
inline constexpr int SB_CTL = 2;

// Check states.
inline constexpr UINT BST_UNCHECKED = 0;
inline constexpr UINT BST_CHECKED = 1;

// Combo-box messages and their failure answer.
inline constexpr UINT CB_ADDSTRING = 0x0143;
inline constexpr UINT CB_GETCOUNT = 0x0146;
inline constexpr UINT CB_GETCURSEL = 0x0147;
inline constexpr UINT CB_GETLBTEXT = 0x0148;
inline constexpr UINT CB_RESETCONTENT = 0x014B;
inline constexpr UINT CB_SETCURSEL = 0x014E;
inline constexpr UINT CB_GETITEMDATA = 0x0150;
inline constexpr UINT CB_SETITEMDATA = 0x0151;
inline constexpr LRESULT CB_ERR = -1;

// Button and scroll-bar messages (what CheckDlgButton and the scroll calls send).
inline constexpr UINT BM_GETCHECK = 0x00F0;
inline constexpr UINT BM_SETCHECK = 0x00F1;
inline constexpr UINT SBM_SETPOS = 0x00E0;
inline constexpr UINT SBM_GETPOS = 0x00E1;
inline constexpr UINT SBM_SETRANGE = 0x00E2;
inline constexpr UINT SBM_GETRANGE = 0x00E3;

// Control styles the templates use.
inline constexpr DWORD BS_PUSHBUTTON = 0x0000;
inline constexpr DWORD BS_DEFPUSHBUTTON = 0x0001;
inline constexpr DWORD BS_CHECKBOX = 0x0002;
inline constexpr DWORD BS_AUTOCHECKBOX = 0x0003;
inline constexpr DWORD SS_LEFT = 0x0000;
inline constexpr DWORD SS_CENTER = 0x0001;
inline constexpr DWORD SBS_HORZ = 0x0000;
inline constexpr DWORD CBS_DROPDOWNLIST = 0x0003;
inline constexpr DWORD WS_TABSTOP = 0x00010000;
inline constexpr DWORD WS_GROUP = 0x00020000;

// The id of controls nobody asks for (labels, group boxes).
inline constexpr int IDC_STATIC = -1;

// The open-file dialog.
inline constexpr DWORD OFN_READONLY = 0x00000001;
inline constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
inline constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
inline constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;
inline constexpr DWORD OFN_CREATEPROMPT = 0x00002000;
// The record's size as the program sets it: the platform's 32-bit layout of these fields.
// This build's pointers are wider, so sizeof(OPENFILENAMEA) is larger; both sizes are taken.
inline constexpr DWORD OPENFILENAME_SIZE_VERSION_400A = 76;

using LPOFNHOOKPROC = uintptr_t (*)(HWND, UINT, WPARAM, LPARAM);

struct OPENFILENAMEA {
    DWORD lStructSize;
    HWND hwndOwner;
    HINSTANCE hInstance;
    const char* lpstrFilter; // pairs of description and pattern, each zero-terminated; a double zero ends it
    char* lpstrCustomFilter;
    DWORD nMaxCustFilter;
    DWORD nFilterIndex; // 1 for the first pair
    char* lpstrFile;    // in: the file to start at (may be empty); out: the chosen path
    DWORD nMaxFile;
    char* lpstrFileTitle; // out: the chosen file's name without its folder (may be none)
    DWORD nMaxFileTitle;
    const char* lpstrInitialDir;
    const char* lpstrTitle;
    DWORD Flags;
    WORD nFileOffset;    // out: where the name starts in lpstrFile
    WORD nFileExtension; // out: where the extension starts (after the dot), or the end for none
    const char* lpstrDefExt;
    LPARAM lCustData;
    LPOFNHOOKPROC lpfnHook;
    const char* lpTemplateName;
};
