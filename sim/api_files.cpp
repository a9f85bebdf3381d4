// The kernel's directory, language and file calls, and the C runtime's file deletion.
#include <algorithm>
#include <string>

#include "atomic_file.h"
#include "machine.h"
#include "platform_api.h"
#include "text.h"
#include "trace_text.h"

using sim::machine;

namespace {

UINT copy_directory(const std::string& directory, LPSTR buffer, UINT size) {
    if (!buffer || directory.size() + 1 > size) return static_cast<UINT>(directory.size() + 1);
    memcpy(buffer, directory.c_str(), directory.size() + 1);
    return static_cast<UINT>(directory.size());
}

void trace_directory(const char* name, const std::string& directory, LPSTR buffer, UINT size, UINT result) {
    sim::Trace& trace = machine().trace;
    if (!trace.on()) return;
    bool copied = buffer && result < size;
    trace.call(name, {sim::trace_pointer(buffer, "buffer"), std::to_string(size)}, std::to_string(result),
               copied ? sim::c_literal(directory) : std::string());
}

// Deletes a file of the machine's drive; 0 or the Windows error code.
DWORD delete_file(LPCSTR path) {
    sim::Machine& m = machine();
    if (!path) return ERROR_PATH_NOT_FOUND;
    sim::Drive::Missing missing;
    auto found = m.drive.find(path, &missing);
    if (!found) return missing == sim::Drive::Missing::Path ? ERROR_PATH_NOT_FOUND : ERROR_FILE_NOT_FOUND;
    if (found->is_folder) return ERROR_ACCESS_DENIED;
    auto lock = m.settings.locked_files.find(*sim::Drive::normal_form(path));
    if (lock != m.settings.locked_files.end()) {
        return lock->second == sim::FileLock::InUse ? ERROR_SHARING_VIOLATION : ERROR_ACCESS_DENIED;
    }
    std::error_code ec;
    if (!std::filesystem::remove(found->host, ec) || ec) return ERROR_ACCESS_DENIED;
    return ERROR_SUCCESS;
}

}  // namespace

UINT WINAPI GetWindowsDirectoryA(LPSTR buffer, UINT size) {
    const std::string& directory = machine().settings.windows_directory;
    UINT result = copy_directory(directory, buffer, size);
    trace_directory("GetWindowsDirectoryA", directory, buffer, size, result);
    return result;
}

UINT WINAPI GetSystemDirectoryA(LPSTR buffer, UINT size) {
    const std::string& directory = machine().settings.system_directory;
    UINT result = copy_directory(directory, buffer, size);
    trace_directory("GetSystemDirectoryA", directory, buffer, size, result);
    return result;
}

LANGID WINAPI GetUserDefaultLangID(void) {
    LANGID id = machine().settings.user_language;
    machine().trace.call("GetUserDefaultLangID", {}, sim::hex(id, 4));
    return id;
}

DWORD WINAPI GetLastError(void) { return machine().last_error; }

BOOL WINAPI DeleteFileA(LPCSTR path) {
    DWORD error = delete_file(path);
    if (error != ERROR_SUCCESS) machine().last_error = error;
    machine().trace.call("DeleteFileA", {sim::trace_string(path)}, error == ERROR_SUCCESS ? "TRUE" : "FALSE",
                         error == ERROR_SUCCESS ? "" : sim::trace_error(static_cast<long>(error)));
    return error == ERROR_SUCCESS;
}

int _unlink(const char* path) {
    DWORD error = delete_file(path);
    if (error != ERROR_SUCCESS) machine().last_error = error;
    machine().trace.call("_unlink", {sim::trace_string(path)}, error == ERROR_SUCCESS ? "0" : "-1",
                         error == ERROR_SUCCESS ? "" : sim::trace_error(static_cast<long>(error)));
    return error == ERROR_SUCCESS ? 0 : -1;
}

DWORD WINAPI GetModuleFileNameA(HINSTANCE module, LPSTR buffer, DWORD size) {
    sim::Machine& m = machine();
    std::string path = m.settings.system_directory + "\\";
    for (char c : m.program_name) path += static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    path += ".EXE";
    // Windows cuts the path to the buffer and terminates it.
    DWORD result = 0;
    if (buffer && size > 0) {
        result = static_cast<DWORD>(std::min<std::size_t>(path.size(), size - 1));
        memcpy(buffer, path.data(), result);
        buffer[result] = '\0';
    }
    m.trace.call("GetModuleFileNameA",
                 {module ? sim::hex(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(module))) : "NULL",
                  sim::trace_pointer(buffer, "buffer"), std::to_string(size)},
                 std::to_string(result), result ? sim::c_literal(std::string_view(buffer, result)) : "");
    return result;
}

namespace {

std::string open_flags_text(int oflag) {
    std::string out = (oflag & 3) == 0 ? "_O_RDONLY" : (oflag & 3) == 1 ? "_O_WRONLY" : "_O_RDWR";
    if (oflag & _O_TEXT) out += "|_O_TEXT";
    if (oflag & _O_BINARY) out += "|_O_BINARY";
    int rest = oflag & ~(3 | _O_TEXT | _O_BINARY);
    if (rest) out += "|" + sim::hex(static_cast<std::uint32_t>(rest), 4);
    return out;
}

std::string share_text(int shflag) {
    switch (shflag) {
        case _SH_DENYRW: return "_SH_DENYRW";
        case _SH_DENYWR: return "_SH_DENYWR";
        case _SH_DENYRD: return "_SH_DENYRD";
        case _SH_DENYNO: return "_SH_DENYNO";
        default: return sim::hex(static_cast<std::uint32_t>(shflag), 4);
    }
}

// The file's bytes for reading, or nothing when the path names no file the program may
// read. Only reading is offered: the programs open no file for writing.
std::optional<std::string> readable_file(const char* path, int oflag) {
    if (!path || (oflag & 3) != _O_RDONLY || (oflag & ~(3 | _O_TEXT | _O_BINARY)) != 0) return std::nullopt;
    auto found = machine().drive.find(path);
    if (!found || found->is_folder) return std::nullopt;
    try {
        return sim::read_whole_file(found->host);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

}  // namespace

int _sopen(const char* path, int oflag, int shflag, ...) {
    sim::Machine& m = machine();
    int file = -1;
    if (auto bytes = readable_file(path, oflag)) file = m.crt_files.open(std::move(*bytes), !(oflag & _O_BINARY));
    m.trace.call("_sopen", {sim::trace_string(path), open_flags_text(oflag), share_text(shflag)}, std::to_string(file));
    return file;
}

int _read(int file, void* buffer, unsigned int count) {
    sim::Machine& m = machine();
    sim::OpenFile* f = m.crt_files.find(file);
    int result = -1;
    if (f && buffer) result = static_cast<int>(sim::read_text(*f, static_cast<char*>(buffer), count));
    m.trace.call("_read", {std::to_string(file), sim::trace_pointer(buffer, "buffer"), std::to_string(count)},
                 std::to_string(result),
                 result > 0 ? sim::c_literal(std::string_view(static_cast<char*>(buffer), static_cast<std::size_t>(result)))
                            : "");
    return result;
}

int _close(int file) {
    sim::Machine& m = machine();
    int result = m.crt_files.close(file) ? 0 : -1;
    m.trace.call("_close", {std::to_string(file)}, std::to_string(result));
    return result;
}
