#include "validation/PermissionRepair.h"

#include "owners/Owners.h"
#include "files/FileSystem.h"
#include "toolkit/Application.h"

#include <aclapi.h>

#include <algorithm>
#include <cstring>

namespace {

const BYTE FolderEntryFlags = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
const DWORD MaximumAccessListSize = 0xFFFF;  // the size field of a list has 16 bits

bool CreateAdministratorsSid(SidOwner& sid)
{
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    return AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0,
                                    0, 0, sid.Receive()) != FALSE;
}

bool OpenQueryToken(KernelHandle& token)
{
    HANDLE handle = nullptr;
    if (OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &handle)) {
        token.Reset(handle);
        return true;
    }
    if (GetLastError() != ERROR_NO_TOKEN || !OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &handle))
        return false;
    token.Reset(handle);
    return true;
}

// The whole group list, however many groups the token holds.
bool ReadGroups(HANDLE token, std::vector<BYTE>& groups)
{
    DWORD size = 0;
    GetTokenInformation(token, TokenGroups, nullptr, 0, &size);
    if (size == 0)
        return false;
    groups.assign(size, 0);
    return GetTokenInformation(token, TokenGroups, groups.data(), size, &size) != FALSE;
}

// The identifier stored after an entry's header and access mask, when one fits inside the entry.
PSID EntrySid(const ACE_HEADER* entry)
{
    const DWORD offset = sizeof(ACE_HEADER) + sizeof(ACCESS_MASK);
    if (entry->AceSize < offset + sizeof(SID))
        return nullptr;
    PSID sid = const_cast<BYTE*>(reinterpret_cast<const BYTE*>(entry) + offset);
    const DWORD room = entry->AceSize - offset;
    const DWORD length = 8 + 4 * static_cast<DWORD>(static_cast<const SID*>(sid)->SubAuthorityCount);
    return length <= room && IsValidSid(sid) ? sid : nullptr;
}

bool ReadListInformation(PACL list, ACL_SIZE_INFORMATION& size, ACL_REVISION_INFORMATION& revision)
{
    return GetAclInformation(list, &size, sizeof size, AclSizeInformation) &&
           GetAclInformation(list, &revision, sizeof revision, AclRevisionInformation);
}

void RemoveEntriesFor(PACL list, PSID sid, DWORD count)
{
    for (DWORD i = count; i-- > 0;) {
        void* entry = nullptr;
        if (!GetAce(list, i, &entry))
            continue;
        PSID entrySid = EntrySid(static_cast<ACE_HEADER*>(entry));
        if (entrySid && EqualSid(entrySid, sid))
            DeleteAce(list, i);
    }
}

}  // namespace

bool IsAdministrator()
{
    std::vector<BYTE> groups;
    {
        KernelHandle token;
        if (!OpenQueryToken(token))
            return false;
        if (!ReadGroups(token, groups))
            return false;
    }  // the token is closed right after the query
    SidOwner administrators;
    if (!CreateAdministratorsSid(administrators))
        return false;
    const auto* list = reinterpret_cast<const TOKEN_GROUPS*>(groups.data());
    for (DWORD i = 0; i < list->GroupCount; ++i)
        if (EqualSid(list->Groups[i].Sid, administrators))
            return true;
    return false;
}

bool CreateEveryoneSid(SidOwner& sid)
{
    SID_IDENTIFIER_AUTHORITY worldAuthority = SECURITY_WORLD_SID_AUTHORITY;
    return AllocateAndInitializeSid(&worldAuthority, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, sid.Receive()) != FALSE;
}

bool RepairFolderAccess(const std::wstring& path)
{
    SidOwner everyone;
    if (!CreateEveryoneSid(everyone))
        return false;
    return GrantAccessToTree(path, everyone, RepairAccessMask);
}

std::wstring LongPathForm(const std::wstring& path)
{
    if (path.size() < MAX_PATH || path.compare(0, 4, L"\\\\?\\") == 0)
        return path;
    if (path.compare(0, 2, L"\\\\") == 0)
        return L"\\\\?\\UNC\\" + path.substr(2);
    return L"\\\\?\\" + path;
}

bool RewriteAccessList(PACL oldList, PSID sid, DWORD accessMask, bool isFolder, bool markInherited, LocalMemory& newList)
{
    ACL_SIZE_INFORMATION size{};
    ACL_REVISION_INFORMATION revision{};
    if (!ReadListInformation(oldList, size, revision))
        return false;
    RemoveEntriesFor(oldList, sid, size.AceCount);
    if (!ReadListInformation(oldList, size, revision))
        return false;

    const DWORD entrySize = sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + GetLengthSid(sid);
    const DWORD copied = size.AclBytesInUse + size.AclBytesFree;
    if (copied + entrySize > MaximumAccessListSize)
        return false;
    const DWORD newSize = copied + entrySize;
    newList.Reset(LocalAlloc(LPTR, newSize));
    auto* list = static_cast<ACL*>(static_cast<HLOCAL>(newList));
    if (!list || !InitializeAcl(list, newSize, revision.AclRevision))
        return false;

    std::vector<BYTE> entryBuffer(entrySize, 0);
    auto* entry = reinterpret_cast<ACCESS_ALLOWED_ACE*>(entryBuffer.data());
    entry->Header.AceType = ACCESS_ALLOWED_ACE_TYPE;
    entry->Header.AceFlags = static_cast<BYTE>((isFolder ? FolderEntryFlags : 0) | (markInherited ? INHERITED_ACE : 0));
    entry->Header.AceSize = static_cast<WORD>(entrySize);
    entry->Mask = accessMask;
    if (!CopySid(GetLengthSid(sid), &entry->SidStart, sid))
        return false;
    // The new entry first, then the old entries as they stand. Not every implementation honours
    // AddAce's starting position, so the list is built by appending, which gives the same list.
    if (!AddAce(list, revision.AclRevision, MAXDWORD, entry, entrySize))
        return false;
    void* firstOld = nullptr;
    if (size.AceCount > 0 &&
        (!GetAce(oldList, 0, &firstOld) ||
         !AddAce(list, revision.AclRevision, MAXDWORD, firstOld, size.AclBytesInUse - static_cast<DWORD>(sizeof(ACL)))))
        return false;
    ACL_SIZE_INFORMATION newInformation{};
    return GetAclInformation(list, &newInformation, sizeof newInformation, AclSizeInformation) != FALSE;
}

