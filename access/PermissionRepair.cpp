#include "access/PermissionRepair.h"

#include "access/AccessList.h"

namespace {

class SecurityWalk : public TreeWalk {
public:
    SecurityWalk(PSID sid, DWORD mask) : FSid(sid), FMask(mask) {}

protected:
    DWORD Grant(const Object& object, const std::wstring&, bool markInherited) override
    {
        return GrantAccessToHandle(object.Handle, object.IsFolder, FSid, FMask, markInherited);
    }

private:
    PSID FSid;
    DWORD FMask;
};

}  // namespace

WalkReport RepairFolderAccess(const std::wstring& path, std::function<void(std::size_t)> progress)
{
    SidOwner everyone;
    if (!CreateEveryoneSid(everyone)) {
        WalkReport report;
        report.StoppedAt = path;
        report.Error = GetLastError();
        return report;
    }
    SecurityWalk walk(everyone, RepairAccessMask);
    walk.OnProgress = std::move(progress);
    return walk.Tree(path);
}
