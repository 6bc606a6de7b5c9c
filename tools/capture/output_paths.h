#pragma once
// What the capture needs to know of the paths it writes to, and the few file
// operations it does beside writing. Each platform folder has its version;
// outputTarget is the same everywhere (output_target.cpp).
#include <cstdint>
#include <string>

struct PathFacts {
    bool exists = false;
    bool isRegularFile = false;
    bool isFolder = false;
    bool writable = false;
    // Why the path cannot be reached (when it does not exist) or written:
    // an errno value, 0 when unknown.
    int reason = 0;
    // Not a kernel or device file system (procfs, sysfs and the like) for an
    // existing path; for a new name, the same of its folder.
    bool onOrdinaryFileSystem = false;
    int64_t size = 0;
};

PathFacts pathFacts(const std::string& path);

// The folder a file name lies in ("." for a bare name).
std::string folderOf(const std::string& path);

// Whether two names reach the same file: the same device and inode when both
// exist, else the same absolute path once the folders are resolved.
bool sameFile(const std::string& a, const std::string& b);

// The absolute form of a path whose folder exists, links in the folder resolved.
std::string absolutePath(const std::string& path);

// Creates a new empty file with a unique name beside finalPath and returns
// its name in temporary. It has the usual mode (outputFileMode), narrowed to
// that of the file finalPath names when one exists. False with the reason in
// error.
bool makeTemporaryBeside(const std::string& finalPath, std::string& temporary, std::string& error);

// Creates a new empty file with a unique name in the system's temporary folder,
// ending with suffix.
bool makeTemporaryFile(const char* suffix, std::string& temporary, std::string& error);

// The mode a new output gets where the system has modes: 0666 less the
// user's umask.
unsigned outputFileMode();

// Whether a file may be replaced by renaming another over it: false, with
// the reason in error, where the folder forbids it (a sticky folder and a
// file of another user). True for a name that does not exist.
bool canReplace(const std::string& path, std::string& error);

// The file an output name reaches: the name itself, or for a symbolic link
// the file it points to, through any chain of links. Writing an output
// through a link writes that file and keeps the link.
std::string outputTarget(const std::string& path);

// Narrows the mode of file (made with the usual mode) to that of the regular
// file it is to replace, where that one's is narrower; nothing when there is
// none, or where the system has no modes.
void keepNarrowerMode(const char* file, const char* replaced);

// Gives a finished file its final name, replacing what was there.
bool moveIntoPlace(const char* from, const char* to, std::string& error);

// A name by which files are made in the existing folder dir while the folder
// stays held open, wherever it is moved meanwhile (on Linux the folder's
// open handle in /proc/self/fd); dir itself where the system has no such
// name. The folder stays held until the process ends.
std::string holdFolder(const std::string& dir);

// Removes a file; a file already gone counts as removed.
void removeFile(const char* path);

// Removes a folder if it is empty.
void removeEmptyFolder(const char* path);
