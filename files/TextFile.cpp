#include "files/TextFile.h"

#include "errors/Exception.h"
#include "errors/SystemError.h"

#include <algorithm>
#include <limits>

class TextFile::HandleSource : public ByteSource {
public:
    explicit HandleSource(HANDLE handle) : FHandle(handle) {}
    std::size_t Read(char* buffer, std::size_t capacity) override
    {
        DWORD read = 0;
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(capacity, 1u << 30));
        if (!ReadFile(FHandle, buffer, wanted, &read, nullptr))
            RaiseLastInOutError();
        return read;
    }

private:
    HANDLE FHandle;
};

namespace {

// From the ANSI code page, in one conversion call a line: no code page gives more code units than
// bytes (UTF-8 gives two for four, and one for a byte that does not decode).
std::wstring FromAnsi(const std::string& bytes)
{
    if (bytes.empty())
        return std::wstring();
    if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
        RaiseInOutError(ERROR_NOT_ENOUGH_MEMORY);
    std::wstring text(bytes.size(), L'\0');
    const int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), &text[0],
                                           static_cast<int>(text.size()));
    if (length <= 0)
        RaiseLastInOutError();
    text.resize(static_cast<std::size_t>(length));
    return text;
}

bool IsAscii(std::wstring_view text)
{
    for (wchar_t c : text)
        if (static_cast<unsigned>(c) >= 0x80)
            return false;
    return true;
}

// Into the ANSI code page. Plain ASCII is the same in every ANSI code page (single-byte,
// double-byte or UTF-8), so it is copied as it stands; anything else takes the room the
// conversion itself asks for, which is up to three bytes a unit where the code page is UTF-8.
void ToAnsi(std::wstring_view text, std::string& bytes)
{
    bytes.clear();
    if (text.empty())
        return;
    if (IsAscii(text)) {
        bytes.assign(text.begin(), text.end());
        return;
    }
    if (text.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
        RaiseInOutError(ERROR_NOT_ENOUGH_MEMORY);
    const int units = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(CP_ACP, 0, text.data(), units, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        RaiseLastInOutError();
    bytes.resize(static_cast<std::size_t>(length));
    if (WideCharToMultiByte(CP_ACP, 0, text.data(), units, &bytes[0], length, nullptr, nullptr) != length)
        RaiseLastInOutError();
}

}  // namespace

TextFile::TextFile() = default;
TextFile::~TextFile() = default;

void TextFile::Bind(std::wstring path)
{
    if (path.size() > MaxPathLength)
        RaiseInOutError(ERROR_FILENAME_EXCED_RANGE);
    FPath = std::move(path);
}

void TextFile::Open(DWORD access, DWORD disposition, Mode mode)
{
    if (IsOpen())
        Close();
    KernelHandle handle(CreateFileW(FPath.c_str(), access, FILE_SHARE_READ, nullptr, disposition,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle.Valid())
        RaiseLastInOutError();
    FHandle = std::move(handle);
    FMode = mode;
    if (mode == Mode::Reading) {
        FSource = std::make_unique<HandleSource>(FHandle);
        FReader = std::make_unique<LineReader>(*FSource);
    }
    FWriteBuffer.clear();
}

void TextFile::Reset()
{
    Open(GENERIC_READ, OPEN_EXISTING, Mode::Reading);
}

void TextFile::CreateNew()
{
    Open(GENERIC_WRITE, CREATE_NEW, Mode::Writing);
}

void TextFile::RequireMode(Mode mode) const
{
    if (FMode != mode)
        RaiseInOutError(ERROR_INVALID_HANDLE);
}

bool TextFile::Eof()
{
    RequireMode(Mode::Reading);
    return FReader->AtEnd();
}

std::wstring TextFile::ReadLine()
{
    RequireMode(Mode::Reading);
    FReader->ReadLine(FLineBytes);
    return FromAnsi(FLineBytes);
}

std::wstring TextFile::ReadLineStart(std::size_t maxBytes, bool& whole)
{
    RequireMode(Mode::Reading);
    whole = FReader->ReadLineStart(FLineBytes, maxBytes);
    return FromAnsi(FLineBytes);
}

void TextFile::WriteBuffer()
{
    std::size_t done = 0;
    while (done < FWriteBuffer.size()) {
        DWORD written = 0;
        if (!WriteFile(FHandle, FWriteBuffer.data() + done, static_cast<DWORD>(FWriteBuffer.size() - done),
                       &written, nullptr))
            RaiseLastInOutError();
        if (written == 0)
            RaiseInOutError(ERROR_WRITE_FAULT);
        done += written;
    }
    FWriteBuffer.clear();
}

void TextFile::Append(const char* bytes, std::size_t count)
{
    while (count > 0) {
        const std::size_t room = WriteBufferSize - FWriteBuffer.size();
        const std::size_t take = std::min(room, count);
        FWriteBuffer.append(bytes, take);
        bytes += take;
        count -= take;
        if (FWriteBuffer.size() == WriteBufferSize)
            WriteBuffer();
    }
}

void TextFile::WriteLine(std::wstring_view text)
{
    RequireMode(Mode::Writing);
    ToAnsi(text, FLineBytes);
    Append(FLineBytes.data(), FLineBytes.size());
    Append("\r\n", 2);
}

void TextFile::Commit()
{
    RequireMode(Mode::Writing);
    WriteBuffer();
    if (!FlushFileBuffers(FHandle))
        RaiseLastInOutError();
}

void TextFile::Close()
{
    if (!IsOpen())
        RaiseInOutError(ERROR_INVALID_HANDLE);
    if (FMode == Mode::Writing)
        WriteBuffer();  // on failure the file stays open, so a later close tries again
    FReader.reset();
    FSource.reset();
    FMode = Mode::Closed;
    if (!FHandle.Reset())
        RaiseLastInOutError();
}
