// Resource ids and menu command ids of the program: the icon, the menus, the accelerator
// table, the dialogs, and every command a menu item or key sends in WM_COMMAND.
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
