// What the address list window does, as one table: from a list as the start-up left it, a few of
// the user's commands, then the entries, the selection, the unsaved changes, the states of Delete
// and Apply, and what OK, Apply, Cancel and Escape would ask of the file and the window.
#include "app/ListEditor.h"
#include "tests/common/EntryLists.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <sstream>

// A failed comparison then names the entries rather than dumping their bytes.
void PrintTo(const Entry& entry, std::ostream* out)
{
    *out << testing::PrintToString(entry.Text);
    if (!entry.Original.empty())
        *out << " from " << testing::PrintToString(entry.Original);
}

namespace {

// The list box's search ignores letter case, by the system's rules; these entries need ASCII's.
bool SameIgnoringAsciiCase(std::wstring_view a, std::wstring_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::towlower(a[i]) != std::towlower(b[i]))
            return false;
    return true;
}

struct Row {
    const char* Name;
    std::vector<std::wstring> File;  // the list the start-up read
    bool Read;                       // false: the start-up could not read it
    const char* Commands;            // "add 10.0.0.2", "select 0 2", "delete", "saved", "save failed", one a line
    std::vector<std::wstring> Entries;
    std::vector<std::size_t> Selection;
    const char* States;  // "modified", "delete", "apply": those that hold
    Request Ok, Apply, Cancel;
    EscapePresses Escape;
    const char* Refusals;  // what Add answered, in order: "zeros", "listed"
};

using R = Request;
using E = EscapePresses;

const Row Rows[] = {
    {"start-up with entries", {L"10.0.0.10", L"10.0.0.2", L"10.0.0.2", L""}, true, "",
     {L"10.0.0.10", L"10.0.0.2", L"10.0.0.2", L""}, {0}, "delete", R::Close, R::Save, R::Close, E::Delete, ""},
    {"start-up without a list", {}, true, "", {}, {}, "", R::Close, R::Save, R::Close, E::Cancel, ""},
    {"adds go in natural order, each the only one selected", {}, true, "add 10.0.0.10\nadd 10.0.0.2\nadd 9.1.1.1",
     {L"9.1.1.1", L"10.0.0.2", L"10.0.0.10"}, {0}, "modified delete apply", R::SaveThenClose, R::Save, R::AskThenClose,
     E::Delete, ""},
    {"an add goes before the first entry, from the top, that it sorts before", {L"10.0.0.5", L"10.0.0.1"}, true,
     "add 10.0.0.3", {L"10.0.0.3", L"10.0.0.5", L"10.0.0.1"}, {0}, "modified delete apply", R::SaveThenClose, R::Save,
     R::AskThenClose, E::Delete, ""},
    {"an address equal in natural order, yet another text, goes after its equal", {L"10.0.0.01", L"10.0.0.5"}, true,
     "add 10.0.0.1", {L"10.0.0.01", L"10.0.0.1", L"10.0.0.5"}, {1}, "modified delete apply", R::SaveThenClose, R::Save,
     R::AskThenClose, E::Delete, ""},
    {"all zeros and an address already listed are refused and change nothing", {L"10.0.0.1"}, true,
     "add 0.0.0.0\nadd 10.0.0.1", {L"10.0.0.1"}, {0}, "delete", R::Close, R::Save, R::Close, E::Delete, "zeros listed"},
    {"an address is listed only once, whatever else the list holds", {L"host", L"10.0.0.1 "}, true,
     "add 10.0.0.1\nadd 10.0.0.1", {L"host", L"10.0.0.1 ", L"10.0.0.1"}, {2}, "modified delete apply", R::SaveThenClose,
     R::Save, R::AskThenClose, E::Delete, "listed"},
    {"delete removes every selected entry and selects the first", {L"1.1.1.1", L"2.2.2.2", L"3.3.3.3", L"4.4.4.4"}, true,
     "select 1 3\ndelete", {L"1.1.1.1", L"3.3.3.3"}, {0}, "modified delete apply", R::SaveThenClose, R::Save,
     R::AskThenClose, E::Delete, ""},
    {"delete with nothing selected is a change all the same", {L"1.1.1.1", L"2.2.2.2"}, true, "select\ndelete",
     {L"1.1.1.1", L"2.2.2.2"}, {0}, "modified delete apply", R::SaveThenClose, R::Save, R::AskThenClose, E::Delete, ""},
    {"deleting the last entries disables Delete, and Escape then cancels", {L"1.1.1.1"}, true, "select 0\ndelete", {},
     {}, "modified apply", R::SaveThenClose, R::Save, R::AskThenClose, E::Cancel, ""},
    {"a save leaves Delete enabled, also for an empty list", {L"1.1.1.1"}, true, "select 0\ndelete\nsaved", {}, {},
     "delete", R::Close, R::Save, R::Close, E::Delete, ""},
    {"a delete after that changes no entry, disables Delete and enables Apply", {L"1.1.1.1"}, true,
     "select 0\ndelete\nsaved\nselect\ndelete", {}, {}, "modified apply", R::SaveThenClose, R::Save, R::AskThenClose,
     E::Cancel, ""},
    {"a failed save keeps the changes, with Delete and Apply enabled", {L"1.1.1.1"}, true, "add 2.2.2.2\nsave failed",
     {L"1.1.1.1", L"2.2.2.2"}, {1}, "modified delete apply", R::SaveThenClose, R::Save, R::AskThenClose, E::Delete, ""},
    {"a list that could not be read is never saved", {}, false, "add 4.4.4.4", {L"4.4.4.4"}, {0}, "modified",
     R::RefuseUnread, R::RefuseUnread, R::AskThenClose, E::Cancel, ""},
};

