#include "app/ListFile.h"

#include "text/Utf.h"

#include <algorithm>
#include <vector>

namespace {

bool IsAscii(std::wstring_view text)
{
    return std::all_of(text.begin(), text.end(), [](wchar_t c) { return static_cast<unsigned>(c) < 0x80; });
}

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
    const ListEncoding encoding = ListEncodingOf(state.Bytes);
    std::string converted;
    ListText text = SplitListText(ListBodyOf(state.Bytes, encoding, converted));
    if (text.TooLong)
        return std::nullopt;
    ListFile list;
    list.Frame = {encoding, std::move(text.Tail), std::string(ListBodyLeftOver(state.Bytes, encoding))};
    list.Lines.reserve(text.Lines.size());
    for (const std::string_view bytes : text.Lines) {
        Entry entry;
        if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
            entry.Text.assign(bytes.begin(), bytes.end());  // the same in every encoding of the body
        } else {
            entry.Text = Decode(bytes, encoding, ansi);
            if (Encode(entry.Text, encoding, ansi) != bytes) {
                entry.Original = bytes;
                if (!list.Hidden.CodePageLine)
                    list.Hidden.CodePageLine = list.Lines.size() + 1;
            }
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

// Into one string of its exact size, measured first, with no allocation an entry but for text
// outside ASCII: a save of a long list waits on nothing else as much.
std::string ListFileBytes(const Entries& entries, const ListFrame& frame, const AnsiConversion& ansi)
{
    std::vector<std::string> encoded;  // the entries' bytes where they are not their text's ASCII
    std::size_t size = frame.Tail.size();
    for (const Entry& entry : entries) {
        if (entry.Original.empty() && IsAscii(entry.Text))
            size += entry.Text.size() + 2;
        else
            size += (entry.Original.empty() ? encoded.emplace_back(Encode(entry.Text, frame.Encoding, ansi))
                                            : entry.Original).size() + 2;
    }
    std::string body(size, '\0');
    char* out = &body[0];
    auto next = encoded.begin();
    for (const Entry& entry : entries) {
        if (!entry.Original.empty()) {
            out = std::copy(entry.Original.begin(), entry.Original.end(), out);
        } else if (IsAscii(entry.Text)) {
            out = std::transform(entry.Text.begin(), entry.Text.end(), out, [](wchar_t c) { return static_cast<char>(c); });
        } else {
            out = std::copy(next->begin(), next->end(), out);
            ++next;
        }
        *out++ = '\r';
        *out++ = '\n';
    }
    std::copy(frame.Tail.begin(), frame.Tail.end(), out);
    return frame.Encoding == ListEncoding::Ansi ? body : EncodeListBody(frame.Encoding, body) + frame.LeftOver;
}
