#include "validation/AccessList.h"

#include <aclapi.h>

#include <vector>

namespace {

const BYTE FolderEntryFlags = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
const DWORD MaximumAccessListSize = 0xFFFF;  // the size field of a list has 16 bits

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

bool CreateEveryoneSid(SidOwner& sid)
{
    SID_IDENTIFIER_AUTHORITY worldAuthority = SECURITY_WORLD_SID_AUTHORITY;
    return AllocateAndInitializeSid(&worldAuthority, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, sid.Receive()) != FALSE;
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

bool GrantAccessToHandle(HANDLE object, bool isFolder, PSID sid, DWORD accessMask, bool markInherited)
{
    if (!IsValidSid(sid))
        return false;
    PACL list = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(object, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &list, nullptr,
                        &descriptor) != ERROR_SUCCESS)
        return false;
    const LocalMemory descriptorOwner(descriptor);
    if (!list)
        return false;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD descriptorRevision = 0;
    if (!GetSecurityDescriptorControl(descriptor, &control, &descriptorRevision) || !(control & SE_DACL_PRESENT))
        return false;
    LocalMemory newList;
    if (!RewriteAccessList(list, sid, accessMask, isFolder, markInherited, newList))
        return false;
    SECURITY_DESCRIPTOR changed;
    return InitializeSecurityDescriptor(&changed, SECURITY_DESCRIPTOR_REVISION) &&
           SetSecurityDescriptorDacl(&changed, TRUE, static_cast<PACL>(static_cast<HLOCAL>(newList)), FALSE) &&
           SetKernelObjectSecurity(object, DACL_SECURITY_INFORMATION, &changed);
}

bool GrantAccessToObject(const std::wstring& path, PSID sid, DWORD accessMask, bool markInherited)
{
    const KernelHandle object(CreateFileW(LongPathForm(path).c_str(), READ_CONTROL | WRITE_DAC | FILE_READ_ATTRIBUTES,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                          FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION information;
    if (!object.Valid() || !GetFileInformationByHandle(object, &information))
        return false;
    const bool isFolder = (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return GrantAccessToHandle(object, isFolder, sid, accessMask, markInherited);
}
