#include "platform/ListCellCompare.h"

#include "kernel/Strings.h"

#include <wx/datetime.h>

#include <charconv>
#include <cstdlib>

namespace
{
template <class T>
int Order(T a, T b)
{
    return a < b ? -1 : b < a ? 1 : 0;
}

const char* SkipSign(const char* p, bool& negative)
{
    p = SkipSpaces(p);
    negative = *p == '-';
    return *p == '+' || *p == '-' ? p + 1 : p;
}

// The leading integer, 0 without one; far too long a number saturates.
long long LeadingInteger(const std::string& text)
{
    bool negative;
    const char* p = SkipSign(text.c_str(), negative);
    long long value = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        value = value < 100000000000000000LL ? value * 10 + (*p - '0') : value;
    return negative ? -value : value;
}

// The leading real number in the program's own notation (a decimal point whatever the locale).
double LeadingReal(const std::string& text)
{
    bool negative;
    const char* p = SkipSign(text.c_str(), negative);
    double value = 0.0;
    std::from_chars(p, text.c_str() + text.size(), value);
    return negative ? -value : value;
}

bool ParseDate(const std::string& text, wxDateTime& date)
{
    const wxString s = wxString::FromUTF8(text);
    wxString::const_iterator end;
    return date.ParseDateTime(s, &end) || date.ParseDate(s, &end);
}
}  // namespace

int CompareListCells(int kind, const std::string& a, const std::string& b, bool ascending)
{
    const int d = ascending ? 1 : -1;
    switch (kind)
    {
    case 1:
    {
        const bool blankA = IsBlank(a);
        const bool blankB = IsBlank(b);
        if (blankA || blankB)
            return int(blankA) - int(blankB);
        return d * CompareNatural(a.c_str(), b.c_str());
    }
    case 2:
        return d * CompareStrings(a.c_str(), b.c_str());
    case 3:
        return d * CompareStringsNoCase(a.c_str(), b.c_str());
    case 4:
        return d * Order(LeadingInteger(a), LeadingInteger(b));
    case 5:
        return d * Order(LeadingReal(a), LeadingReal(b));
    case 6:
    case 7:
    {
        wxDateTime da;
        wxDateTime db;
        if (!ParseDate(a, da) || !ParseDate(b, db))
            return 0;
        return d * Order(da.GetValue(), db.GetValue());
    }
    default:
        return 0;
    }
}
