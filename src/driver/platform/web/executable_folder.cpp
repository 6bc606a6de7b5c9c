#include "driver/data_folder.h"

// In the browser the data files are in the working folder of the page's file
// system; under Node the running program is Node itself, not the capture.
std::string executableFolder() { return ""; }