bool GrantAccessToObject(const std::wstring& path, PSID sid, DWORD accessMask, bool markInherited)
{
    if (!IsValidSid(sid))
        return false;
    const std::wstring objectPath = LongPathForm(path);
    const bool isFile = FileExists(objectPath);
    PACL list = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(objectPath.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &list,
                              nullptr, &descriptor) != ERROR_SUCCESS)
        return false;
    LocalMemory descriptorOwner(descriptor);
    if (!list)
        return false;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD descriptorRevision = 0;
    if (!GetSecurityDescriptorControl(descriptor, &control, &descriptorRevision) || !(control & SE_DACL_PRESENT))
        return false;
    LocalMemory newList;
    if (!RewriteAccessList(list, sid, accessMask, !isFile, markInherited, newList))
        return false;
    return SetNamedSecurityInfoW(const_cast<wchar_t*>(objectPath.c_str()), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                                 nullptr, nullptr, static_cast<PACL>(static_cast<HLOCAL>(newList)), nullptr) == ERROR_SUCCESS;
}

bool TreeWalk::List(const std::wstring& folder, std::vector<Entry>& entries)
{
    WIN32_FIND_DATAW found;
    FindHandle listing(FindFirstFileW(LongPathForm(folder + L"\\*.*").c_str(), &found));
    if (!listing.Valid())
        return true;  // nothing listed, nothing to change
    do
        entries.push_back({found.cFileName, found.dwFileAttributes});
    while (FindNextFileW(listing, &found));
    return true;
}

bool TreeWalk::FolderIdentity(const std::wstring& folder, std::uint64_t& volume, std::uint64_t& index)
{
    KernelHandle handle(CreateFileW(LongPathForm(folder).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION information;
    if (!handle.Valid() || !GetFileInformationByHandle(handle, &information))
        return false;
    volume = information.dwVolumeSerialNumber;
    index = (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow;
    return true;
}

bool TreeWalk::Contents(const std::wstring& folder)
{
    std::uint64_t volume = 0, index = 0;
    if (FolderIdentity(folder, volume, index)) {
        if (!FVisited.insert(std::make_pair(volume, index)).second)
            return true;  // reached again through another name: it has been changed already
    }
    bool result = Grant(folder, true);
    std::vector<Entry> entries;
    List(folder, entries);
    for (const Entry& entry : entries) {
        if (entry.Name.empty() || entry.Name[0] == L'.')
            continue;
        // A link leads out of the tree, or back into it: its target is not ours to change.
        if (entry.Attributes & FILE_ATTRIBUTE_REPARSE_POINT)
            continue;
        const std::wstring path = folder + L"\\" + entry.Name;
        if (entry.Attributes & FILE_ATTRIBUTE_DIRECTORY) {
            Application::ProcessMessages();
            result = result && Contents(path);
        } else {
            result = result && Grant(path, true);
        }
        if (!result)
            break;
    }
    return result;
}

bool TreeWalk::Tree(const std::wstring& path)
{
    const auto blank = [](wchar_t c) { return c <= L' '; };
    const auto first = std::find_if_not(path.begin(), path.end(), blank);
    const auto last = std::find_if_not(path.rbegin(), path.rend(), blank).base();
    if (first >= last)
        return false;
    std::wstring trimmed(first, last);
    if (!DirectoryExistsQuietly(LongPathForm(trimmed)))
        return Grant(trimmed, false);
    if (trimmed.back() == L'\\')
        trimmed.pop_back();
    Application::ProcessMessages();
    FVisited.clear();
    return Contents(trimmed) && Grant(trimmed, false);
}

bool GrantAccessToTree(const std::wstring& path, PSID sid, DWORD accessMask)
{
    class SecurityWalk : public TreeWalk {
    public:
        SecurityWalk(PSID sid, DWORD mask) : FSid(sid), FMask(mask) {}

    protected:
        bool Grant(const std::wstring& objectPath, bool markInherited) override
        {
            return GrantAccessToObject(objectPath, FSid, FMask, markInherited);
        }

    private:
        PSID FSid;
        DWORD FMask;
    };
    SecurityWalk walk(sid, accessMask);
    return walk.Tree(path);
}
