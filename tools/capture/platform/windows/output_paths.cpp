// Windows versions of the path helpers in output_paths.h. Names are handed to
// the wide system calls; a device (NUL, CON, COM1, a pipe) is never an
// ordinary file.
#include <windows.h>

#include <cctype>
#include <cstdint>
#include <string>

#include "output_paths.h"
#include "windows_text.h"

namespace {

bool isSeparator(char c) { return c == '/' || c == '\\'; }

std::string nameOf(const std::string& path) {
    const size_t slash = path.find_last_of("/\\:");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The names the system gives its devices in every folder, whatever the
// extension: "NUL", "nul.txt" and "C:\\out\\con" all reach a device.
bool isReservedDeviceName(const std::string& path) {
    std::string base = nameOf(path);
    base = base.substr(0, base.find('.'));
    while (!base.empty() && (base.back() == ' ' || base.back() == '.')) base.pop_back();
    for (char& c : base) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"}) {
        if (base == device) return true;
    }
    const bool numbered = base.size() == 4 && (base.rfind("COM", 0) == 0 || base.rfind("LPT", 0) == 0) &&
                          base[3] >= '1' && base[3] <= '9';
    return numbered;
}

// Paths in the device name space (\\.\PIPE\x, \\?\GLOBALROOT\...).
bool isDeviceNamespace(const std::string& path) {
    return path.size() >= 4 && isSeparator(path[0]) && isSeparator(path[1]) &&
           (path[2] == '.' || path[2] == '?') && isSeparator(path[3]);
}

// An open handle on an existing file or folder, for reading its facts only.
class Opened {
public:
    explicit Opened(const std::string& path)
        : handle(CreateFileW(widePath(path).c_str(), FILE_READ_ATTRIBUTES,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS, nullptr)) {}
    ~Opened() {
        if (valid()) CloseHandle(handle);
    }
    Opened(const Opened&) = delete;
    Opened& operator=(const Opened&) = delete;

    bool valid() const { return handle != INVALID_HANDLE_VALUE; }
    bool onDisk() const { return valid() && GetFileType(handle) == FILE_TYPE_DISK; }
    bool information(BY_HANDLE_FILE_INFORMATION& info) const {
        return onDisk() && GetFileInformationByHandle(handle, &info) != 0;
    }
    // The full name the system resolved, links included; empty on failure.
    std::wstring finalName() const {
        if (!onDisk()) return L"";
        std::wstring name(MAX_PATH, L'\0');
        DWORD length = GetFinalPathNameByHandleW(handle, name.data(), static_cast<DWORD>(name.size()),
                                                 FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length >= name.size()) {
            name.resize(length + 1);
            length = GetFinalPathNameByHandleW(handle, name.data(), static_cast<DWORD>(name.size()),
                                               FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        }
        if (length == 0 || length >= name.size()) return L"";
        name.resize(length);
        // "\\?\C:\x" is "C:\x"; "\\?\UNC\server\share" is "\\server\share".
        if (name.rfind(L"\\\\?\\UNC\\", 0) == 0) return L"\\" + name.substr(7);
        if (name.rfind(L"\\\\?\\", 0) == 0) return name.substr(4);
        return name;
    }

private:
    HANDLE handle;
};

std::wstring fullPathName(const std::string& path) {
    const std::wstring wide = widePath(path);
    const DWORD length = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (length == 0) return wide;
    std::wstring full(length, L'\0');
    const DWORD written = GetFullPathNameW(wide.c_str(), length, full.data(), nullptr);
    if (written == 0 || written >= length) return wide;
    full.resize(written);
    return full;
}

bool sameTextIgnoringCase(const std::string& a, const std::string& b) {
    const std::wstring wa = widePath(a);
    const std::wstring wb = widePath(b);
    return CompareStringOrdinal(wa.c_str(), static_cast<int>(wa.size()), wb.c_str(),
                                static_cast<int>(wb.size()), TRUE) == CSTR_EQUAL;
}

std::string joined(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    const char last = folder.back();
    return folder + (isSeparator(last) || last == ':' ? "" : "\\") + name;
}

// A name for a new file from the process id, the time and a counter.
std::string uniqueStem() {
    static unsigned counter = 0;
    char text[48];
    wsprintfA(text, "%08lx%04x", GetCurrentProcessId() ^ GetTickCount(), (counter++) & 0xffff);
    return text;
}

// Creates a file that did not exist; the reason in error otherwise.
bool createNewFile(const std::string& path, DWORD& error) {
    const HANDLE file =
        CreateFileW(widePath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = GetLastError();
        return false;
    }
    CloseHandle(file);
    return true;
}

bool createUnique(const std::string& prefix, const std::string& suffix, std::string& path, DWORD& error) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        path = prefix + uniqueStem() + suffix;
        if (createNewFile(path, error)) return true;
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return false;
    }
    return false;
}

}  // namespace

