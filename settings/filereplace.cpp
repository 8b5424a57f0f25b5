#include "settings/filereplace.h"

#include <windows.h>

#include "toolkit/handles.h"

namespace {

bool WriteFileAs(const std::wstring& path, std::string_view bytes, DWORD disposition)
{
    // Others may read the file meanwhile, and move it away, never write it.
    TUniqueKernelHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                         disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size() && FlushFileBuffers(file.Get());
    if (!ok) {
        const DWORD code = GetLastError();
        file.Reset();
        DeleteFileW(path.c_str());
        SetLastError(code);
    }
    return ok;
}

} // namespace

bool WriteNewFile(const std::wstring& path, std::string_view bytes)
{
    return WriteFileAs(path, bytes, CREATE_NEW);
}

bool ReplaceFileWith(const std::wstring& path, std::string_view bytes)
{
    const std::wstring part = path + std::wstring(kNewFileSuffix);
    if (!WriteFileAs(part, bytes, CREATE_ALWAYS)) return false;
    if (MoveFileExW(part.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    // Held open by a viewer that does not share it, say: the old file stays.
    const DWORD code = GetLastError();
    DeleteFileW(part.c_str());
    SetLastError(code);
    return false;
}
