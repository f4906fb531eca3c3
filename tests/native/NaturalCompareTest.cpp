// Natural order over the cases that decide each rule, both ways round.
#include "tests/fuzz/NaturalCompareReference.h"
#include "text/NaturalCompare.h"

#include <random>

#include <gtest/gtest.h>

namespace {

struct Case {
    const wchar_t* First;
    const wchar_t* Second;
    int CaseInsensitive;
    int CaseSensitive;
};

const Case Cases[] = {
    {L"10.0.0.2", L"10.0.0.10", -1, -1},
    {L"10.0.0.10", L"10.0.0.2", 1, 1},
    {L"9.1.1.1", L"10.1.1.1", -1, -1},
    {L"192.168.1.1", L"192.168.1.1", 0, 0},
    {L"a2", L"A10", -1, -1},
    {L"abc", L"abc1", -1, -1},
    {L"abc", L"abcd", -1, -1},
    {L"abc", L"123", -1, -1},
    {L"-5", L"5", -1, -1},
    {L"007", L"7", 0, 0},
    {L"1.5", L"1.10", -1, -1},
    {L"apple", L"Apple", 0, -1},
    {L"Apple", L"apricot", -1, 1},
    {L"b1", L"A1", 1, 1},
    {L"x 1", L"x1", -1, -1},
    {L" x", L"x", -1, -1},
    {L"abc   ", L"abc", 0, 0},
    {L"10.0.0.1 ", L"10.0.0.1", 0, 0},
    {L"", L"a", -1, -1},
    {L"", L"   ", 0, 0},
    {L"caf\u00e9", L"cafe", -1, -1},
    {L"a_b", L"a-b", 1, 1},
    {L"12345678901234567890", L"12345678901234567891", 0, 0},
    {L"1234567890123450", L"1234567890123451", -1, -1},
    {L"a\t", L"a", 1, 1},
    {L"10.0.0.01", L"10.0.0.1", 0, 0},
    {L"\u0100", L"z", -1, -1},
    {L"Z", L"a", 1, 1},
};

}  // namespace

TEST(NaturalCompare, OrdersEachDecidingCaseAndItsReverse)
{
    for (const Case& c : Cases) {
        EXPECT_EQ(NaturalCompare(c.First, c.Second, false), c.CaseInsensitive) << "case-insensitive: " << c.First << " / " << c.Second;
        EXPECT_EQ(NaturalCompare(c.First, c.Second, true), c.CaseSensitive) << "case-sensitive: " << c.First << " / " << c.Second;
        EXPECT_EQ(NaturalCompare(c.Second, c.First, false), -c.CaseInsensitive) << c.Second << " / " << c.First;
        EXPECT_EQ(NaturalCompare(c.Second, c.First, true), -c.CaseSensitive) << c.Second << " / " << c.First;
    }
}

TEST(NaturalCompare, StringsOfManyFieldsCompareInFull)
{
    // 500 fields: past the room kept in place, which must grow rather than overrun.
    std::wstring first, second;
    for (int i = 0; i < 250; ++i) {
        first += L"a" + std::to_wstring(i);
        second += L"a" + std::to_wstring(i);
    }
    EXPECT_EQ(NaturalCompare(first, second, false), 0);
    second = first.substr(0, first.size() - 3) + L"250";  // only the 500th field differs
    EXPECT_EQ(NaturalCompare(first, second, false), -1);
    EXPECT_EQ(NaturalCompare(second, first, false), 1);
    EXPECT_EQ(NaturalCompare(first + L"x", first, false), 1);
    const std::wstring longText(100000, L'.');
    EXPECT_EQ(NaturalCompare(longText, longText + L"1", true), -1);
}

TEST(NaturalCompare, AgreesWithThePlainReadingOfItsRulesOnRandomStrings)
{
    std::mt19937 random(2024);
    const std::wstring alphabet = L"0123456789.aAbBzZ _-\u00e9\u0100\t";
    auto text = [&] {
        std::wstring s;
        const std::size_t length = random() % 12;
        for (std::size_t i = 0; i < length; ++i)
            s += alphabet[random() % alphabet.size()];
        return s;
    };
    for (int round = 0; round < 50000; ++round) {
        const std::wstring a = text();
        const std::wstring b = random() % 4 ? text() : a.substr(0, a.size() / 2) + text();
        for (bool caseSensitive : {false, true})
            ASSERT_EQ(NaturalCompare(a, b, caseSensitive), Reference::Compare(a, b, caseSensitive))
                << "\"" << a << "\" / \"" << b << "\"" << (caseSensitive ? " case-sensitive" : "");
    }
}
