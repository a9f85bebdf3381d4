// The kernel's directory, language and file calls, and the C runtime's file deletion.
#include <string>

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
