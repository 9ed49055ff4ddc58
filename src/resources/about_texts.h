// Fixed texts of the program: the About box lines, the contact line, and the two lines of
// the "Beat Detection" menu that ask users to write in.
#pragma once

// The contact line. A music title equal to it is never shown (it marks "no real title").
inline constexpr const char* Contact_Line = "lucivanta@example.org";

inline constexpr const char* About_Name = "Lucivanta";
inline constexpr const char* About_Owner_Line = "A layered kaleidoscope for the desktop";
inline constexpr const char* About_Contact_Line = Contact_Line;

inline constexpr const char* Beat_Detection_Line_1 = "Would you like beat detection?";
inline constexpr const char* Beat_Detection_Line_2 = "Write to lucivanta@example.org";
