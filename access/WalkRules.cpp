#include "access/WalkRules.h"

bool IdentityKnown(const ObjectIdentity& identity)
{
    return identity.Index != 0;
}

bool SameObject(const ObjectIdentity& a, const ObjectIdentity& b)
{
    return IdentityKnown(a) && IdentityKnown(b) && a.Volume == b.Volume && a.Index == b.Index && a.Created == b.Created;
}

namespace {

std::tuple<std::uint32_t, std::uint64_t, std::uint64_t> Key(const ObjectIdentity& identity)
{
    return {identity.Volume, identity.Index, identity.Created};
}

}  // namespace

void AncestorChain::Enter(const ObjectIdentity& folder)
{
    if (IdentityKnown(folder))
        ++FCounts[Key(folder)];
}

void AncestorChain::Leave(const ObjectIdentity& folder)
{
    const auto found = FCounts.find(Key(folder));
    if (found != FCounts.end() && --found->second == 0)
        FCounts.erase(found);
}

bool AncestorChain::Contains(const ObjectIdentity& folder) const
{
    return IdentityKnown(folder) && FCounts.count(Key(folder)) > 0;
}

bool OpenedAsListed(const ListedEntry& listed, const OpenedObject& opened)
{
    if (listed.Id != 0 && opened.Index != 0 && listed.Id != opened.Index)
        return false;
    return !(listed.Size == 0 && !opened.IsFolder && opened.Size != 0);
}

std::uint16_t DaclControlBitsToKeep(std::uint16_t control)
{
    return control & (DaclAutoInherited | DaclProtected);
}