Octets Parse(const std::string& address)
{
    unsigned a = 0, b = 0, c = 0, d = 0;
    char dot;
    std::istringstream(address) >> a >> dot >> b >> dot >> c >> dot >> d;
    return {static_cast<std::uint8_t>(a), static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(c),
            static_cast<std::uint8_t>(d)};
}

// Runs the commands as the window would, the user's selection in the list box handed to Delete.
std::string RunCommands(ListEditor& editor, const char* commands)
{
    std::string refusals;
    std::vector<std::size_t> selected = editor.Selection();
    std::istringstream lines(commands);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string command;
        words >> command;
        if (command == "add") {
            std::string address;
            words >> address;
            const AddResult result = editor.Add(Parse(address));
            if (result != AddResult::Added)
                refusals += std::string(refusals.empty() ? "" : " ") + (result == AddResult::AllZeros ? "zeros" : "listed");
            selected = editor.Selection();
        } else if (command == "select") {
            selected.clear();
            for (std::size_t index; words >> index;)
                selected.push_back(index);
        } else if (command == "delete") {
            editor.Delete(selected);
            selected = editor.Selection();
        } else if (command == "saved") {
            editor.Saved({});
        } else if (command == "save") {
            editor.SaveFailed();
        }
    }
    return refusals;
}

std::string StatesOf(const ListEditor& editor)
{
    std::string states;
    for (auto [holds, name] : {std::pair{editor.Modified(), "modified"}, {editor.DeleteEnabled(), "delete"},
                               {editor.ApplyEnabled(), "apply"}})
        if (holds)
            states += std::string(states.empty() ? "" : " ") + name;
    return states;
}

}  // namespace

TEST(ListEditor, EachCommandLeavesTheListTheButtonsAndTheRequestsAsTheWindowShowsThem)
{
    for (const Row& row : Rows) {
        ListEditor editor(SameIgnoringAsciiCase);
        if (row.Read) {
            ListFile file;
            for (const std::wstring& text : row.File)
                file.Lines.push_back({text, {}});
            editor.Load(file);
        } else {
            editor.LoadFailed();
        }
        const std::string refusals = RunCommands(editor, row.Commands);
        EXPECT_EQ(Texts(editor.Items()), row.Entries) << row.Name;
        EXPECT_EQ(editor.Selection(), row.Selection) << row.Name;
        EXPECT_EQ(StatesOf(editor), row.States) << row.Name;
        EXPECT_EQ(editor.Ok(), row.Ok) << row.Name;
        EXPECT_EQ(editor.Apply(), row.Apply) << row.Name;
        EXPECT_EQ(editor.Cancel(), row.Cancel) << row.Name;
        EXPECT_EQ(editor.Escape(), row.Escape) << row.Name;
        EXPECT_EQ(refusals, row.Refusals) << row.Name;
    }
}

TEST(ListEditor, DeleteTellsTheWindowWhichEntriesWent)
{
    ListEditor editor(SameIgnoringAsciiCase);
    editor.Load({Listed({L"a", L"b", L"c", L"d"}), {}, {}, {}});
    editor.Delete({3, 1, 1, 9});  // as a window may hand them: any order, twice, or past the end
    EXPECT_EQ(editor.Removed(), (std::vector<std::size_t>{1, 3}));
    EXPECT_EQ(editor.Items(), Listed({L"a", L"c"}));
}

