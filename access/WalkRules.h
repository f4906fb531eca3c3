#pragma once
// The decisions of the permission repair's walk that need no system call: when two objects are
// one, whether an opened object is the entry that its folder listed, and which control bits of an
// access list survive its rewrite. Kept apart so that they are tested over tables, natively.
#include <cstdint>
#include <map>
#include <tuple>

// What identifies an object on its volume. Some file systems and network redirectors give every
// object the index 0, or give different objects the same index; so an identity is trusted only
// where the index is not 0, and only together with the creation time.
struct ObjectIdentity {
    std::uint32_t Volume = 0;
    std::uint64_t Index = 0;
    std::uint64_t Created = 0;
};

bool IdentityKnown(const ObjectIdentity& identity);
// True only when both identities are known and agree in every part: where that cannot be told,
// two objects count as two, so that none is skipped as one already seen.
bool SameObject(const ObjectIdentity& a, const ObjectIdentity& b);
// The folders the walk is inside, so that a folder mounted inside itself is not entered again,
// which would never end. Only known identities count.
class AncestorChain {
public:
    void Enter(const ObjectIdentity& folder);
    void Leave(const ObjectIdentity& folder);
    bool Contains(const ObjectIdentity& folder) const;

private:
    std::map<std::tuple<std::uint32_t, std::uint64_t, std::uint64_t>, int> FCounts;
};

// What a folder's listing said of an entry, and what the object opened under its name is.
struct ListedEntry {
    std::uint64_t Id = 0;  // 0 where the file system lists no identities
    std::uint64_t Size = 0;
};
struct OpenedObject {
    std::uint64_t Index = 0;
    std::uint64_t Size = 0;
    bool IsFolder = false;
};
// Whether the opened object is the one the listing showed under that name. Where the listing
// gives identities they must agree; a file listed as empty that opens as a file with content is
// a link to a file (some systems list a link to a file as an empty plain file, and open its target).
bool OpenedAsListed(const ListedEntry& listed, const OpenedObject& opened);

// The control bits of an access list that a rewrite keeps: whether the list is protected from
// inheriting entries, and whether its entries were inherited automatically.
constexpr std::uint16_t DaclAutoInherited = 0x0400;  // SE_DACL_AUTO_INHERITED
constexpr std::uint16_t DaclProtected = 0x1000;      // SE_DACL_PROTECTED
std::uint16_t DaclControlBitsToKeep(std::uint16_t control);
