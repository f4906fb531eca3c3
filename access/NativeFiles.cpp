#include "access/NativeFiles.h"

#include <winternl.h>

#include <type_traits>

namespace {

// The codes the native calls answer that the walk acts on.
const NTSTATUS NoMoreFiles = static_cast<NTSTATUS>(0x80000006);
const NTSTATUS NoSuchFile = static_cast<NTSTATUS>(0xC000000F);
const NTSTATUS InvalidInfoClass = static_cast<NTSTATUS>(0xC0000003);
const NTSTATUS InvalidParameter = static_cast<NTSTATUS>(0xC000000D);
const NTSTATUS NotImplemented = static_cast<NTSTATUS>(0xC0000002);
const NTSTATUS NotSupported = static_cast<NTSTATUS>(0xC00000BB);
const NTSTATUS NotADirectory = static_cast<NTSTATUS>(0xC0000103);
const NTSTATUS FileIsADirectory = static_cast<NTSTATUS>(0xC00000BA);

const FILE_INFORMATION_CLASS BasicFacts = static_cast<FILE_INFORMATION_CLASS>(4);
const FILE_INFORMATION_CLASS StandardFacts = static_cast<FILE_INFORMATION_CLASS>(5);
const FILE_INFORMATION_CLASS InternalFacts = static_cast<FILE_INFORMATION_CLASS>(6);
const FILE_INFORMATION_CLASS DirectoryListing = static_cast<FILE_INFORMATION_CLASS>(1);    // no identities
const FILE_INFORMATION_CLASS IdentifiedListing = static_cast<FILE_INFORMATION_CLASS>(38);  // XP and later

using CreateFileCall = NTSTATUS(NTAPI*)(PHANDLE, ACCESS_MASK, POBJECT_ATTRIBUTES, PIO_STATUS_BLOCK, PLARGE_INTEGER,
                                        ULONG, ULONG, ULONG, ULONG, PVOID, ULONG);
using QueryDirectoryCall = NTSTATUS(NTAPI*)(HANDLE, HANDLE, PVOID, PVOID, PIO_STATUS_BLOCK, PVOID, ULONG,
                                            FILE_INFORMATION_CLASS, BOOLEAN, PUNICODE_STRING, BOOLEAN);
using QueryInformationCall = NTSTATUS(NTAPI*)(HANDLE, PIO_STATUS_BLOCK, PVOID, ULONG, FILE_INFORMATION_CLASS);
using StatusToErrorCall = ULONG(NTAPI*)(NTSTATUS);

// Looked up rather than imported, so that the program's imports stay what the oldest systems'
// references document; ntdll, loaded in every process, has exported these since the first NT.
struct NativeCalls {
    CreateFileCall CreateFile = nullptr;
    QueryDirectoryCall QueryDirectory = nullptr;
    QueryInformationCall QueryInformation = nullptr;
    StatusToErrorCall StatusToError = nullptr;

