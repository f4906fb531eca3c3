// The permission repair: the access-list surgery on real in-memory lists, the walk's order over a
// real tree through a recording walk, and the real repair over throw-away trees only.
#include "tests/windows/TestSupport.h"
#include "validation/AccessList.h"
#include "validation/Administrators.h"
#include "validation/PermissionRepair.h"

#include <aclapi.h>

#include <map>

namespace {

struct Change {
    std::wstring Path;
    bool Inherited;
    bool operator==(const Change& other) const { return Path == other.Path && Inherited == other.Inherited; }
};

std::ostream& operator<<(std::ostream& out, const Change& change)
{
    return out << Narrow(change.Path) << (change.Inherited ? " (inherited)" : "");
}

// Records what the walk would change, in order, over the real tree's objects, and can pose
// listings and folder identities.
class RecordingWalk : public TreeWalk {
public:
    std::vector<Change> Changes;
    std::map<std::wstring, std::vector<Entry>> PosedListings;
    std::map<std::wstring, std::uint64_t> PosedIdentities;
    std::wstring FailAt;

protected:
    bool Grant(const Object&, const std::wstring& path, bool markInherited) override
    {
        Changes.push_back({path, markInherited});
        return path != FailAt;
    }
    bool List(const std::wstring& folder, std::vector<Entry>& entries) override
    {
        const auto posed = PosedListings.find(folder);
        if (posed == PosedListings.end())
            return TreeWalk::List(folder, entries);
        entries = posed->second;
        return true;
    }
    bool Open(const std::wstring& path, bool asEntry, Object& object) override
    {
        if (!TreeWalk::Open(path, asEntry, object))
            return false;
        const auto posed = PosedIdentities.find(path);
        if (posed != PosedIdentities.end()) {
            object.Volume = 1;
            object.Index = posed->second;
        }
        return true;
    }
};

struct AclBuffer {
    explicit AclBuffer(DWORD size = 1024) : Bytes(size) { InitializeAcl(Get(), size, ACL_REVISION); }
    PACL Get() { return reinterpret_cast<PACL>(Bytes.data()); }
    std::vector<BYTE> Bytes;
};

struct Sids {
    Sids()
    {
        CreateEveryoneSid(Everyone);
        SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
        AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_USERS, 0, 0, 0, 0, 0, 0, Users.Receive());
    }
    SidOwner Everyone;
    SidOwner Users;
};

ACE_HEADER* EntryAt(PACL list, DWORD index)
{
    void* entry = nullptr;
    return GetAce(list, index, &entry) ? static_cast<ACE_HEADER*>(entry) : nullptr;
}

DWORD EntryCount(PACL list)
{
    ACL_SIZE_INFORMATION size{};
    GetAclInformation(list, &size, sizeof size, AclSizeInformation);
    return size.AceCount;
}

PSID SidOf(ACE_HEADER* entry)
{
    return &reinterpret_cast<ACCESS_ALLOWED_ACE*>(entry)->SidStart;
}

}  // namespace

TEST(AccessListRewrite, RemovesEveryEntryForTheGroupAndPutsTheNewOneFirst)
{
    Sids sids;
    AclBuffer old;
    AddAccessAllowedAceEx(old.Get(), ACL_REVISION, 0, FILE_GENERIC_READ, sids.Users);
    AddAccessDeniedAceEx(old.Get(), ACL_REVISION, INHERITED_ACE, FILE_GENERIC_WRITE, sids.Everyone);
    AddAccessAllowedAceEx(old.Get(), ACL_REVISION, OBJECT_INHERIT_ACE, FILE_GENERIC_READ, sids.Everyone);
    LocalMemory rewritten;
    ASSERT_TRUE(RewriteAccessList(old.Get(), sids.Everyone, RepairAccessMask, true, false, rewritten));
    auto* list = static_cast<PACL>(static_cast<HLOCAL>(rewritten));
    ASSERT_EQ(EntryCount(list), 2u);
    ACE_HEADER* first = EntryAt(list, 0);
    EXPECT_EQ(first->AceType, ACCESS_ALLOWED_ACE_TYPE);
    EXPECT_EQ(first->AceFlags, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE);
    EXPECT_EQ(first->AceSize, 8 + GetLengthSid(sids.Everyone));
    EXPECT_EQ(reinterpret_cast<ACCESS_ALLOWED_ACE*>(first)->Mask, 0xE0010000u);
    EXPECT_TRUE(EqualSid(SidOf(first), sids.Everyone));
    EXPECT_TRUE(EqualSid(SidOf(EntryAt(list, 1)), sids.Users));
}

