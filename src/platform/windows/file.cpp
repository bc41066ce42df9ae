// Windows files through CreateFileA, the mapping of posix/file.cpp: create
// new is CREATE_NEW, overwrite OPEN_ALWAYS and a cut to length 0, append
// OPEN_ALWAYS with FILE_APPEND_DATA only, so every write lands at the end and
// nothing looks for an end-of-file marker. Nobody is denied reading or
// writing.
#include "platform/file.hpp"
#include "platform/windows/path.hpp"

#include <windows.h>

namespace {

constexpr DWORD share_all = FILE_SHARE_READ | FILE_SHARE_WRITE;

HANDLE handle_of(native_file file)
{
    return reinterpret_cast<HANDLE>(file);
}

int take(HANDLE handle, native_file& file)
{
    if (handle == INVALID_HANDLE_VALUE)
        return 0;
    file = reinterpret_cast<native_file>(handle);
    return 1;
}

}  // namespace

int file_open_source(const std::string& path, native_file& file, file_identity& id)
{
    // Without backup semantics a directory does not open at all.
    const HANDLE handle = create_file(path, GENERIC_READ, share_all, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN);
    if (handle == INVALID_HANDLE_VALUE)
        return 0;
    if (::GetFileType(handle) != FILE_TYPE_DISK || !file_identity_of(reinterpret_cast<native_file>(handle), id)) {
        ::CloseHandle(handle);
        return 0;
    }
    return take(handle, file);
}

int file_open_output(const std::string& path, open_way way, native_file& file)
{
    DWORD access = GENERIC_WRITE;
    DWORD disposition = CREATE_NEW;
    switch (way) {
    case open_way::create_new: break;
    // CREATE_ALWAYS would refuse hidden and system files; they are cut below.
    case open_way::overwrite: disposition = OPEN_ALWAYS; break;
    case open_way::append:
        access = FILE_APPEND_DATA | SYNCHRONIZE;
        disposition = OPEN_ALWAYS;
        break;
    }
    const HANDLE handle = create_file(path, access, share_all, disposition, FILE_ATTRIBUTE_NORMAL);
    if (handle != INVALID_HANDLE_VALUE && way == open_way::overwrite && !::SetEndOfFile(handle)) {
        ::CloseHandle(handle);
        return 0;
    }
    return take(handle, file);
}

std::size_t file_read(native_file file, unsigned char* buffer, std::size_t size)
{
    DWORD got = 0;
    const DWORD wanted = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    return ::ReadFile(handle_of(file), buffer, wanted, &got, nullptr) ? got : 0;
}

int file_write(native_file file, const unsigned char* bytes, std::size_t size)
{
    while (size != 0) {
        const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        DWORD put = 0;
        if (!::WriteFile(handle_of(file), bytes, chunk, &put, nullptr) || put == 0)
            return 0;
        bytes += put;
        size -= put;
    }
    return 1;
}

int file_close(native_file file)
{
    return ::CloseHandle(handle_of(file)) != 0;
}

int file_identity_of(native_file file, file_identity& id)
{
    BY_HANDLE_FILE_INFORMATION info;
    if (!::GetFileInformationByHandle(handle_of(file), &info))
        return 0;
    id.volume = info.dwVolumeSerialNumber;
    id.index = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return 1;
}

int path_identity(const std::string& path, file_identity& id)
{
    // No access asked for: the file is only looked at, and may be a directory.
    const HANDLE handle = create_file(path, 0, share_all | FILE_SHARE_DELETE, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
    if (handle == INVALID_HANDLE_VALUE)
        return 0;
    const int known = file_identity_of(reinterpret_cast<native_file>(handle), id);
    ::CloseHandle(handle);
    return known;
}
