#pragma once
// Reading a music module's file into memory, for the module renderer. Only
// regular files are read (a folder, a device or a pipe would never end or
// never begin), up to a size far beyond any module's.
#include <cstddef>
#include <cstdint>

inline constexpr size_t kMaxModuleBytes = size_t{64} * 1024 * 1024;

enum class ModuleFileError {
    None,
    CannotOpen,  // missing or not readable; errno tells why
    NotRegular,  // a folder, a device, a pipe
    TooLarge,    // more than kMaxModuleBytes
    ReadFailed,  // errno tells why
    OutOfMemory,
};

// The bytes of a module file; owns them. Empty when reading failed.
class ModuleBytes {
public:
    ModuleBytes() = default;
    ~ModuleBytes();
    ModuleBytes(const ModuleBytes&) = delete;
    ModuleBytes& operator=(const ModuleBytes&) = delete;

    // Reads the whole file; on failure the bytes stay empty and error()
    // says why (errno is kept for CannotOpen and ReadFailed).
    bool read(const char* path);

    const unsigned char* data() const { return bytes; }
    size_t size() const { return count; }
    ModuleFileError error() const { return failure; }

private:
    void release();

    unsigned char* bytes = nullptr;
    size_t count = 0;
    ModuleFileError failure = ModuleFileError::None;
};

// A short text for a failure other than CannotOpen and ReadFailed (those
// have the system's text).
const char* describeModuleFileError(ModuleFileError error);
