#pragma once
#include <windows.h>

// Owns one kernel handle from CreateFileW and the like; an invalid handle owns nothing.
class FileHandle {
public:
    FileHandle() = default;
    explicit FileHandle(HANDLE handle) : FHandle(handle) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    FileHandle(FileHandle&& other) noexcept : FHandle(other.Release()) {}
    FileHandle& operator=(FileHandle&& other) noexcept { Reset(other.Release()); return *this; }
    ~FileHandle() { Reset(); }

    HANDLE Get() const { return FHandle; }
    bool Valid() const { return FHandle != INVALID_HANDLE_VALUE && FHandle != nullptr; }
    HANDLE Release() { HANDLE h = FHandle; FHandle = INVALID_HANDLE_VALUE; return h; }
    // Closes the handle; false when the system refused (the handle is given up all the same).
    bool Reset(HANDLE handle = INVALID_HANDLE_VALUE)
    {
        const bool closed = Valid() ? CloseHandle(FHandle) != FALSE : true;
        FHandle = handle;
        return closed;
    }

private:
    HANDLE FHandle = INVALID_HANDLE_VALUE;
};

// Owns a listing handle from FindFirstFileW.
class FindHandle {
public:
    explicit FindHandle(HANDLE handle) : FHandle(handle) {}
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    ~FindHandle() { if (Valid()) FindClose(FHandle); }
    HANDLE Get() const { return FHandle; }
    bool Valid() const { return FHandle != INVALID_HANDLE_VALUE; }

private:
    HANDLE FHandle;
};
