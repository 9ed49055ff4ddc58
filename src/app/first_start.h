// First start: the installer's share of the program. When the product folder does not exist
// yet, it is created and filled with the installed default data (logo, wall images, backdrops,
// an empty music folder). A product folder that exists is never touched, whatever it holds.
#pragma once

#include <string>
#include <vector>

enum class First_Start_Result { Created, Already_There, No_Installed_Data, Failed };

// The first of the candidate folders that holds the default data (a Lucivanta.bmp), or "".
std::string Find_Installed_Data(const std::vector<std::string>& candidates);

// Creates product_folder from installed_data when product_folder does not exist. The copy is
// made in a temporary folder beside it and renamed into place, so an interrupted copy never
// leaves a half-filled product folder behind; termination signals wait until it is done, and
// the temporary folders of starts that died during their copy are removed first.
First_Start_Result Install_Default_Data(const std::string& product_folder, const std::string& installed_data);
