// Windows files, the mapping of posix/file.cpp: create new is CREATE_NEW,
// overwrite OPEN_ALWAYS and a cut to length 0, append OPEN_ALWAYS with
// FILE_APPEND_DATA only, so every write lands at the end and nothing looks
// for an end-of-file marker. Nobody is denied reading or writing. A folder is
// its path as typed; each file is opened by that path and its bare name.
#include "platform/file.hpp"
#include "platform/windows/path.hpp"

#include <windows.h>

namespace {

// Sharing deleting too denies nothing, and lets a failed output be removed
// while it is still open.
constexpr DWORD share_all = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

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

void identity_from(const BY_HANDLE_FILE_INFORMATION& info, file_identity& id)
{
    id.volume = info.dwVolumeSerialNumber;
    id.index = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
}

HANDLE open_in(const folder& in, const std::string& name, DWORD access, DWORD share, DWORD disposition, DWORD flags)
{
    if (!in.open)
        return INVALID_HANDLE_VALUE;
    return create_file(in.path + name, access, share, disposition, flags);
}

}  // namespace

// Nothing is opened: a path that names no directory makes every open in it
// fail, and the search in it find nothing.
int folder_open(const std::string& directory, folder& opened)
{
    opened.handle = no_file;
    opened.path = directory;
    opened.open = true;
    return 1;
}

void folder_close(folder& opened)
{
    opened.open = false;
}

int file_open_source(const folder& in, const std::string& name, native_file& file, file_identity& id)
{
    // Without backup semantics a directory does not open at all.
    const HANDLE handle =
        open_in(in, name, GENERIC_READ, share_all, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN);
    if (handle == INVALID_HANDLE_VALUE)
        return 0;
    BY_HANDLE_FILE_INFORMATION info;
    if (::GetFileType(handle) != FILE_TYPE_DISK || !::GetFileInformationByHandle(handle, &info)) {
        ::CloseHandle(handle);
        return 0;
    }
    identity_from(info, id);
    return take(handle, file);
}

int file_open_output(const folder& in, const std::string& name, open_way way, native_file& file)
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
    const HANDLE handle = open_in(in, name, access, share_all, disposition, FILE_ATTRIBUTE_NORMAL);
    if (handle != INVALID_HANDLE_VALUE && way == open_way::overwrite && !::SetEndOfFile(handle)) {
        ::CloseHandle(handle);
        return 0;
    }
    return take(handle, file);
}

std::ptrdiff_t file_read(native_file file, unsigned char* buffer, std::size_t size)
{
    DWORD got = 0;
    const DWORD wanted = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    if (::ReadFile(handle_of(file), buffer, wanted, &got, nullptr))
        return got;
    const DWORD error = ::GetLastError();
    return error == ERROR_HANDLE_EOF || error == ERROR_BROKEN_PIPE ? 0 : -1;
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

int file_identity_of(native_file file, file_identity& id, std::uint64_t& length)
{
    BY_HANDLE_FILE_INFORMATION info;
    if (!::GetFileInformationByHandle(handle_of(file), &info))
        return 0;
    identity_from(info, id);
    length = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    return 1;
}

int name_identity(const folder& in, const std::string& name, file_identity& id)
{
    // No access asked for: the file is only looked at, and shares everything.
    const HANDLE handle = open_in(in, name, 0, share_all, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
    if (handle == INVALID_HANDLE_VALUE)
        return 0;
    BY_HANDLE_FILE_INFORMATION info;
    const int regular = ::GetFileType(handle) == FILE_TYPE_DISK && ::GetFileInformationByHandle(handle, &info)
                     && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    ::CloseHandle(handle);
    if (regular)
        identity_from(info, id);
    return regular;
}

// Asked for only now, so that writing a new output needs no DELETE access,
// which would make every other reader share deleting. The name is marked
// for deletion only when it still names the open file; the file goes when
// the last handle closes.
int file_remove(const folder& in, const std::string& name, native_file file)
{
    const HANDLE handle =
        open_in(in, name, DELETE | FILE_READ_ATTRIBUTES, share_all, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT);
    if (handle == INVALID_HANDLE_VALUE)
        return 0;
    file_identity created;
    file_identity named;
    std::uint64_t ignored = 0;
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    const int removed = file_identity_of(file, created, ignored)
                     && file_identity_of(reinterpret_cast<native_file>(handle), named, ignored)
                     && same_file(created, named)
                     && ::SetFileInformationByHandle(handle, FileDispositionInfo, &disposition, sizeof disposition);
    ::CloseHandle(handle);
    return removed;
}

// The append handle cannot set the end of its file: the name is opened again
// for writing, and cut only when it still names the same file.
int file_cut(const folder& in, const std::string& name, native_file file, std::uint64_t length)
{
    const HANDLE handle = open_in(in, name, GENERIC_WRITE, share_all, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    if (handle == INVALID_HANDLE_VALUE)
        return 0;
    file_identity appended;
    file_identity named;
    std::uint64_t ignored = 0;
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(length);
    const int cut = file_identity_of(file, appended, ignored)
                 && file_identity_of(reinterpret_cast<native_file>(handle), named, ignored)
                 && same_file(appended, named) && ::SetFilePointerEx(handle, end, nullptr, FILE_BEGIN)
                 && ::SetEndOfFile(handle);
    ::CloseHandle(handle);
    return cut;
}
