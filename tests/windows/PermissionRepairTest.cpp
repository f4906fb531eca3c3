// The permission repair: the access-list surgery on real in-memory lists, the walk's order and
// what it leaves alone over real trees through a recording walk, and the real repair over
// throw-away trees only.
#include "access/AccessList.h"
#include "access/Administrators.h"
#include "access/PermissionRepair.h"
#include "files/FileSystem.h"
#include "tests/windows/TestSupport.h"

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
// listings and identities.
class RecordingWalk : public TreeWalk {
public:
    std::vector<Change> Changes;
    std::map<std::wstring, std::vector<FolderEntry>> PosedListings;
    std::map<std::wstring, std::uint64_t> PosedIndices;
    std::wstring FailAt;

protected:
    DWORD Grant(const Object&, const std::wstring& path, bool markInherited) override
    {
        Changes.push_back({path, markInherited});
        return path == FailAt ? ERROR_ACCESS_DENIED : 0;
    }
    DWORD List(const Object& folder, const std::wstring& path, std::vector<FolderEntry>& entries) override
    {
        const auto posed = PosedListings.find(path);
        if (posed != PosedListings.end())
            entries = posed->second;
        else if (const DWORD error = TreeWalk::List(folder, path, entries))
            return error;
        for (FolderEntry& entry : entries) {
            const auto index = PosedIndices.find(path + L"\\" + entry.Name);
            if (index != PosedIndices.end())
                entry.Id = index->second;
        }
        return 0;
    }
    DWORD Open(const Object& folder, const FolderEntry& entry, const std::wstring& path, Object& object) override
    {
        if (const DWORD error = TreeWalk::Open(folder, entry, path, object))
            return error;
        const auto index = PosedIndices.find(path);
        if (index != PosedIndices.end())
            object.Identity = ObjectIdentity{1, index->second, 1};
        return 0;
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

void MakeFolder(const std::wstring& path)
{
    ASSERT_TRUE(CreateDirectoryW(ExtendedLengthPath(path).c_str(), nullptr)) << Narrow(path);
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
    MakeFolder(tree / L"sub");
    WriteBytes(tree / L"sub\\inner.txt", "x");
    MakeFolder(tree / L".hidden");
    WriteBytes(tree / L".hidden\\secret.txt", "x");
    WriteBytes(tree / L".dotfile", "x");
    RecordingWalk walk;
    const WalkReport report = walk.Tree(L"  " + tree.Path() + L"\\  ");
    EXPECT_TRUE(report.Complete);
    EXPECT_EQ(report.Changed, 5u);
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

TEST(TreeWalkOrder, StopsAtTheFirstObjectThatFailsAndSaysWhereAndWhy)
{
    ScratchFolder tree;
    MakeFolder(tree / L"a");
    WriteBytes(tree / L"a\\1.txt", "x");
    WriteBytes(tree / L"a\\2.txt", "x");
    RecordingWalk walk;
    walk.FailAt = tree / L"a";
    const WalkReport report = walk.Tree(tree.Path());
    EXPECT_FALSE(report.Complete);
    EXPECT_EQ(report.StoppedAt, tree / L"a");
    EXPECT_EQ(report.Error, static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(report.Changed, 1u);
    EXPECT_EQ(walk.Changes, (std::vector<Change>{{tree.Path(), true}, {tree / L"a", true}}));
    RecordingWalk atStart;
    atStart.FailAt = tree.Path();
    EXPECT_FALSE(atStart.Tree(tree.Path()).Complete);
    EXPECT_EQ(atStart.Changes.size(), 1u);  // nothing below a start folder that failed
}

TEST(TreeWalkOrder, AFileIsOneChangeAndBlankTextOrNothingAtThePathNone)
{
    ScratchFolder tree;
    WriteBytes(tree / L"only.txt", "x");
    RecordingWalk walk;
    EXPECT_TRUE(walk.Tree(tree / L"only.txt").Complete);
    EXPECT_EQ(walk.Changes, (std::vector<Change>{{tree / L"only.txt", false}}));
    RecordingWalk other;
    EXPECT_FALSE(other.Tree(L"").Complete);
    EXPECT_FALSE(other.Tree(L" \t ").Complete);
    const WalkReport missing = other.Tree(tree / L"missing");
    EXPECT_FALSE(missing.Complete);
    EXPECT_EQ(missing.StoppedAt, tree / L"missing");
    EXPECT_EQ(missing.Error, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_TRUE(other.Changes.empty());
}

TEST(TreeWalkOrder, LeavesLinksAndSecondNamesAloneAndSkipsNothingOnADoubtfulIdentity)
{
    ScratchFolder tree;
    for (const wchar_t* folder : {L"real", L"real\\loop", L"twin-a", L"twin-b", L"zero", L"zero\\inner"})
        MakeFolder(tree / folder);
    WriteBytes(tree / L"one.txt", "x");
    ASSERT_TRUE(CreateHardLinkW((tree / L"two.txt").c_str(), (tree / L"one.txt").c_str(), nullptr));
    RecordingWalk walk;
    // A link to a folder and a link to a file, as Windows lists them; Wine lists a link to a file
    // as a plain file, so both are posed here.
    walk.PosedListings[tree.Path()] = {{L"real", FILE_ATTRIBUTE_DIRECTORY},
                                       {L"junction", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT},
                                       {L"filelink.txt", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_REPARSE_POINT},
                                       {L"one.txt", FILE_ATTRIBUTE_ARCHIVE, 0, 1},
                                       {L"two.txt", FILE_ATTRIBUTE_ARCHIVE, 0, 1},
                                       {L"twin-a", FILE_ATTRIBUTE_DIRECTORY},
                                       {L"twin-b", FILE_ATTRIBUTE_DIRECTORY},
                                       {L"zero", FILE_ATTRIBUTE_DIRECTORY}};
    // "loop" is posed as "real" itself, as a folder mounted inside itself is: not entered. Two
    // folders that a network redirector gives one index, or the index 0, are two all the same.
    walk.PosedIndices[tree / L"real"] = 7;
    walk.PosedIndices[tree / L"real\\loop"] = 7;
    walk.PosedIndices[tree / L"twin-a"] = 9;
    walk.PosedIndices[tree / L"twin-b"] = 9;
    walk.PosedIndices[tree / L"zero"] = 0;
    walk.PosedIndices[tree / L"zero\\inner"] = 0;
    const WalkReport report = walk.Tree(tree.Path());
    EXPECT_TRUE(report.Complete);
    EXPECT_EQ(walk.Changes, (std::vector<Change>{{tree.Path(), true},
                                                 {tree / L"real", true},
                                                 {tree / L"twin-a", true},
                                                 {tree / L"twin-b", true},
                                                 {tree / L"zero", true},
                                                 {tree / L"zero\\inner", true},
                                                 {tree.Path(), false}}));
    EXPECT_EQ(report.LinksLeft, 3u);    // the two links and the folder inside itself
    EXPECT_EQ(report.SecondNames, 2u);  // both names of the file
}

TEST(TreeWalkOrder, WalksTreesDeeperThanMaxPath)
{
    ScratchFolder tree;
    std::wstring path = tree.Path();
    for (int depth = 0; depth < 30; ++depth) {
        path += L"\\level-" + std::to_wstring(depth) + L"-xxxxxxxx";
        MakeFolder(path);
    }
    ASSERT_GT(path.size(), static_cast<std::size_t>(MAX_PATH));
    RecordingWalk walk;
    EXPECT_TRUE(walk.Tree(tree.Path()).Complete);
    EXPECT_EQ(walk.Changes.size(), 32u);
    EXPECT_EQ(walk.Changes[30].Path, path);
    const WalkReport repaired = RepairFolderAccess(tree.Path());
    EXPECT_TRUE(repaired.Complete);
    EXPECT_EQ(repaired.Changed, 32u);
    for (; path.size() > tree.Path().size(); path.erase(path.find_last_of(L'\\')))
        RemoveDirectoryW(ExtendedLengthPath(path).c_str());
}

TEST(PermissionRepair, RepairsAThrowAwayTreeTellingItsProgressAndRefusesBlankText)
{
    ScratchFolder tree;
    WriteBytes(tree / L"file.txt", "x");
    MakeFolder(tree / L"sub");
    std::vector<std::size_t> progress;
    const WalkReport report = RepairFolderAccess(L" " + tree.Path() + L"\\ ", [&](std::size_t done) { progress.push_back(done); });
    EXPECT_TRUE(report.Complete);
    EXPECT_EQ(progress, (std::vector<std::size_t>{0, 1, 2, 3, 4}));
    EXPECT_FALSE(RepairFolderAccess(L"").Complete);
    EXPECT_FALSE(RepairFolderAccess(L"   ").Complete);
    BYTE invalid[16] = {};
    const KernelHandle folder(CreateFileW(tree.Path().c_str(), READ_CONTROL | WRITE_DAC, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                          nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    EXPECT_EQ(GrantAccessToHandle(folder, true, invalid, RepairAccessMask, false), static_cast<DWORD>(ERROR_INVALID_SID));
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
    DWORD Grant(const Object&, const std::wstring&, bool) override
    {
        ++Changes;
        return 0;
    }
    DWORD OpenStart(const std::wstring&, Object& object) override { return Open(object); }
    DWORD Open(const Object&, const FolderEntry&, const std::wstring&, Object& object) override { return Open(object); }
    DWORD List(const Object&, const std::wstring&, std::vector<FolderEntry>& entries) override
    {
        if (FOpened < FDepth)
            entries.push_back({L"d", FILE_ATTRIBUTE_DIRECTORY, static_cast<std::uint64_t>(FOpened + 2), 0});
        return 0;
    }

private:
    DWORD Open(Object& object)
    {
        object.IsFolder = true;
        object.Identity = ObjectIdentity{1, static_cast<std::uint64_t>(++FOpened + 1), 1};
        return 0;
    }
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
    DWORD Grant(const Object& object, const std::wstring&, bool markInherited) override
    {
        return GrantAccessToHandle(object.Handle, object.IsFolder, FEveryone, RepairAccessMask, markInherited);
    }
    DWORD List(const Object& folder, const std::wstring& path, std::vector<FolderEntry>& entries) override
    {
        const DWORD error = TreeWalk::List(folder, path, entries);
        if (path == FRoot + L"\\tree" && !Swapped) {
            WriteBytes(FRoot + L"\\swap-now", "");
            for (int wait = 0; wait < 200 && !Swapped; ++wait, Sleep(50))
                Swapped = GetFileAttributesW((FRoot + L"\\swapped").c_str()) != INVALID_FILE_ATTRIBUTES;
        }
        return error;
    }

private:
    SidOwner FEveryone;
    std::wstring FRoot;
};

}  // namespace

TEST(TreeWalkDepth, FiftyThousandLevelsAreWalkedWithoutTheProgramsStack)
{
    SyntheticChain chain(50000);
    const WalkReport report = chain.Tree(L"C:\\chain");
    EXPECT_TRUE(report.Complete);
    EXPECT_EQ(chain.Changes, 50002u);  // the start folder twice, and every folder below it
}

// Only Unix can make a symbolic link here and read mode bits, so tests/windows/link-swap.sh lays
// out the folders (one outside the tree with mode 0700), names them in IPLIST_LINK_SWAP_ROOT, runs
// this test, swaps when asked, and checks afterwards that the outside folder kept its mode. Wine
// opens a link's target when asked for the link itself; the walk finds that what opened is not
// the folder its listing showed.
TEST(PermissionRepair, AFolderSwappedForALinkAfterTheListingIsLeftAlone)
{
    const wchar_t* root = _wgetenv(L"IPLIST_LINK_SWAP_ROOT");
    if (!root)
        GTEST_SKIP() << "run by tests/windows/link-swap.sh";
    SwappingRepair repair(root);
    const WalkReport report = repair.Tree(std::wstring(root) + L"\\tree");
    EXPECT_TRUE(report.Complete);
    EXPECT_TRUE(repair.Swapped);
    EXPECT_EQ(report.LinksLeft + report.NotAsListed, 1u);
}
