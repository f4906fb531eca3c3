#include "files/ListText.h"

#include "text/SharedStrings.h"
#include "text/Utf.h"

#include <algorithm>
#include <cwctype>

namespace {

const char EndOfText = '\x1A';

struct Mark {
    ListEncoding Encoding;
    std::string_view Bytes;
};
const Mark Marks[] = {
    {ListEncoding::Utf8, "\xEF\xBB\xBF"},
    {ListEncoding::Utf16LE, "\xFF\xFE"},
    {ListEncoding::Utf16BE, "\xFE\xFF"},
};

bool IsDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

bool IsHexDigit(wchar_t c)
{
    return IsDigit(c) || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F');
}

bool StartsWithIgnoringCase(std::wstring_view text, std::wstring_view start)
{
    return text.size() >= start.size() &&
           std::equal(start.begin(), start.end(), text.begin(), [](wchar_t a, wchar_t b) { return std::towlower(a) == std::towlower(b); });
}

bool EndsWithIgnoringCase(std::wstring_view text, std::wstring_view end)
{
    return text.size() >= end.size() && StartsWithIgnoringCase(text.substr(text.size() - end.size()), end);
}

}  // namespace

ListEncoding ListEncodingOf(std::string_view file)
{
    for (const Mark& mark : Marks)
        if (file.substr(0, mark.Bytes.size()) == mark.Bytes)
            return mark.Encoding;
    return ListEncoding::Ansi;
}

namespace {

bool IsUtf16(ListEncoding encoding)
{
    return encoding == ListEncoding::Utf16LE || encoding == ListEncoding::Utf16BE;
}

}  // namespace

std::string_view ListBodyOf(std::string_view file, ListEncoding encoding, std::string& converted)
{
    for (const Mark& mark : Marks) {
        if (mark.Encoding != encoding)
            continue;
        file.remove_prefix(mark.Bytes.size());
        if (!IsUtf16(encoding))
            return file;
        file.remove_suffix(file.size() % 2);
        converted = Utf8FromUtf16(file, encoding == ListEncoding::Utf16BE);
        return converted;
    }
    return file;
}

// Half a UTF-16 unit at the end is no text, but the file's all the same.
std::string_view ListBodyLeftOver(std::string_view file, ListEncoding encoding)
{
    return IsUtf16(encoding) && file.size() % 2 != 0 ? file.substr(file.size() - 1) : std::string_view();
}

std::string EncodeListBody(ListEncoding encoding, std::string_view body)
{
    for (const Mark& mark : Marks) {
        if (mark.Encoding != encoding)
            continue;
        if (encoding == ListEncoding::Utf8)
            return std::string(mark.Bytes) + std::string(body);
        return std::string(mark.Bytes) + Utf16FromUtf8(body, encoding == ListEncoding::Utf16BE);
    }
    return std::string(body);
}

ListText SplitListText(std::string_view bytes)
{
    ListText text;
    if (bytes.size() > MaxListBytes) {
        text.TooLong = true;
        return text;
    }
    const std::size_t end = std::min(bytes.find(EndOfText), bytes.size());
    text.Tail.assign(bytes.substr(end));
    text.Lines.reserve(std::min<std::size_t>(std::count(bytes.begin(), bytes.begin() + end, '\n') + 1, MaxListLines));
    for (std::size_t start = 0; start < end;) {
        if (text.Lines.size() == MaxListLines) {
            text.TooLong = true;
            text.Lines.clear();
            return text;
        }
        const std::size_t stop = std::min(bytes.find_first_of("\r\n", start), end);
        text.Lines.emplace_back(bytes.substr(start, stop - start));
        start = stop;
        if (start < end && bytes[start] == '\r')
            ++start;
        if (start < end && bytes[start] == '\n' && (start == stop || bytes[start - 1] == '\r'))
            ++start;
    }
    if (!text.Tail.empty()) {
        const bool onALineOfItsOwn = end == 0 || bytes[end - 1] == '\r' || bytes[end - 1] == '\n';
        text.TailLine = text.Lines.size() + (onALineOfItsOwn ? 1 : 0);
    }
    return text;
}

bool TailHidesText(std::string_view tail)
{
    return tail.find_first_not_of("\x1A\r\n") != std::string_view::npos;
}

std::wstring HiddenTextMessage(const std::wstring& path, const HiddenText& hidden)
{
    std::wstring message = L"The following file holds text that this window cannot show as it stands:" + LineBreak + path;
    if (hidden.EndOfTextLine)
        message += LineBreak + L"     Line " + std::to_wstring(hidden.EndOfTextLine) +
                   L": a Ctrl-Z character ends the text there, and what follows it is not shown.";
    if (hidden.NulLine)
        message += LineBreak + L"     Line " + std::to_wstring(hidden.NulLine) +
                   L": a NUL character; the list shows the line only up to it.";
    if (hidden.CodePageLine)
        message += LineBreak + L"     Line " + std::to_wstring(hidden.CodePageLine) +
                   L": bytes that are no text in this system's code page; the list shows them as best it can.";
    return message + ParagraphBreak +
           (hidden.SavedAsItIs ? L"Saving the list keeps all of this as it is in the file."
                               : L"Saving the list keeps these lines, but ends every line with CR LF, so the file will not stay "
                                 L"as it is.");
}

std::wstring TooLargeMessage(const std::wstring& path)
{
    return L"The following file is too large to be a server address list:" + LineBreak + path + ParagraphBreak +
           L"It holds more than " + std::to_wstring(MaxListBytes / (1024 * 1024)) + L" MB or more than " +
           std::to_wstring(MaxListLines) + L" lines, the most this program reads.  It was not changed, and the list "
           L"cannot be saved until the file is smaller.";
}

bool IsListScratchName(std::wstring_view name)
{
    if (!EndsWithIgnoringCase(name, L".Tmp"))
        return false;
    name.remove_suffix(4);
    if (StartsWithIgnoringCase(name, L"IPList.Txt.")) {
        name.remove_prefix(11);
        const std::size_t dash = name.find(L'-');
        const std::wstring_view stamp = name.substr(0, dash);
        const std::wstring_view number = dash == std::wstring_view::npos ? std::wstring_view(L"1") : name.substr(dash + 1);
        return !stamp.empty() && !number.empty() && std::all_of(stamp.begin(), stamp.end(), IsDigit) &&
               std::all_of(number.begin(), number.end(), IsDigit);
    }
    return name.size() == 8 && StartsWithIgnoringCase(name, L"IP") && std::all_of(name.begin() + 2, name.end(), IsHexDigit);
}

bool IsLeftBehindScratchFile(std::wstring_view name, std::uint64_t written, std::uint64_t now)
{
    return IsListScratchName(name) && written <= now && now - written >= LeftBehindAfter;
}
