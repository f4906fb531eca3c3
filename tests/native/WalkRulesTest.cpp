// The permission repair's decisions that need no system: when two objects are one, when an opened
// object is the one its folder listed, and which control bits of an access list its rewrite keeps.
#include "access/WalkRules.h"

#include <gtest/gtest.h>

namespace {

struct IdentityCase {
    const char* Name;
    ObjectIdentity A, B;
    bool Same;
};

const IdentityCase IdentityCases[] = {
    {"one object", {7, 42, 1000}, {7, 42, 1000}, true},
    {"index 0, as some redirectors give every object", {7, 0, 1000}, {7, 0, 1000}, false},
    {"one index, created at other times: a redirector's index that is not unique", {7, 42, 1000}, {7, 42, 2000}, false},
    {"one index on two volumes", {7, 42, 1000}, {8, 42, 1000}, false},
    {"other indices", {7, 42, 1000}, {7, 43, 1000}, false},
};

struct ListingCase {
    const char* Name;
    ListedEntry Listed;
    OpenedObject Opened;
    bool AsListed;
};

const ListingCase ListingCases[] = {
    {"the folder listed", {42, 0}, {42, 0, true}, true},
    {"another object under the listed name: a link put there since", {42, 0}, {99, 0, true}, false},
    {"no identity listed (Windows 2000, some redirectors)", {0, 0}, {99, 0, true}, true},
    {"no identity opened", {42, 0}, {0, 0, true}, true},
    {"a file listed with its size", {42, 10}, {42, 10, false}, true},
    {"a file listed empty that opens with content: a link to a file", {42, 0}, {42, 10, false}, false},
    {"an empty file", {42, 0}, {42, 0, false}, true},
    {"a file that grew since it was listed", {42, 10}, {42, 20, false}, true},
};

}  // namespace

TEST(WalkRules, IdentitiesAreTrustedOnlyWhereTheyCanBe)
{
    for (const IdentityCase& c : IdentityCases) {
        EXPECT_EQ(SameObject(c.A, c.B), c.Same) << c.Name;
        EXPECT_EQ(SameObject(c.B, c.A), c.Same) << c.Name;
    }
}

TEST(WalkRules, AFolderIsItsOwnAncestorOnlyByAKnownIdentity)
{
    AncestorChain chain;
    chain.Enter({7, 1, 100});
    chain.Enter({7, 0, 100});
    chain.Enter({7, 2, 200});
    EXPECT_TRUE(chain.Contains({7, 1, 100}));
    EXPECT_FALSE(chain.Contains({7, 0, 100}));  // the index 0 proves nothing
    EXPECT_FALSE(chain.Contains({7, 2, 300}));
    chain.Enter({7, 2, 200});  // a folder mounted inside itself, entered twice before it was found
    chain.Leave({7, 2, 200});
    EXPECT_TRUE(chain.Contains({7, 2, 200}));
    chain.Leave({7, 2, 200});
    EXPECT_FALSE(chain.Contains({7, 2, 200}));
}

TEST(WalkRules, AnOpenedObjectIsTheListedOneWhereTheListingCanTell)
{
    for (const ListingCase& c : ListingCases)
        EXPECT_EQ(OpenedAsListed(c.Listed, c.Opened), c.AsListed) << c.Name;
}

TEST(WalkRules, TheRewriteKeepsProtectionAndAutomaticInheritanceOnly)
{
    const std::uint16_t present = 0x0004, defaulted = 0x0008, requested = 0x0100, selfRelative = 0x8000;
    EXPECT_EQ(DaclControlBitsToKeep(DaclProtected | present | selfRelative), DaclProtected);
    EXPECT_EQ(DaclControlBitsToKeep(DaclAutoInherited | requested | defaulted), DaclAutoInherited);
    EXPECT_EQ(DaclControlBitsToKeep(DaclProtected | DaclAutoInherited), DaclProtected | DaclAutoInherited);
    EXPECT_EQ(DaclControlBitsToKeep(present), 0);
}
