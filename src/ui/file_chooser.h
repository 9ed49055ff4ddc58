// The program-wide File_Chooser: the open-file dialog through which the user picks a music
// folder (by choosing a file in it), and the custom-MP3-folder command built on it.
//
// Like Menu, it never made a window, so its own handles stay null; the dialog is owned by
// the window the caller names.
#pragma once

#include "platform/window/window.h"

class File_Chooser_Object {
public:
    static constexpr int Path_Size = 260;

    HWND Window = nullptr;
    HINSTANCE Instance = nullptr;
    OPENFILENAMEA Record{};
    char Initial_Folder[Path_Size] = {};
    // The last chosen path, kept between uses so the dialog reopens at that file.
    char Chosen_File[Path_Size] = {};

    // Fills the record: the file-type list (index 1 is its first pair, 0 for no list) with that
    // type preselected and its default extension, 260-character buffers, the initial folder.
    void Prepare(HWND owner, const char* initial_folder, int index);
    // Shows the dialog; true when the user chose a file, then in `file` with the record's
    // nFileOffset at its name. A typed name of a missing file is offered for creation.
    bool Choose(HWND owner, char* file, char* title);

    // Back to the state of program start.
    void Reset() { *this = File_Chooser_Object{}; }
};

extern File_Chooser_Object File_Chooser;

// The file types offered, as the double-zero-terminated list of description and pattern pairs.
extern const char File_Type_List[];
// The default extension of file type `index` ("mp3" for 4), nullptr for 0 and above 5.
const char* Default_Extension(int index);

// The "Select Custom MP3 Folder" command: the folder of a file the user chooses, starting in
// the current music folder, becomes MP3_Folder (with its trailing '/'). With music on, a
// track from the new folder starts and its title is handed to the titles image. A cancelled
// or failed choice changes nothing.
void Select_Custom_MP3_Folder(HWND window);
