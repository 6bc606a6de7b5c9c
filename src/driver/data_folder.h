#pragma once
// Where the programs find their data files. The working folder comes first
// when it holds the complete set of data files (the four images and the
// music); otherwise the folder of the running program (an unpacked archive),
// then the installed data folder (DEMO_INSTALLED_DATA_DIR, fixed when the
// program is built), each only with the complete set. A stray file named like
// a data file thus does not hide the program's data. When no folder holds the
// complete set, the working folder is taken as it is, so that a missing or
// damaged file is reported there.
#include <string>
#include <vector>

// The folder to read the data files from, as a prefix for their names:
// empty for the working folder, otherwise ending in a path separator.
std::string findDataFolder();

// The first of the candidate prefixes (see above) whose folder holds every
// data file; empty (the working folder) when none does.
std::string chooseDataFolder(const std::vector<std::string>& candidates);

// For programs that read their data from the working folder: changes into
// the data folder when the working folder lacks some of the files. Prints
// nothing; a folder that cannot be entered leaves the working folder as it is.
void enterDataFolder();

// The folder of the running program's executable file with a separator at
// the end; empty where it cannot be told (one file per platform).
std::string executableFolder();
