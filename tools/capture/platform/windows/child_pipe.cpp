// Windows version of child_pipe.h.
#include <windows.h>

#include <cstdlib>

#include "child_pipe.h"
#include "windows_text.h"

namespace {

bool isProgramFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

struct ChildPipe::State {
    HANDLE process = nullptr;
    DWORD processId = 0;
    HANDLE input = nullptr;
    HANDLE errors = nullptr;  // the program's standard error, when kept

    ~State() {
        if (errors != nullptr) CloseHandle(errors);
    }
};

namespace {

// A file in the temporary folder that the system removes once the last
// handle on it closes, ours or the program's; the program inherits it.
HANDLE makeErrorsFile() {
    wchar_t folder[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH) return nullptr;
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        wchar_t name[64];
        wsprintfW(name, L"demo_capture_%08lx_%u.log", GetCurrentProcessId() ^ GetTickCount(), counter++);
        const std::wstring path = std::wstring(folder) + name;
        const HANDLE file =
            CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inheritable, CREATE_NEW,
                        FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (file != INVALID_HANDLE_VALUE) return file;
        if (GetLastError() != ERROR_FILE_EXISTS) return nullptr;
    }
    return nullptr;
}

}  // namespace

bool canStartPrograms() { return true; }

std::string findOnPath(const char* program) {
    const char* path = std::getenv("PATH");
    if (path == nullptr) return "";
    std::string name = program;
    const size_t dot = name.find_last_of('.');
    if (dot == std::string::npos || name.find_first_of("/\\", dot) != std::string::npos) name += ".exe";
    const std::string folders = path;
    size_t start = 0;
    while (start < folders.size()) {
        size_t end = folders.find(';', start);
        if (end == std::string::npos) end = folders.size();
        std::string folder = folders.substr(start, end - start);
        // A folder with a ';' in its name is written in quotes.
        if (folder.size() >= 2 && folder.front() == '"' && folder.back() == '"') {
            folder = folder.substr(1, folder.size() - 2);
        }
        if (!folder.empty()) {
            const char last = folder.back();
            const std::string candidate = folder + (last == '\\' || last == '/' ? "" : "\\") + name;
            if (isProgramFile(candidate)) return candidate;
        }
        start = end + 1;
    }
    return "";
}

ChildPipe::ChildPipe() = default;

ChildPipe::~ChildPipe() {
    if (running()) wait();
}

bool ChildPipe::running() const { return state != nullptr && state->process != nullptr; }

int64_t ChildPipe::processId() const { return running() ? state->processId : 0; }

bool ChildPipe::start(const std::string& program, const std::vector<std::string>& args, std::string& error,
                      bool keepErrors) {
    if (running()) wait();
    state = std::make_unique<State>();
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    // A large pipe buffer: a frame is more than a megabyte.
    if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 1 << 20)) {
        error = systemMessage(GetLastError());
        return false;
    }
    SetHandleInformation(writeEnd, HANDLE_FLAG_INHERIT, 0);

    // The child inherits only its three standard handles.
    STARTUPINFOEXA info{};
    info.StartupInfo.cb = sizeof info;
    info.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    info.StartupInfo.hStdInput = readEnd;
    info.StartupInfo.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    if (keepErrors) state->errors = makeErrorsFile();
    info.StartupInfo.hStdError = state->errors != nullptr ? state->errors : GetStdHandle(STD_ERROR_HANDLE);
    HANDLE inherited[3];
    DWORD inheritedCount = 0;
    for (HANDLE h : {info.StartupInfo.hStdInput, info.StartupInfo.hStdOutput, info.StartupInfo.hStdError}) {
        DWORD flags = 0;
        if (h == nullptr || h == INVALID_HANDLE_VALUE || !GetHandleInformation(h, &flags)) continue;
        bool seen = false;
        for (DWORD i = 0; i < inheritedCount; ++i) seen = seen || inherited[i] == h;
        if (seen) continue;
        if ((flags & HANDLE_FLAG_INHERIT) == 0)
            SetHandleInformation(h, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
        inherited[inheritedCount++] = h;
    }
    SIZE_T listSize = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &listSize);
    std::vector<char> listMemory(listSize);
    auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(listMemory.data());
    const bool listReady = InitializeProcThreadAttributeList(list, 1, 0, &listSize) &&
                           UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, inherited,
                                                     inheritedCount * sizeof(HANDLE), nullptr, nullptr);
    info.lpAttributeList = listReady ? list : nullptr;

    std::string commandLine = windowsCommandLine(args);
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                        listReady ? EXTENDED_STARTUPINFO_PRESENT : 0, nullptr, nullptr,
                                        &info.StartupInfo, &process);
    const DWORD startError = GetLastError();
    if (listReady) DeleteProcThreadAttributeList(list);
    CloseHandle(readEnd);
    if (!started) {
        CloseHandle(writeEnd);
        error = systemMessage(startError);
        return false;
    }
    CloseHandle(process.hThread);
    state->process = process.hProcess;
    state->processId = process.dwProcessId;
    state->input = writeEnd;
    return true;
}

bool ChildPipe::write(const void* data, size_t size, std::string& error) {
    if (state == nullptr || state->input == nullptr) {
        error = systemMessage(ERROR_BROKEN_PIPE);
        return false;
    }
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(state->input, bytes, chunk, &written, nullptr) || written == 0) {
            error = systemMessage(GetLastError());
            return false;
        }
        bytes += written;
        size -= written;
    }
    return true;
}

void ChildPipe::closeInput() {
    if (state != nullptr && state->input != nullptr) CloseHandle(state->input);
    if (state != nullptr) state->input = nullptr;
}

ChildPipe::Ending ChildPipe::wait() {
    closeInput();
    Ending ending;
    if (!running()) return ending;
    DWORD code = 0;
    if (WaitForSingleObject(state->process, INFINITE) == WAIT_OBJECT_0 &&
        GetExitCodeProcess(state->process, &code)) {
        ending.exited = true;
        ending.code = static_cast<int>(code);
    }
    CloseHandle(state->process);
    state->process = nullptr;
    return ending;
}

std::string ChildPipe::errors() const {
    std::string text;
    if (state == nullptr || state->errors == nullptr) return text;
    // The program wrote through the same open file, so the position is shared.
    LARGE_INTEGER start{};
    if (!SetFilePointerEx(state->errors, start, nullptr, FILE_BEGIN)) return text;
    char chunk[4096];
    DWORD n = 0;
    while (ReadFile(state->errors, chunk, sizeof chunk, &n, nullptr) && n > 0) text.append(chunk, n);
    return text;
}
