#pragma once
// A line-oriented text file in the system's ANSI code page, bound to a path before it is opened.
// Reading shares with readers only; writing creates the file new and also shares with readers
// only. Written lines end with CR LF and are buffered until the buffer fills or the file
// closes. Every failure raises EInOutError with the system's error code and message.
#include "files/LineReader.h"
#include "owners/Owners.h"

#include <memory>
#include <string>
#include <string_view>

class TextFile {
public:
    static constexpr std::size_t MaxPathLength = 259;
    static constexpr std::size_t WriteBufferSize = 64 * 1024;

    TextFile();
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;
    ~TextFile();  // releases an open handle without writing buffered text

    void Bind(std::wstring path);
    const std::wstring& Path() const { return FPath; }
    bool IsOpen() const { return FMode != Mode::Closed; }

    void Reset();
    // Opens for writing a file that must not exist yet, so that nothing of anyone else's is emptied.
    void CreateNew();
    bool Eof();
    std::wstring ReadLine();
    // The line's first MaxBytes bytes at most; a longer line is left part-read, and Whole false.
    std::wstring ReadLineStart(std::size_t maxBytes, bool& whole);
    void WriteLine(std::wstring_view text);
    // Writes out the buffer and asks the system to put the file's data on the disk.
    void Commit();
    void Close();

private:
    enum class Mode { Closed, Reading, Writing };
    class HandleSource;

    void Open(DWORD access, DWORD disposition, Mode mode);
    void RequireMode(Mode mode) const;
    void WriteBuffer();
    void Append(const char* bytes, std::size_t count);

    std::wstring FPath;
    KernelHandle FHandle;
    Mode FMode = Mode::Closed;
    std::unique_ptr<HandleSource> FSource;
    std::unique_ptr<LineReader> FReader;
    std::string FLineBytes;
    std::string FWriteBuffer;
};
