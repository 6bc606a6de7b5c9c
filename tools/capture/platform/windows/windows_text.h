#pragma once
// Helpers shared by the Windows versions of the capture's platform files:
// names between the C library's narrow strings (the ANSI code page, as the
// program's arguments come) and the wide ones of the system calls, and the
// system's error texts. Included by the files of this folder only.
#include <windows.h>

#include <cerrno>
#include <string>

inline std::wstring widePath(const std::string& path) {
    if (path.empty()) return L"";
    const int length = MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), wide.data(), length);
    return wide;
}

inline std::string narrowPath(const std::wstring& path) {
    if (path.empty()) return "";
    const int length = WideCharToMultiByte(CP_ACP, 0, path.data(), static_cast<int>(path.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, path.data(), static_cast<int>(path.size()), narrow.data(), length, nullptr,
                        nullptr);
    return narrow;
}

inline std::string systemMessage(DWORD code) {
    char text[512] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                        code, 0, text, sizeof text, nullptr);
    std::string message(text, length);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.' ||
                                message.back() == ' ')) {
        message.pop_back();
    }
    return message.empty() ? "system error " + std::to_string(code) : message;
}

// The errno value closest to a system error code, for callers that report
// through strerror.
inline int errnoFromSystem(DWORD code) {
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_NETPATH: return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_WRITE_PROTECT: return EACCES;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS: return EEXIST;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL: return ENOSPC;
        case ERROR_BUFFER_OVERFLOW:
        case ERROR_FILENAME_EXCED_RANGE: return ENAMETOOLONG;
        default: return EIO;
    }
}

// Gives the console back the code page it had before the capture started
// (capture_platform.cpp); nothing when it was not changed.
void restoreConsoleCodePage();
