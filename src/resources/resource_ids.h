// Resource ids and menu command ids of the program: the icon, the menus, the accelerator
// table, the dialogs and their controls, and every command a menu item or key sends in
// WM_COMMAND.
#pragma once

inline constexpr int IDI_MAIN_ICON = 101;
inline constexpr int IDR_MAIN_ACCEL = 113;
inline constexpr int IDR_MENU = 141;
inline constexpr int IDR_POPUP = 142;
inline constexpr int IDD_ABOUT = 143;
inline constexpr int IDD_SELECTDEVICE = 144;

inline constexpr int IDM_ABOUT = 40001;
inline constexpr int IDM_CHANGEDEVICE = 40002;
inline constexpr int IDM_TOGGLEFULLSCREEN = 40003;
inline constexpr int IDM_TOGGLESTART = 40004;
inline constexpr int IDM_SINGLESTEP = 40005;
inline constexpr int IDM_EXIT = 40006;
inline constexpr int IDM_FRAMERATE = 40017;
inline constexpr int IDM_MAXIMISE = 40018;
inline constexpr int IDM_BEAT_DETECTION_1 = 40022;
inline constexpr int IDM_BEAT_DETECTION_2 = 40023;
inline constexpr int IDM_PLASMA = 40024;
inline constexpr int IDM_SINEWAVE = 40025;
inline constexpr int IDM_MUSIC_ON = 40026;
inline constexpr int IDM_SYMBOLS = 40027;
inline constexpr int IDM_RESOLUTION_640 = 40028;
inline constexpr int IDM_RESOLUTION_DESKTOP = 40029;
inline constexpr int IDM_TOGGLE_FPS = 40030;
inline constexpr int IDM_TITLES_ON = 40032;
inline constexpr int IDM_TITLES_DETAILED = 40033;
inline constexpr int IDM_FADE_SPEED = 40034;
inline constexpr int IDM_DEFAULT = 40035;
inline constexpr int IDM_ROTATION_SPEED = 40036;
inline constexpr int IDM_BRIGHTNESS = 40037;
inline constexpr int IDM_MP3_FOLDER = 40038;

// The "Change device" dialog (144).
inline constexpr int IDC_DEVICE_COMBO = 1000;
inline constexpr int IDC_MODE_COMBO = 1001;
inline constexpr int IDC_WINDOWED_CHECKBOX = 1012;
inline constexpr int IDC_STEREO_CHECKBOX = 1013; // served by the logic, absent from the dialog
inline constexpr int IDC_FULLSCREEN_TEXT = 1014; // the "Fullscreen &modes" group

// The settings dialogs; OK and Cancel are IDOK and IDCANCEL.
inline constexpr int IDC_DEFAULT_BUTTON = 3;
inline constexpr int IDC_RANDOM_BUTTON = 4;
inline constexpr int IDC_LARGE_BUTTON = 5;
inline constexpr int IDC_INTERFERENCE_SCROLL = 1007;
inline constexpr int IDC_INTERFERENCE_NUMBER = 1008;
inline constexpr int IDC_CONTRAST_SCROLL = 1016;
inline constexpr int IDC_CONTRAST_NUMBER = 1017;
inline constexpr int IDC_RANDOM_CHECK = 1018;
inline constexpr int IDC_LARGE_CHECK = 1019;
inline constexpr int IDC_VARIANCE_SCROLL = 1073;
inline constexpr int IDC_VARIANCE_NUMBER = 1074;
inline constexpr int IDC_DENSITY_SCROLL = 1075;
inline constexpr int IDC_DENSITY_NUMBER = 1076;
inline constexpr int IDC_FADE_SCROLL = 1019;
inline constexpr int IDC_FADE_NUMBER = 1020;
inline constexpr int IDC_ROTATION_NUMBER = 1021;
inline constexpr int IDC_ROTATION_SCROLL = 1022;
inline constexpr int IDC_BRIGHTNESS_NUMBER = 1023;
inline constexpr int IDC_BRIGHTNESS_SCROLL = 1024;

// The About dialog's lines (143).
inline constexpr int IDC_ABOUT_ICON = 1100;
inline constexpr int IDC_ABOUT_NAME = 1101;
inline constexpr int IDC_ABOUT_OWNER = 1102;
inline constexpr int IDC_ABOUT_CONTACT = 1103;