TEST(AccessListRewrite, FileEntriesCarryNoInheritFlagsAndMayBeMarkedInherited)
{
    Sids sids;
    AclBuffer old;
    LocalMemory rewritten;
    ASSERT_TRUE(RewriteAccessList(old.Get(), sids.Everyone, RepairAccessMask, false, true, rewritten));
    EXPECT_EQ(EntryAt(static_cast<PACL>(static_cast<HLOCAL>(rewritten)), 0)->AceFlags, INHERITED_ACE);
    ASSERT_TRUE(RewriteAccessList(old.Get(), sids.Everyone, RepairAccessMask, true, true, rewritten));
    EXPECT_EQ(EntryAt(static_cast<PACL>(static_cast<HLOCAL>(rewritten)), 0)->AceFlags, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE | INHERITED_ACE);
}

TEST(AccessListRewrite, AListThatWouldPassTheSizeLimitFailsCleanly)
{
    Sids sids;
    AclBuffer full(0xFFFC);
    while (AddAccessAllowedAceEx(full.Get(), ACL_REVISION, 0, FILE_GENERIC_READ, sids.Users)) {
    }
    LocalMemory rewritten;
    EXPECT_FALSE(RewriteAccessList(full.Get(), sids.Everyone, RepairAccessMask, true, false, rewritten));
}

TEST(TreeWalkOrder, ChangesTheStartFolderFirstAndLastAndEachFolderBeforeItsContents)
{
    ScratchFolder tree;
    WriteBytes(tree / L"file.txt", "x");
    CreateDirectoryW((tree / L"sub").c_str(), nullptr);
    WriteBytes(tree / L"sub\\inner.txt", "x");
    CreateDirectoryW((tree / L".hidden").c_str(), nullptr);
    WriteBytes(tree / L".hidden\\secret.txt", "x");
    WriteBytes(tree / L".dotfile", "x");
    RecordingWalk walk;
    EXPECT_TRUE(walk.Tree(L"  " + tree.Path() + L"\\  "));
    std::vector<Change> expected{{tree.Path(), true}};
    // The listing's own order decides between the file and the sub-folder.
    std::vector<Change> file{{tree / L"file.txt", true}};
    std::vector<Change> sub{{tree / L"sub", true}, {tree / L"sub\\inner.txt", true}};
    ASSERT_EQ(walk.Changes.size(), 5u);
    const bool fileFirst = walk.Changes[1].Path == tree / L"file.txt";
    for (const auto& part : fileFirst ? std::vector<std::vector<Change>>{file, sub} : std::vector<std::vector<Change>>{sub, file})
        expected.insert(expected.end(), part.begin(), part.end());
    expected.push_back({tree.Path(), false});
    EXPECT_EQ(walk.Changes, expected);
}

TEST(TreeWalkOrder, StopsAtTheFirstObjectThatFails)
{
    ScratchFolder tree;
    CreateDirectoryW((tree / L"a").c_str(), nullptr);
    WriteBytes(tree / L"a\\1.txt", "x");
    WriteBytes(tree / L"a\\2.txt", "x");
    RecordingWalk walk;
    walk.FailAt = tree / L"a";
    EXPECT_FALSE(walk.Tree(tree.Path()));
    EXPECT_EQ(walk.Changes, (std::vector<Change>{{tree.Path(), true}, {tree / L"a", true}}));
    RecordingWalk atStart;
    atStart.FailAt = tree.Path();
    EXPECT_FALSE(atStart.Tree(tree.Path()));
    EXPECT_EQ(atStart.Changes.size(), 1u);  // nothing below a start folder that failed
}

