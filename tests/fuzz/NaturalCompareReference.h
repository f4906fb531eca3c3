#pragma once
// The natural order read as plainly as it is stated: both strings prepared whole into records of
// fields, then compared field by field. Slow and simple, for checking the real comparison.
#include <cstdint>
#include <string>
#include <vector>

namespace Reference {

struct Prepared {
    std::vector<int> ContentsType;
    std::vector<std::size_t> FieldStart, FieldEnd;
    std::vector<double> NumericEquivalent;
    std::u16string AdjustedString;
};

inline Prepared Prepare(std::wstring text, bool caseSensitive)
{
    while (!text.empty() && text.back() == L' ')
        text.pop_back();
    Prepared record;
    int previous = 0;
    for (std::size_t p = 0; p < text.size(); ++p) {
        char16_t c = static_cast<char16_t>(text[p]);
        if (!caseSensitive && c >= u'a' && c <= u'z')
            c = static_cast<char16_t>(c - 32);
        const int type = (c >= u'0' && c <= u'9') ? 3 : ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z')) ? 2 : 1;
        if (type != previous) {
            if (!record.FieldEnd.empty())
                record.FieldEnd.back() = p;
            record.ContentsType.push_back(type);
            record.FieldStart.push_back(p);
            record.FieldEnd.push_back(p);
            record.NumericEquivalent.push_back(0.0);
            previous = type;
        }
        if (type == 3) {
            volatile double step = record.NumericEquivalent.back() * 10.0;
            volatile double value = step + (c - u'0');
            record.NumericEquivalent.back() = value;
        } else if (type == 2) {
            c = c <= u'Z' ? static_cast<char16_t>(2 * c - 128) : static_cast<char16_t>(2 * c - 193);
        }
        record.AdjustedString += c;
    }
    if (!record.FieldEnd.empty())
        record.FieldEnd.back() = record.AdjustedString.size();
    return record;
}

inline int Compare(const std::wstring& first, const std::wstring& second, bool caseSensitive)
{
    const Prepared a = Prepare(first, caseSensitive), b = Prepare(second, caseSensitive);
    const std::size_t common = std::min(a.ContentsType.size(), b.ContentsType.size());
    for (std::size_t k = 0; k < common; ++k) {
        if (a.ContentsType[k] != b.ContentsType[k])
            return a.ContentsType[k] < b.ContentsType[k] ? -1 : 1;
        if (a.ContentsType[k] == 3) {
            if (a.NumericEquivalent[k] != b.NumericEquivalent[k])
                return a.NumericEquivalent[k] < b.NumericEquivalent[k] ? -1 : 1;
            continue;
        }
        const std::u16string x = a.AdjustedString.substr(a.FieldStart[k], a.FieldEnd[k] - a.FieldStart[k]);
        const std::u16string y = b.AdjustedString.substr(b.FieldStart[k], b.FieldEnd[k] - b.FieldStart[k]);
        if (x != y)
            return x < y ? -1 : 1;  // unit by unit, then the shorter first
    }
    if (a.ContentsType.size() == b.ContentsType.size())
        return 0;
    return a.ContentsType.size() < b.ContentsType.size() ? -1 : 1;
}

}  // namespace Reference