std::string folderOf(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    const bool drive = path.size() >= 2 && path[1] == ':';
    if (slash == std::string::npos) return drive ? path.substr(0, 2) : ".";
    if (slash == 0 || (drive && slash == 2)) return path.substr(0, slash + 1);
    return path.substr(0, slash);
}

PathFacts pathFacts(const std::string& path) {
    PathFacts facts;
    if (isDeviceNamespace(path) || isReservedDeviceName(path)) {
        facts.exists = true;  // a device, whether or not it answers
        return facts;
    }
    const Opened opened(path);
    BY_HANDLE_FILE_INFORMATION info{};
    if (opened.valid()) {
        facts.exists = true;
        if (!opened.information(info)) return facts;  // a pipe, a console, a device
        facts.isFolder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        facts.isRegularFile = !facts.isFolder && (info.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) == 0;
        facts.size = static_cast<int64_t>((uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow);
        // A folder's read-only flag does not stop files being made in it.
        facts.writable = facts.isFolder || (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) == 0;
        facts.onOrdinaryFileSystem = true;
        return facts;
    }
    const Opened folder(folderOf(path));
    facts.onOrdinaryFileSystem = folder.onDisk();
    return facts;
}

std::string absolutePath(const std::string& path) {
    const std::string full = narrowPath(fullPathName(path));
    const Opened folder(folderOf(full));
    const std::wstring resolved = folder.finalName();
    if (resolved.empty()) return full;
    return joined(narrowPath(resolved), nameOf(full));
}

bool sameFile(const std::string& a, const std::string& b) {
    const Opened fileA(a);
    const Opened fileB(b);
    BY_HANDLE_FILE_INFORMATION infoA{};
    BY_HANDLE_FILE_INFORMATION infoB{};
    const bool existsA = fileA.information(infoA);
    const bool existsB = fileB.information(infoB);
    if (existsA && existsB) {
        return infoA.dwVolumeSerialNumber == infoB.dwVolumeSerialNumber &&
               infoA.nFileIndexHigh == infoB.nFileIndexHigh && infoA.nFileIndexLow == infoB.nFileIndexLow;
    }
    if (existsA != existsB) return false;
    return sameTextIgnoringCase(absolutePath(a), absolutePath(b));
}

bool makeTemporaryBeside(const std::string& finalPath, std::string& temporary, std::string& error) {
    DWORD code = 0;
    if (createUnique(joined(folderOf(finalPath), "." + nameOf(finalPath) + "."), "", temporary, code))
        return true;
    error = "cannot create a file beside '" + finalPath + "': " + systemMessage(code);
    return false;
}

bool makeTemporaryFile(const char* suffix, std::string& temporary, std::string& error) {
    wchar_t folder[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    DWORD code = ERROR_PATH_NOT_FOUND;
    if (length > 0 && length <= MAX_PATH &&
        createUnique(joined(narrowPath(folder), "demo_capture_"), suffix, temporary, code)) {
        return true;
    }
    error = "cannot make a temporary soundtrack file in '" + narrowPath(folder) + "': " + systemMessage(code);
    return false;
}

bool moveIntoPlace(const char* from, const char* to, std::string& error) {
    if (MoveFileExW(widePath(from).c_str(), widePath(to).c_str(), MOVEFILE_REPLACE_EXISTING) != 0)
        return true;
    error = std::string("cannot write '") + to + "': " + systemMessage(GetLastError());
    return false;
}

// Windows has no file modes.
void keepNarrowerMode(const char*, const char*) {}

// Files are made by the folder's name.
std::string holdFolder(const std::string& dir) { return dir; }

void removeFile(const char* path) { DeleteFileW(widePath(path).c_str()); }

void removeEmptyFolder(const char* path) { RemoveDirectoryW(widePath(path).c_str()); }

// Windows has no file modes: outputs are readable by whoever may read the folder.
unsigned outputFileMode() { return 0666u; }

// Replacing is allowed where writing the folder is; the checks of the folder cover it.
bool canReplace(const std::string&, std::string&) { return true; }