TEST(TreeWalkOrder, AFileOrNothingAtThePathIsOneChangeAndBlankTextNone)
{
    ScratchFolder tree;
    WriteBytes(tree / L"only.txt", "x");
    RecordingWalk walk;
    EXPECT_TRUE(walk.Tree(tree / L"only.txt"));
    EXPECT_EQ(walk.Changes, (std::vector<Change>{{tree / L"only.txt", false}}));
    RecordingWalk blank;
    EXPECT_FALSE(blank.Tree(L""));
    EXPECT_FALSE(blank.Tree(L" \t "));
    EXPECT_TRUE(blank.Changes.empty());
}

TEST(TreeWalkOrder, NeverFollowsLinksNorEntersAFolderTwice)
{
    ScratchFolder tree;
    CreateDirectoryW((tree / L"real").c_str(), nullptr);
    CreateDirectoryW((tree / L"bound").c_str(), nullptr);
    RecordingWalk walk;
    // A link to a folder and a link to a file, as Windows lists them; Wine lists a link to a file
    // as a plain file, so both are posed here.
    walk.PosedListings[tree.Path()] = {{L"real", FILE_ATTRIBUTE_DIRECTORY},
                                       {L"junction", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT},
                                       {L"filelink.txt", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_REPARSE_POINT},
                                       {L"bound", FILE_ATTRIBUTE_DIRECTORY}};
    walk.PosedListings[tree / L"real"] = {};
    walk.PosedListings[tree / L"bound"] = {};
    // A bind mount lists as a plain folder: the same folder reached under a second name.
    walk.PosedIdentities[tree / L"real"] = 7;
    walk.PosedIdentities[tree / L"bound"] = 7;
    EXPECT_TRUE(walk.Tree(tree.Path()));
    EXPECT_EQ(walk.Changes, (std::vector<Change>{{tree.Path(), true}, {tree / L"real", true}, {tree.Path(), false}}));
}

TEST(TreeWalkOrder, WalksTreesDeeperThanMaxPath)
{
    ScratchFolder tree;
    std::wstring path = tree.Path();
    for (int depth = 0; depth < 30; ++depth) {
        path += L"\\level-" + std::to_wstring(depth) + L"-xxxxxxxx";
        ASSERT_TRUE(CreateDirectoryW(LongPathForm(path).c_str(), nullptr)) << depth;
    }
    ASSERT_GT(path.size(), static_cast<std::size_t>(MAX_PATH));
    RecordingWalk walk;
    EXPECT_TRUE(walk.Tree(tree.Path()));
    EXPECT_EQ(walk.Changes.size(), 32u);
    EXPECT_EQ(walk.Changes[30].Path, path);
    SidOwner everyone;
    CreateEveryoneSid(everyone);
    EXPECT_TRUE(GrantAccessToObject(path, everyone, RepairAccessMask, true));
    for (; path.size() > tree.Path().size(); path.erase(path.find_last_of(L'\\')))
        RemoveDirectoryW(LongPathForm(path).c_str());
}

TEST(PermissionRepair, RepairsAThrowAwayTreeAndRefusesBlankText)
{
    ScratchFolder tree;
    WriteBytes(tree / L"file.txt", "x");
    CreateDirectoryW((tree / L"sub").c_str(), nullptr);
    EXPECT_TRUE(RepairFolderAccess(L" " + tree.Path() + L"\\ "));
    EXPECT_FALSE(RepairFolderAccess(L""));
    EXPECT_FALSE(RepairFolderAccess(L"   "));
    SidOwner everyone;
    CreateEveryoneSid(everyone);
    EXPECT_FALSE(GrantAccessToObject(tree / L"missing", everyone, RepairAccessMask, false));
    BYTE invalid[16] = {};
    EXPECT_FALSE(GrantAccessToObject(tree.Path(), invalid, RepairAccessMask, false));
}

