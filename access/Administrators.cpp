#include "access/Administrators.h"

#include "owners/Owners.h"

#include <vector>

namespace {

bool CreateAdministratorsSid(SidOwner& sid)
{
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    return AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0,
                                    0, 0, sid.Receive()) != FALSE;
}

bool OpenQueryToken(KernelHandle& token)
{
    if (OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, token.Receive()))
        return true;
    return GetLastError() == ERROR_NO_TOKEN && OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Receive());
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

}  // namespace

bool IsAdministrator()
{
    std::vector<BYTE> groups;
    {
        KernelHandle token;
        if (!OpenQueryToken(token) || !ReadGroups(token, groups))
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
