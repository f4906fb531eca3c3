#include "app/ListFile.h"

#include "text/Utf.h"

namespace {

std::wstring Decode(std::string_view bytes, ListEncoding encoding, const AnsiConversion& ansi)
{
    return encoding == ListEncoding::Ansi ? ansi.FromAnsi(bytes) : FromUtf8(bytes);
}

std::string Encode(std::wstring_view text, ListEncoding encoding, const AnsiConversion& ansi)
{
    return encoding == ListEncoding::Ansi ? ansi.ToAnsi(text) : ToUtf8(text);
}

}  // namespace

std::optional<ListFile> ParseListFile(ListFileState state, const AnsiConversion& ansi)
{
    ListBody body = DecodeListBody(state.Bytes);
    ListText text = SplitListText(body.Bytes);
    if (text.TooLong)
        return std::nullopt;
    ListFile list;
    list.Frame = {body.Encoding, std::move(text.Tail)};
    list.Lines.reserve(text.Lines.size());
    for (std::string& bytes : text.Lines) {
        Entry entry{Decode(bytes, body.Encoding, ansi), {}};
        if (Encode(entry.Text, body.Encoding, ansi) != bytes) {
            entry.Original = std::move(bytes);
            if (!list.Hidden.CodePageLine)
                list.Hidden.CodePageLine = list.Lines.size() + 1;
        }
        if (!list.Hidden.NulLine && entry.Text.find(L'\0') != std::wstring::npos)
            list.Hidden.NulLine = list.Lines.size() + 1;
        list.Lines.push_back(std::move(entry));
    }
    if (TailHidesText(list.Frame.Tail))
        list.Hidden.EndOfTextLine = text.TailLine;
    if (list.Hidden.Any())  // only then does a message speak of it
        list.Hidden.SavedAsItIs = ListFileBytes(list.Lines, list.Frame, ansi) == state.Bytes;
    list.State = std::move(state);
    return list;
}

std::string ListFileBytes(const Entries& entries, const ListFrame& frame, const AnsiConversion& ansi)
{
    std::vector<std::string> lines;
    lines.reserve(entries.size());
    for (const Entry& entry : entries)
        lines.push_back(entry.Original.empty() ? Encode(entry.Text, frame.Encoding, ansi) : entry.Original);
    return EncodeListBody(frame.Encoding, JoinListText(lines, frame.Tail));
}
