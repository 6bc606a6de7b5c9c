#pragma once
// Where the programs find their data files. The working folder comes first.
// A folder that holds none of the data files is passed over for the folder
// of the running program (an unpacked archive), then for the installed data
// folder (DEMO_INSTALLED_DATA_DIR, fixed when the program is built). A
// folder that holds some of them is taken as it is, so that a missing or
// damaged file is reported just as in the working folder.
#include <string>
#include <vector>

// The folder to read the data files from, as a prefix for their names:
// empty for the working folder, otherwise ending in a path separator.
std::string findDataFolder();

// The first of the candidate prefixes (see above) whose folder holds any of
// the data files; empty (the working folder) when none does.
std::string chooseDataFolder(const std::vector<std::string>& candidates);

// For programs that read their data from the working folder: changes into
// the data folder when the working folder holds none of the files. Prints
// nothing; a folder that cannot be entered leaves the working folder as it is.
void enterDataFolder();

// The folder of the running program's executable file with a separator at
// the end; empty where it cannot be told (one file per platform).
std::string executableFolder();