namespace {

struct MergeRow {
    const char* Name;
    Entries Base, Ours, Theirs, Merged;
};

const Entry Raw{L"?", "\xFF"};  // bytes the code page has no text for, shown as "?"

const MergeRow MergeRows[] = {
    {"another side added, we added", Listed({L"10.0.0.1", L"10.0.0.5"}), Listed({L"10.0.0.1", L"10.0.0.3", L"10.0.0.5"}),
     Listed({L"10.0.0.1", L"10.0.0.5", L"10.0.0.9"}), Listed({L"10.0.0.1", L"10.0.0.3", L"10.0.0.5", L"10.0.0.9"})},
    {"another side deleted, we added", Listed({L"10.0.0.1", L"10.0.0.5"}), Listed({L"10.0.0.1", L"10.0.0.5", L"10.0.0.7"}),
     Listed({L"10.0.0.5"}), Listed({L"10.0.0.5", L"10.0.0.7"})},
    {"we deleted what the other side kept", Listed({L"1.1.1.1", L"2.2.2.2"}), Listed({L"1.1.1.1"}),
     Listed({L"1.1.1.1", L"2.2.2.2", L"3.3.3.3"}), Listed({L"1.1.1.1", L"3.3.3.3"})},
    {"both sides added one address", Listed({L"1.1.1.1"}), Listed({L"1.1.1.1", L"2.2.2.2"}),
     Listed({L"2.2.2.2", L"1.1.1.1"}), Listed({L"2.2.2.2", L"1.1.1.1"})},
    {"both sides deleted one entry", Listed({L"1.1.1.1", L"2.2.2.2"}), Listed({L"2.2.2.2"}), Listed({L"2.2.2.2"}),
     Listed({L"2.2.2.2"})},
    {"one of two duplicates deleted, counted per occurrence", Listed({L"5.5.5.5", L"5.5.5.5", L"6.6.6.6"}),
     Listed({L"5.5.5.5", L"6.6.6.6"}), Listed({L"5.5.5.5", L"6.6.6.6", L"5.5.5.5", L"7.7.7.7"}),
     Listed({L"6.6.6.6", L"5.5.5.5", L"7.7.7.7"})},
    {"an added address the other side holds in another case", Listed({L"host"}), Listed({L"host", L"10.0.0.1"}),
     Listed({L"HOST", L"10.0.0.1"}), Listed({L"HOST", L"10.0.0.1"})},
    {"empty lines and other text keep their places", Listed({L"", L"# servers", L"10.0.0.1"}),
     Listed({L"", L"# servers", L"10.0.0.1", L"10.0.0.2"}), Listed({L"", L"# servers", L"", L"10.0.0.1", L"server"}),
     Listed({L"", L"# servers", L"", L"10.0.0.1", L"server", L"10.0.0.2"})},  // letters sort before digits
    {"an added address placed among entries out of order", Listed({L"10.0.0.5"}), Listed({L"10.0.0.3", L"10.0.0.5"}),
     Listed({L"10.0.0.9", L"10.0.0.1"}), Listed({L"10.0.0.3", L"10.0.0.9", L"10.0.0.1"})},
    {"a deleted entry the other side deleted as well, and added again twice", Listed({L"1.1.1.1"}), Listed({}),
     Listed({L"1.1.1.1", L"1.1.1.1"}), Listed({L"1.1.1.1"})},
    {"bytes kept as the file had them are an entry of their own", Entries{Raw, {L"?", {}}}, Entries{{L"?", {}}},
     Entries{{L"?", {}}, Raw, {L"1.1.1.1", {}}}, Entries{{L"?", {}}, {L"1.1.1.1", {}}}},
    {"nothing changed on our side", Listed({L"1.1.1.1"}), Listed({L"1.1.1.1"}), Listed({L"9.9.9.9"}), Listed({L"9.9.9.9"})},
};

}  // namespace

TEST(ListMerge, OurEditsGoOntoTheFileAsItIsNow)
{
    for (const MergeRow& row : MergeRows)
        EXPECT_EQ(MergeEdits(row.Base, row.Ours, row.Theirs, SameIgnoringAsciiCase), row.Merged) << row.Name;
}

TEST(ListMerge, AMergeLeavesTheListAsALoadWouldWithTheChangesStillToSave)
{
    ListEditor editor(SameIgnoringAsciiCase);
    editor.Load({Listed({L"1.1.1.1"}), {}, {true, "1.1.1.1\r\n"}, {}});
    EXPECT_TRUE(editor.FileUnchanged({true, "1.1.1.1\r\n"}));
    EXPECT_FALSE(editor.FileUnchanged({true, "1.1.1.1\r\n2.2.2.2\r\n"}));
    EXPECT_FALSE(editor.FileUnchanged({false, ""}));
    editor.Add({3, 3, 3, 3});
    editor.Merge(Listed({L"1.1.1.1"}),
                 {Listed({L"1.1.1.1", L"2.2.2.2"}), {ListEncoding::Utf8, "\x1A", ""}, {true, "1.1.1.1\r\n2.2.2.2\r\n\x1A"}, {}});
    EXPECT_EQ(editor.Items(), Listed({L"1.1.1.1", L"2.2.2.2", L"3.3.3.3"}));
    EXPECT_EQ(editor.Selection(), std::vector<std::size_t>{0});
    EXPECT_EQ(StatesOf(editor), "modified delete");
    EXPECT_EQ(editor.Frame().Tail, "\x1A");
    EXPECT_EQ(editor.Frame().Encoding, ListEncoding::Utf8);
    EXPECT_TRUE(editor.FileUnchanged({true, "1.1.1.1\r\n2.2.2.2\r\n\x1A"}));
    editor.Saved({true, "written"});
    EXPECT_TRUE(editor.FileUnchanged({true, "written"}));
    EXPECT_EQ(StatesOf(editor), "delete");
}
