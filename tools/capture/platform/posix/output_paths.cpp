// POSIX versions of the path helpers in output_paths.h.
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "file_system_type.h"
#include "output_paths.h"

namespace {

// File systems of the kernel's own objects: writing there is no file output.
// The magic numbers are 32 bits; f_type's width and sign differ between
// targets (a 32-bit long cannot hold the larger ones).
constexpr uint32_t kKernelFileSystems[] = {
    0x9fa0,      // proc
    0x62656572,  // sysfs
    0x64626720,  // debugfs
    0x74726163,  // tracefs
    0x73636673,  // securityfs
    0x27e0eb,    // cgroup
    0x63677270,  // cgroup2
    0x62656570,  // configfs
    0xcafe4a11,  // bpf
    0x6165676c,  // pstore
    0xde5e81e4,  // efivarfs
    0xf97cff8c,  // selinuxfs
    0x1cd1,      // devpts
};

// The device files' own file system (devtmpfs on /dev) tells itself apart
// from an ordinary tmpfs such as /dev/shm only by where it is: where
// /dev/null lies.
bool isDeviceFileSystem(const std::string& path) {
    struct stat info {};
    struct stat devices {};
    return stat(path.c_str(), &info) == 0 && stat("/dev/null", &devices) == 0 &&
           info.st_dev == devices.st_dev;
}

bool isKernelFileSystem(const std::string& path) {
    uint32_t type = 0;
    if (!fileSystemType(path, type)) return true;
    for (const uint32_t kernelType : kKernelFileSystems) {
        if (type == kernelType) return true;
    }
    return isDeviceFileSystem(path);
}

std::string nameOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string folderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

PathFacts pathFacts(const std::string& path) {
    PathFacts facts;
    struct stat info {};
    facts.exists = stat(path.c_str(), &info) == 0;
    if (!facts.exists) facts.reason = errno;
    if (facts.exists) {
        facts.isRegularFile = S_ISREG(info.st_mode);
        facts.isFolder = S_ISDIR(info.st_mode);
        facts.size = static_cast<int64_t>(info.st_size);
        facts.writable = access(path.c_str(), facts.isFolder ? W_OK | X_OK : W_OK) == 0;
        if (!facts.writable) facts.reason = errno;
    }
    facts.onOrdinaryFileSystem = !isKernelFileSystem(facts.exists ? path : folderOf(path));
    return facts;
}

std::string absolutePath(const std::string& path) {
    char resolved[PATH_MAX];
    if (realpath(folderOf(path).c_str(), resolved) == nullptr) return path;
    const std::string folder = resolved;
    return (folder == "/" ? "" : folder) + "/" + nameOf(path);
}

bool sameFile(const std::string& a, const std::string& b) {
    struct stat infoA {};
    struct stat infoB {};
    const bool existsA = stat(a.c_str(), &infoA) == 0;
    const bool existsB = stat(b.c_str(), &infoB) == 0;
    if (existsA && existsB) return infoA.st_dev == infoB.st_dev && infoA.st_ino == infoB.st_ino;
    if (existsA != existsB) return false;
    return absolutePath(a) == absolutePath(b);
}

bool makeTemporaryBeside(const std::string& finalPath, std::string& temporary, std::string& error) {
    temporary = folderOf(finalPath) + "/." + nameOf(finalPath) + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0) {
        error = "cannot create a file beside '" + finalPath + "': " + std::strerror(errno);
        return false;
    }
    // mkstemp makes the file private; the output gets the usual mode, or
    // that of the file it replaces where that is narrower.
    fchmod(fd, static_cast<mode_t>(outputFileMode()));
    ::close(fd);
    keepNarrowerMode(temporary.c_str(), finalPath.c_str());
    return true;
}

bool makeTemporaryFile(const char* suffix, std::string& temporary, std::string& error) {
    const char* tmp = std::getenv("TMPDIR");
    const std::string folder = tmp != nullptr && tmp[0] != '\0' ? tmp : "/tmp";
    temporary = folder + "/demo_capture_XXXXXX" + suffix;
    const int fd = mkstemps(temporary.data(), static_cast<int>(std::strlen(suffix)));
    if (fd < 0) {
        error = "cannot make a temporary soundtrack file in '" + folder + "': " + std::strerror(errno);
        return false;
    }
    ::close(fd);
    return true;
}

void keepNarrowerMode(const char* file, const char* replaced) {
    struct stat old {};
    struct stat made {};
    if (stat(replaced, &old) != 0 || !S_ISREG(old.st_mode) || stat(file, &made) != 0) return;
    const mode_t narrowed = made.st_mode & old.st_mode & 07777;
    if (narrowed != (made.st_mode & 07777)) chmod(file, narrowed);
}

bool moveIntoPlace(const char* from, const char* to, std::string& error) {
    if (std::rename(from, to) == 0) return true;
    error = std::string("cannot write '") + to + "': " + std::strerror(errno);
    return false;
}

bool canReplace(const std::string& path, std::string& error) {
    struct stat file {};
    struct stat folder {};
    if (stat(path.c_str(), &file) != 0 || stat(folderOf(path).c_str(), &folder) != 0) return true;
    // In a sticky folder (/tmp) only the owner of a file, of the folder or
    // root may rename over it.
    const uid_t user = geteuid();
    if ((folder.st_mode & S_ISVTX) == 0 || user == 0 || file.st_uid == user || folder.st_uid == user)
        return true;
    error = std::strerror(EPERM);
    return false;
}

void removeFile(const char* path) { ::unlink(path); }

void removeEmptyFolder(const char* path) { ::rmdir(path); }