TEST(PermissionRepair, WineCountsEveryUserAsAnAdministrator)
{
    EXPECT_TRUE(IsAdministrator());
}

namespace {

// A chain of folders, one inside the other, as deep as asked, that exists only in the walk's
// listing and opening seams: no system call is made, and nothing is changed.
class SyntheticChain : public TreeWalk {
public:
    explicit SyntheticChain(int depth) : FDepth(depth) {}
    std::size_t Changes = 0;

protected:
    bool Grant(const Object&, const std::wstring&, bool) override
    {
        ++Changes;
        return true;
    }
    bool List(const std::wstring&, std::vector<Entry>& entries) override
    {
        if (FOpened < FDepth)
            entries.push_back({L"d", FILE_ATTRIBUTE_DIRECTORY});
        return true;
    }
    bool Open(const std::wstring&, bool, Object& object) override
    {
        object.IsFolder = true;
        object.Index = static_cast<std::uint64_t>(++FOpened);
        return true;
    }

private:
    int FDepth;
    int FOpened = -1;  // the start folder is the first opened
};

// The real repair, with a folder of the tree swapped for a link to a folder outside it right
// after the walk has listed the folder that holds it, before the walk opens it. Only Unix can make
// the link (Wine moves a link's target, not the link), so the seam asks tests/windows/link-swap.sh
// for the swap through a file and waits for it to be done.
class SwappingRepair : public TreeWalk {
public:
    explicit SwappingRepair(std::wstring root) : FRoot(std::move(root)) { CreateEveryoneSid(FEveryone); }
    bool Swapped = false;

protected:
    bool Grant(const Object& object, const std::wstring&, bool markInherited) override
    {
        return GrantAccessToHandle(object.Handle, object.IsFolder, FEveryone, RepairAccessMask, markInherited);
    }
    bool List(const std::wstring& folder, std::vector<Entry>& entries) override
    {
        const bool listed = TreeWalk::List(folder, entries);
        if (folder == FRoot + L"\\tree" && !Swapped) {
            WriteBytes(FRoot + L"\\swap-now", "");
            for (int wait = 0; wait < 200 && !Swapped; ++wait, Sleep(50))
                Swapped = GetFileAttributesW((FRoot + L"\\swapped").c_str()) != INVALID_FILE_ATTRIBUTES;
        }
        return listed;
    }

private:
    SidOwner FEveryone;
    std::wstring FRoot;
};

}  // namespace

TEST(TreeWalkDepth, FiftyThousandLevelsAreWalkedWithoutTheProgramsStack)
{
    SyntheticChain chain(50000);
    EXPECT_TRUE(chain.Tree(L"C:\\chain"));
    EXPECT_EQ(chain.Changes, 50002u);  // the start folder twice, and every folder below it
}

// Only Unix can make a symbolic link here and read mode bits, so tests/windows/link-swap.sh lays
// out the folders (one outside the tree with mode 0700), names them in IPLIST_LINK_SWAP_ROOT, runs
// this test, swaps when asked, and checks afterwards that the outside folder kept its mode. The
// walk must leave the link alone, though Wine opens its target when asked for the link itself.
TEST(PermissionRepair, AFolderSwappedForALinkAfterTheListingIsLeftAlone)
{
    const wchar_t* root = _wgetenv(L"IPLIST_LINK_SWAP_ROOT");
    if (!root)
        GTEST_SKIP() << "run by tests/windows/link-swap.sh";
    SwappingRepair repair(root);
    EXPECT_TRUE(repair.Tree(std::wstring(root) + L"\\tree"));
    EXPECT_TRUE(repair.Swapped);
    WIN32_FIND_DATAW listed;  // Wine tells a link to a folder by a wildcard listing only
    FindClose(FindFirstFileW((std::wstring(root) + L"\\tree\\su?").c_str(), &listed));
    EXPECT_NE(listed.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT, 0u);
}
