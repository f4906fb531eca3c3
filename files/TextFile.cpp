#include "files/TextFile.h"

#include "errors/Exception.h"
#include "errors/ExceptionDetails.h"
#include "errors/SystemError.h"
#include "text/SharedStrings.h"

#include <algorithm>
#include <cstdint>
#include <vector>

void TextFile::Bind(std::wstring path)
{
    if (path.size() > MaxPathLength && path.compare(0, 4, L"\\\\?\\") != 0)
        RaiseInOutError(ERROR_FILENAME_EXCED_RANGE);
    FPath = std::move(path);
}

void TextFile::Open(DWORD access, DWORD disposition, DWORD share)
{
    if (IsOpen())
        Close();
    KernelHandle handle(CreateFileW(FPath.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle.Valid())
        RaiseLastInOutError();
    FHandle = std::move(handle);
}

void TextFile::Reset()
{
    Open(GENERIC_READ, OPEN_EXISTING, FILE_SHARE_READ);
}

void TextFile::CreateNew()
{
    Open(GENERIC_WRITE, CREATE_NEW, FILE_SHARE_READ);
}

void TextFile::OpenForUpdate()
{
    Open(GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING, 0);
}

void TextFile::MoveTo(std::size_t offset)
{
    LONG high = static_cast<LONG>(static_cast<std::uint64_t>(offset) >> 32);
    if (SetFilePointer(FHandle, static_cast<LONG>(offset & 0xFFFFFFFF), &high, FILE_BEGIN) == INVALID_SET_FILE_POINTER &&
        GetLastError() != NO_ERROR)
        RaiseLastInOutError();
}

void TextFile::Overwrite(std::string_view bytes)
{
    RequireOpen();
    MoveTo(bytes.size());
    if (!SetEndOfFile(FHandle))
        RaiseLastInOutError();
    MoveTo(0);
    Write(bytes);
    Commit();
}

void TextFile::RequireOpen() const
{
    if (!IsOpen())
        RaiseInOutError(ERROR_INVALID_HANDLE);
}

std::size_t TextFile::Read(char* buffer, std::size_t capacity)
{
    RequireOpen();
    DWORD read = 0;
    if (!ReadFile(FHandle, buffer, static_cast<DWORD>(std::min<std::size_t>(capacity, 1u << 30)), &read, nullptr))
        RaiseLastInOutError();
    return read;
}

// Straight into the string, in as few calls as the file's size allows: the size it has now and one
// byte more, to see its end (or that it grew), then a call that finds the end.
std::string TextFile::ReadAll(std::size_t limit)
{
    std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(Size(), limit)) + 1;
    std::string bytes;
    while (bytes.size() <= limit) {
        const std::size_t used = bytes.size();
        want = std::min(std::max<std::size_t>(want, 64 * 1024), limit + 1 - used);
        bytes.resize(used + want);
        const std::size_t read = Read(&bytes[used], want);
        bytes.resize(used + read);
        if (read == 0)
            break;
        want = 0;
    }
    return bytes;
}

bool TextFile::Holds(std::string_view bytes)
{
    if (Size() != bytes.size())
        return false;
    std::vector<char> piece(64 * 1024);
    for (;;) {
        const std::size_t read = Read(piece.data(), piece.size());
        if (read == 0)
            return bytes.empty();
        if (read > bytes.size() || bytes.compare(0, read, piece.data(), read) != 0)
            return false;
        bytes.remove_prefix(read);
    }
}

// Where the system cannot tell, 0: the reads then find the end themselves.
std::uint64_t TextFile::Size() const
{
    RequireOpen();
    DWORD high = 0;
    const DWORD low = GetFileSize(FHandle, &high);
    return low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR ? 0 : (std::uint64_t{high} << 32) | low;
}

void TextFile::Write(std::string_view bytes)
{
    RequireOpen();
    while (!bytes.empty()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        if (!WriteFile(FHandle, bytes.data(), chunk, &written, nullptr))
            RaiseLastInOutError();
        if (written == 0)
            RaiseInOutError(ERROR_WRITE_FAULT);
        bytes.remove_prefix(written);
    }
}

void TextFile::Commit()
{
    RequireOpen();
    if (!FlushFileBuffers(FHandle))
        RaiseLastInOutError();
}

// A close that fails has given the handle up all the same (on a network drive, say, whose server
// refused data written behind): its first reason is the one to tell, as there is no second attempt.
void TextFile::Close()
{
    try {
        RequireOpen();
        if (!FHandle.Reset())
            RaiseLastInOutError();
    } catch (EInOutError& error) {
        error.SetMessage(ExceptionDetails(L"The following file could not be closed: " + LineBreak + FPath));
        throw;
    }
}
