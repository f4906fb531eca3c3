#include "files/TextFile.h"

#include "errors/Exception.h"
#include "errors/ExceptionDetails.h"
#include "errors/SystemError.h"
#include "text/SharedStrings.h"

#include <algorithm>
#include <cstdint>

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

std::string TextFile::ReadAll(std::size_t limit)
{
    std::string bytes;
    char buffer[64 * 1024];
    while (bytes.size() <= limit) {
        const std::size_t read = Read(buffer, std::min(sizeof buffer, limit + 1 - bytes.size()));
        if (read == 0)
            break;
        bytes.append(buffer, read);
    }
    return bytes;
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
