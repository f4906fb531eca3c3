#include "access/AccessList.h"

#include "access/WalkRules.h"

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

// The object's security descriptor, its access list part only, in one request where it fits in
// the usual room (it nearly always does), since every request is a round trip to the system.
DWORD ReadAccessList(HANDLE object, std::vector<BYTE>& descriptor)
{
    descriptor.resize(4096);
    for (;;) {
        DWORD needed = 0;
        if (GetKernelObjectSecurity(object, DACL_SECURITY_INFORMATION, descriptor.data(),
                                    static_cast<DWORD>(descriptor.size()), &needed))
            return 0;
        const DWORD error = GetLastError();
        if (error != ERROR_INSUFFICIENT_BUFFER || needed <= descriptor.size())
            return error;
        descriptor.resize(needed);
    }
}

}  // namespace

bool CreateEveryoneSid(SidOwner& sid)
{
    SID_IDENTIFIER_AUTHORITY worldAuthority = SECURITY_WORLD_SID_AUTHORITY;
    return AllocateAndInitializeSid(&worldAuthority, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, sid.Receive()) != FALSE;
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

DWORD GrantAccessToHandle(HANDLE object, bool isFolder, PSID sid, DWORD accessMask, bool markInherited)
{
    if (!IsValidSid(sid))
        return ERROR_INVALID_SID;
    std::vector<BYTE> descriptor;
    if (const DWORD error = ReadAccessList(object, descriptor))
        return error;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD descriptorRevision = 0;
    BOOL present = FALSE, defaulted = FALSE;
    PACL list = nullptr;
    if (!GetSecurityDescriptorControl(descriptor.data(), &control, &descriptorRevision) ||
        !GetSecurityDescriptorDacl(descriptor.data(), &present, &list, &defaulted))
        return GetLastError();
    if (!present || !list)
        return ERROR_NO_SECURITY_ON_OBJECT;
    LocalMemory newList;
    if (!RewriteAccessList(list, sid, accessMask, isFolder, markInherited, newList))
        return ERROR_INVALID_ACL;
    // The list keeps its own standing: protected from inheritance, or inherited automatically.
    const SECURITY_DESCRIPTOR_CONTROL kept = DaclControlBitsToKeep(control);
    SECURITY_DESCRIPTOR changed;
    if (!InitializeSecurityDescriptor(&changed, SECURITY_DESCRIPTOR_REVISION) ||
        !SetSecurityDescriptorDacl(&changed, TRUE, static_cast<PACL>(static_cast<HLOCAL>(newList)), FALSE) ||
        !SetSecurityDescriptorControl(&changed, DaclAutoInherited | DaclProtected, kept) ||
        !SetKernelObjectSecurity(object, DACL_SECURITY_INFORMATION, &changed))
        return GetLastError();
    return 0;
}
