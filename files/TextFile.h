#pragma once
// A text file of the program folder, bound to a path before it is opened. Reading shares with
// readers only; writing creates the file new, so that nothing of anyone else's is emptied, and
// also shares with readers only. Every failure raises EInOutError with the system's error code
// and message. The text itself is in the system's ANSI code page (files/CodePage.h).
#include "owners/Owners.h"

#include <cstdint>
#include <string>
#include <string_view>

class TextFile {
public:
    // The longest path a text file can be bound to, unless it is given in the extended-length
    // form ("\\?\..."), as the program gives the paths of its own scratch files.
    static constexpr std::size_t MaxPathLength = 259;

    void Bind(std::wstring path);
    const std::wstring& Path() const { return FPath; }
    bool IsOpen() const { return FHandle.Valid(); }

    void Reset();
    void CreateNew();
    // Opens an existing file for reading and writing, shared with no one, so that no one reads it
    // while it is half written.
    void OpenForUpdate();
    // Up to Capacity bytes, 0 at the end.
    std::size_t Read(char* buffer, std::size_t capacity);
    // The whole file, or its first Limit + 1 bytes where it holds more, so that the caller can
    // tell a file of Limit bytes from a longer one without reading the rest.
    std::string ReadAll(std::size_t limit);
    // Whether the file holds Bytes and nothing more, read from where it stands in pieces against
    // them: a file of another size is not read at all, and nothing of the file's size is allocated.
    bool Holds(std::string_view bytes);
    void Write(std::string_view bytes);
    // Makes the file opened for update hold Bytes alone, and puts them on the disk. Room for them is
    // made first, so that a volume that has none fails before anything of the old is overwritten.
    void Overwrite(std::string_view bytes);
    // Asks the system to put the file's data on the disk.
    void Commit();
    // Gives the file back; a failure raises at once, naming the file and the system's reason.
    void Close();

private:
    std::uint64_t Size() const;
    void Open(DWORD access, DWORD disposition, DWORD share);
    void MoveTo(std::size_t offset);
    void RequireOpen() const;

    std::wstring FPath;
    KernelHandle FHandle;
};
