#pragma once
// An output in the making: written under a temporary name in its final
// folder and given its final name only when complete. Until then a failure,
// the destructor or a stop signal removes it, so no partial output ever
// carries the final name.
#include <cstdint>
#include <string>

class PendingFile {
public:
    PendingFile() = default;
    ~PendingFile() { discard(); }
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    // Creates the temporary file beside finalPath, or beside the file it
    // links to: a link is written through and stays a link.
    bool begin(const std::string& finalPath, std::string& error);
    // Creates the temporary file in the system's temporary folder; it has no
    // final name and is removed at the end in any case.
    bool beginTemporary(const char* suffix, std::string& error);
    // Renames the complete file into place.
    bool complete(std::string& error);
    // Removes the file unless it was completed.
    void discard();

    const std::string& path() const { return temporary; }
    const std::string& finalPath() const { return target; }

private:
    void watch();

    std::string temporary;
    std::string target;
    int32_t slot = -1;
    bool open = false;
};
