#include "sound/module_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace {

constexpr size_t kFirstReadSize = 64 * 1024;

// A name that exists but is no regular file: a folder, a pipe, a device.
bool isOtherThanAFile(const char* path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    return std::filesystem::exists(status) && !std::filesystem::is_regular_file(status);
}

}  // namespace

ModuleBytes::~ModuleBytes() { release(); }

void ModuleBytes::release() {
    std::free(bytes);
    bytes = nullptr;
    count = 0;
}

// Reads in growing steps: a size from the file system is not trusted, the
// file may change while it is read.
bool ModuleBytes::read(const char* path) {
    release();
    failure = ModuleFileError::None;
    if (isOtherThanAFile(path)) {
        failure = ModuleFileError::NotRegular;
        return false;
    }
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        failure = ModuleFileError::CannotOpen;
        return false;
    }
    size_t capacity = 0;
    while (failure == ModuleFileError::None) {
        if (count == capacity) {
            if (capacity > kMaxModuleBytes) {
                failure = ModuleFileError::TooLarge;
                break;
            }
            capacity = capacity == 0 ? kFirstReadSize : std::min(capacity * 2, kMaxModuleBytes + 1);
            void* grown = std::realloc(bytes, capacity);
            if (grown == nullptr) {
                failure = ModuleFileError::OutOfMemory;
                break;
            }
            bytes = static_cast<unsigned char*>(grown);
        }
        count += std::fread(bytes + count, 1, capacity - count, file);
        if (std::ferror(file)) failure = ModuleFileError::ReadFailed;
        if (std::feof(file)) break;
    }
    const int savedErrno = errno;
    std::fclose(file);
    if (failure == ModuleFileError::None && count > kMaxModuleBytes) failure = ModuleFileError::TooLarge;
    if (failure != ModuleFileError::None) {
        release();
        errno = savedErrno;
        return false;
    }
    return true;
}

const char* describeModuleFileError(ModuleFileError error) {
    switch (error) {
        case ModuleFileError::NotRegular: return "it is not a regular file";
        case ModuleFileError::TooLarge: return "it is larger than any module (64 MB)";
        case ModuleFileError::OutOfMemory: return "not enough memory";
        default: break;
    }
    return "it cannot be read";
}