    NativeCalls()
    {
        const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
        if (!ntdll)
            return;
        CreateFile = reinterpret_cast<CreateFileCall>(reinterpret_cast<void*>(GetProcAddress(ntdll, "NtCreateFile")));
        QueryDirectory =
            reinterpret_cast<QueryDirectoryCall>(reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQueryDirectoryFile")));
        QueryInformation = reinterpret_cast<QueryInformationCall>(
            reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQueryInformationFile")));
        StatusToError =
            reinterpret_cast<StatusToErrorCall>(reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlNtStatusToDosError")));
    }
    bool Found() const { return CreateFile && QueryDirectory && QueryInformation && StatusToError; }
    DWORD Error(NTSTATUS status) const { return status >= 0 ? 0 : StatusToError(status); }
};

const NativeCalls& Native()
{
    static const NativeCalls calls;
    return calls;
}

NTSTATUS OpenKind(HANDLE folder, const std::wstring& name, bool asFolder, KernelHandle& object)
{
    UNICODE_STRING objectName;
    objectName.Buffer = const_cast<PWSTR>(name.c_str());
    objectName.Length = objectName.MaximumLength = static_cast<USHORT>(name.size() * sizeof(wchar_t));
    OBJECT_ATTRIBUTES attributes{};
    attributes.Length = sizeof attributes;
    attributes.RootDirectory = folder;
    attributes.ObjectName = &objectName;
    attributes.Attributes = OBJ_CASE_INSENSITIVE;
    IO_STATUS_BLOCK status{};
    const ULONG options = FILE_OPEN_REPARSE_POINT | FILE_OPEN_FOR_BACKUP_INTENT | FILE_SYNCHRONOUS_IO_NONALERT |
                          (asFolder ? FILE_DIRECTORY_FILE : FILE_NON_DIRECTORY_FILE);
    return Native().CreateFile(object.Receive(), asFolder ? HeldFolderAccess : ChangedFileAccess, &attributes, &status,
                               nullptr, 0, HeldShareMode, FILE_OPEN, options, nullptr, 0);
}

// Appends the entries of one buffer that the listing filled.
template <class Record>
void TakeEntries(const BYTE* buffer, std::vector<FolderEntry>& entries)
{
    for (const BYTE* at = buffer;;) {
        const auto* record = reinterpret_cast<const Record*>(at);
        FolderEntry entry;
        entry.Name.assign(record->FileName, record->FileNameLength / sizeof(wchar_t));
        entry.Attributes = record->FileAttributes;
        entry.Size = static_cast<std::uint64_t>(record->EndOfFile.QuadPart);
        if constexpr (std::is_same_v<Record, FILE_ID_FULL_DIR_INFORMATION>)
            entry.Id = static_cast<std::uint64_t>(record->FileId.QuadPart);
        entries.push_back(std::move(entry));
        if (record->NextEntryOffset == 0)
            return;
        at += record->NextEntryOffset;
    }
}

}  // namespace

DWORD OpenInFolder(HANDLE folder, const std::wstring& name, bool listedAsFolder, KernelHandle& object)
{
    if (!Native().Found())
        return ERROR_PROC_NOT_FOUND;
    if (name.size() * sizeof(wchar_t) > 0xFFFF)
        return ERROR_FILENAME_EXCED_RANGE;
    NTSTATUS status = OpenKind(folder, name, listedAsFolder, object);
    // What it is may have changed since the listing: a file where a folder was, or the reverse.
    if (status == NotADirectory || status == FileIsADirectory)
        status = OpenKind(folder, name, !listedAsFolder, object);
    return Native().Error(status);
}

template <class Facts>
NTSTATUS Query(HANDLE object, FILE_INFORMATION_CLASS kind, Facts& facts)
{
    IO_STATUS_BLOCK status{};
    return Native().QueryInformation(object, &status, &facts, sizeof facts, kind);
}

DWORD QueryObject(HANDLE object, ObjectFacts& facts)
{
    if (!Native().Found())
        return ERROR_PROC_NOT_FOUND;
    FILE_BASIC_INFORMATION basic{};
    FILE_STANDARD_INFORMATION standard{};
    FILE_INTERNAL_INFORMATION internal{};
    NTSTATUS status = Query(object, BasicFacts, basic);
    if (status >= 0)
        status = Query(object, StandardFacts, standard);
    if (status >= 0)
        status = Query(object, InternalFacts, internal);
    if (status < 0)
        return Native().Error(status);
    facts.Attributes = basic.FileAttributes;
    facts.Created = static_cast<std::uint64_t>(basic.CreationTime.QuadPart);
    facts.Links = standard.NumberOfLinks;
    facts.Size = static_cast<std::uint64_t>(standard.EndOfFile.QuadPart);
    facts.Index = static_cast<std::uint64_t>(internal.IndexNumber.QuadPart);
    return 0;
}

DWORD ListFolder(HANDLE folder, std::vector<FolderEntry>& entries)
{
    if (!Native().Found())
        return ERROR_PROC_NOT_FOUND;
    entries.clear();
    std::vector<BYTE> buffer(64 * 1024);
    FILE_INFORMATION_CLASS listing = IdentifiedListing;
    for (BOOLEAN restart = TRUE;; restart = FALSE) {
        IO_STATUS_BLOCK result{};
        NTSTATUS status = Native().QueryDirectory(folder, nullptr, nullptr, nullptr, &result, buffer.data(),
                                                  static_cast<ULONG>(buffer.size()), listing, FALSE, nullptr, restart);
        // Windows 2000, and some network file systems, list no identities.
        if (listing == IdentifiedListing && restart &&
            (status == InvalidInfoClass || status == InvalidParameter || status == NotImplemented || status == NotSupported)) {
            listing = DirectoryListing;
            status = Native().QueryDirectory(folder, nullptr, nullptr, nullptr, &result, buffer.data(),
                                             static_cast<ULONG>(buffer.size()), listing, FALSE, nullptr, TRUE);
        }
        if (status == NoMoreFiles || status == NoSuchFile)
            return 0;
        if (status < 0)
            return Native().Error(status);
        if (listing == IdentifiedListing)
            TakeEntries<FILE_ID_FULL_DIR_INFORMATION>(buffer.data(), entries);
        else
            TakeEntries<FILE_DIRECTORY_INFORMATION>(buffer.data(), entries);
    }
}
