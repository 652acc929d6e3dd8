#include "library/LibraryLookup.h"

#include "kernel/Messages.h"
#include "kernel/Strings.h"
#include "model/PolyTemplate.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstring>
#include <string>

namespace
{
bool IsDigit(char c)
{
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

int ReadInt(const char*& p)
{
    long value = 0;
    while (IsDigit(*p))
    {
        if (value < INT_MAX / 10)
            value = value * 10 + (*p - '0');
        ++p;
    }
    return int(std::min<long>(value, INT_MAX / 10));
}

int Lower(char c)
{
    return std::tolower(static_cast<unsigned char>(c));
}

// Word stems at which a walk through a name by initials may also stop.
const char* const kStems[] = {"tetra", "cub", "oct", "dodec", "icos", "hexa", "dya",
                              "kis",   "hemi", "rhomb", "trunc", "snub", "conta"};

bool StemAt(const std::string& name, size_t j)
{
    for (const char* stem : kStems)
    {
        const size_t len = std::strlen(stem);
        if (j + len > name.size())
            continue;
        size_t k = 0;
        while (k < len && Lower(name[j + k]) == stem[k])
            ++k;
        if (k == len)
            return true;
    }
    return false;
}

// Takes the characters of t in turn as the starts of the name's words: high when the whole text was
// used and the name ran out with it, low when the text ran out first, 0 otherwise.
int WalkInitials(const char* t, const std::string& name, bool stems, int high, int low)
{
    size_t j = 0;
    const char* c = t;
    while (*c)
    {
        if (j >= name.size() || Lower(name[j]) != Lower(*c))
            break;
        ++j;
        while (j < name.size() && name[j] != ' ' && name[j] != '-' && name[j] != ',' && !(stems && StemAt(name, j)))
            ++j;
        while (j < name.size() && std::isspace(static_cast<unsigned char>(name[j])))
            ++j;
        c = SkipSpaces(c + 1);
    }
    if (*c)
        return 0;
    return j >= name.size() ? high : low;
}

// Stores a family's parameters once a text has named a member of it.
void SetFamilyParams(LibraryEntry& entry, int n, int d)
{
    if (entry.mFlags & LibraryEntry::kParametricFamily)
    {
        entry.mNumber = n;
        entry.mPage1 = d;
    }
}

bool SameWythoffTerms(int count, const int* num, const int* den, int otherCount, const int* otherNum,
                      const int* otherDen)
{
    if (count != otherCount)
        return false;
    for (int i = 0; i < count; ++i)
    {
        if (num[i] != otherNum[i] || den[i] != otherDen[i])
            return false;
    }
    return true;
}

// Index forms: "U12", "u#12", "M12" (Maeder), "K12" (Kaleido), "W12", "#12" (Wenninger). True when
// the text is one of them, whatever the answer.
bool FindByIndex(std::span<LibraryEntry> table, const char* s, bool report, LibraryEntry*& found)
{
    found = nullptr;
    const char* p = s;
    if (!IsDigit(*p) && *p)
    {
        ++p;
        if (*p == '#')
            ++p;
    }
    if (!IsDigit(*p))
        return false;
    const char* end = p;
    const int v = ReadInt(end);
    if (*SkipSpaces(end))
        return false;

    const int first = Lower(s[0]);
    if (first == 'u' || first == 'm')
    {
        if (v < 1 || v > 80)
        {
            if (report)
                ErrorMessage("U%d is not a valid Maeder index.\n(Should be in the range 1-80)", v);
            return true;
        }
        for (LibraryEntry& row : table)
        {
            if (row.GetMaederIndex() == v)
            {
                found = &row;
                break;
            }
        }
        return true;
    }
    if (first == 'k')
    {
        if (v < 1 || v > 80)
        {
            if (report)
                ErrorMessage("K%d is not a valid Kaleido index.\n(Should be in the range 1-80)", v);
            return true;
        }
        for (LibraryEntry& row : table)
        {
            if (row.GetKaleidoIndex() == v)
            {
                found = &row;
                break;
            }
        }
        return true;
    }
    if (first == 'w' || first == '#')
    {
        if (v < 1 || v > 119)
        {
            if (report)
                ErrorMessage("W%d is not a valid Wenninger number.\n(Should be in the range 1-119)", v);
            return true;
        }
        for (LibraryEntry& row : table)
        {
            if (row.GetWenningerNumber() == v)
            {
                found = &row;
                break;
            }
        }
        return true;
    }
    return false;
}

LibraryEntry* FindByWythoff(std::span<LibraryEntry> table, const char* s, bool report)
{
    int num[2][4], den[2][4];
    const char* bar = std::strchr(s, '|');
    const int before = ParseWythoffTerms(s, num[0], den[0]);
    const int after = ParseWythoffTerms(bar + 1, num[1], den[1]);
    if (before > 3 || after > 4)
    {
        if (report)
            ErrorMessage("Invalid Wythoff symbol: too many terms.");
        return nullptr;
    }
    for (LibraryEntry& row : table)
    {
        const char* symbol = row.GetWythoffSymbol();
        const char* rowBar = symbol ? std::strchr(symbol, '|') : nullptr;
        if (!rowBar)
            continue;
        int rowNum[2][4], rowDen[2][4];
        const int rowBefore = ParseWythoffTerms(symbol, rowNum[0], rowDen[0]);
        const int rowAfter = ParseWythoffTerms(rowBar + 1, rowNum[1], rowDen[1]);
        if (SameWythoffTerms(before, num[0], den[0], rowBefore, rowNum[0], rowDen[0]) &&
            SameWythoffTerms(after, num[1], den[1], rowAfter, rowNum[1], rowDen[1]))
            return &row;
    }
    if (report)
        ErrorMessage("There is no matching model with that Wythoff symbol.");
    return nullptr;
}

// Compares the text with a symbol, reading a family's "<N>" (and an optional "/d") from the text.
bool SymbolMatches(const char* s, const char* symbol, int& n, int& d)
{
    n = 0;
    d = 1;
    const char* q = SkipSpaces(s);
    const char* y = SkipSpaces(symbol);
    while (*q || *y)
    {
        if (std::strncmp(y, "<N>", 3) == 0 && IsDigit(*q))
        {
            n = ReadInt(q);
            if (*q == '/' && IsDigit(q[1]))
            {
                ++q;
                d = ReadInt(q);
            }
            y += 3;
        }
        else
        {
            const bool separators = (*q == '.' || *q == ',') && (*y == '.' || *y == ',');
            if (!*q || !*y || (!separators && Lower(*q) != Lower(*y)))
                return false;
            ++q;
            ++y;
        }
        q = SkipSpaces(q);
        y = SkipSpaces(y);
    }
    return true;
}

LibraryEntry* FindByName(std::span<LibraryEntry> table, const char* s, bool* dual)
{
    int best = 3;
    LibraryEntry* bestRow = nullptr;
    bool bestDual = false;
    for (LibraryEntry& row : table)
    {
        int t = -1;
        if (row.mSymbol && *row.mSymbol)
            t = 4 * ScoreNameMatch(s, row.mSymbol) + 3;
        int h = ScoreNameMatch(s, row.mName);
        if (h >= 5)
            h += 100;
        t = std::max(t, 4 * h + 2);
        t = std::max(t, 4 * ScoreNameMatch(s, row.mOtherNames) + 1);
        if (t > best)
        {
            best = t;
            bestRow = &row;
            bestDual = false;
        }
        // The regular solids' duals are rows of their own.
        if (!IsBlank(row.mDualNames) && row.mCategory != LibraryEntry::kCategoryPlatonic &&
            row.mCategory != LibraryEntry::kCategoryKeplerPoinsot)
        {
            const int w = 4 * ScoreNameMatch(s, row.mDualNames);
            if (w > best)
            {
                best = w;
                bestRow = &row;
                bestDual = true;
            }
        }
    }
    if (bestRow && dual)
        *dual = bestDual;
    return bestRow;
}
}  // namespace

int CompareNameChars(const char* a, const char* b, int n)
{
    if (a == b)
        return 0;
    if (!a)
        return -1;
    if (!b)
        return 1;
    for (int i = 0; i < n; ++i)
    {
        if (!a[i] && !b[i])
            return 0;
        int ca = Lower(a[i]);
        int cb = Lower(b[i]);
        if (i > 0)
        {
            if (ca == '-')
                ca = ' ';
            if (cb == '-')
                cb = ' ';
        }
        if (ca != cb)
            return ca - cb;
    }
    return 0;
}

int ScoreNameMatch(const char* text, const char* names)
{
    if (!names || !text)
        return 0;
    const char* t = SkipSpaces(text);
    const int textLength = int(std::strlen(t));
    int best = 0;
    const char* p = names;
    while (*p)
    {
        p = SkipSpaces(p);
        const char* end = std::strchr(p, ';');
        if (!end)
            end = p + std::strlen(p);
        const std::string name(p, end);
        const int length = int(name.size());
        if (textLength == length && CompareNameChars(t, name.c_str(), length) == 0)
            return 6;
        best = std::max(best, WalkInitials(t, name, false, 4, 2));
        best = std::max(best, WalkInitials(t, name, true, 5, 3));
        if (best < 1 && textLength > 0)
        {
            for (int at = 0; at + textLength <= length && best < 1; ++at)
            {
                if (CompareNameChars(t, name.c_str() + at, textLength) == 0)
                    best = 1;
            }
        }
        p = *end ? end + 1 : end;
    }
    return best;
}

int ParseWythoffTerms(const char* text, int numerators[4], int denominators[4])
{
    const char* p = SkipSpaces(text);
    int count = 0;
    while (*p && *p != '|')
    {
        if (count == 4)
            return 5;
        bool negate = false;
        if (*p == '(')
        {
            negate = true;
            p = SkipSpaces(p + 1);
        }
        const int numerator = IsDigit(*p) ? ReadInt(p) : 0;
        p = SkipSpaces(p);
        int denominator = 1;
        if (*p == '/')
        {
            p = SkipSpaces(p + 1);
            if (IsDigit(*p))
                denominator = ReadInt(p);
            p = SkipSpaces(p);
        }
        if (*p == ')')
        {
            negate = true;
            p = SkipSpaces(p + 1);
        }
        numerators[count] = negate ? -numerator : numerator;
        denominators[count] = denominator;
        ++count;
    }
    auto value = [&](int i) {
        return denominators[i] != 0 ? double(numerators[i]) / denominators[i] : 1e300;
    };
    for (int j = 0; j + 1 < count; ++j)
    {
        int smallest = -1;
        for (int i = j; i < count; ++i)
        {
            if (value(i) < 99999.9 && (smallest < 0 || value(i) < value(smallest)))
                smallest = i;
        }
        if (smallest > j)
        {
            std::swap(numerators[j], numerators[smallest]);
            std::swap(denominators[j], denominators[smallest]);
        }
    }
    return count;
}

LibraryEntry* FindLibraryEntry(std::span<LibraryEntry> table, const char* text, bool* recognised, bool report,
                               bool* dual)
{
    if (recognised)
        *recognised = false;
    if (dual)
        *dual = false;
    if (!text)
        return nullptr;
    const char* s = SkipSpaces(text);
    if (!*s)
        return nullptr;

    LibraryEntry* found = nullptr;
    if (FindByIndex(table, s, report, found))
    {
        if (recognised)
            *recognised = true;
        return found;
    }
    if (std::strchr(s, '|'))
    {
        if (recognised)
            *recognised = true;
        return FindByWythoff(table, s, report);
    }
    if (*s != '!')
    {
        for (LibraryEntry& row : table)
        {
            int n = 0, d = 1;
            if (!SymbolMatches(s, row.mSymbol, n, d))
                continue;
            if (recognised)
                *recognised = true;
            if (n != 0)
                SetFamilyParams(row, n, d);
            return &row;
        }
    }
    if (*s == '-' || *s == '!' || IsDigit(*s))
        return nullptr;
    found = FindByName(table, s, dual);
    if (found && recognised)
        *recognised = true;
    return found;
}

LibraryEntry* FindLibraryEntry(const char* text, bool* recognised, bool report, bool* dual)
{
    return FindLibraryEntry(GetLibraryTable(), text, recognised, report, dual);
}

LibraryEntry* FindTemplateEntry(std::span<LibraryEntry> table, const PolyTemplate& templ, int* n, int* d)
{
    if (n)
        *n = -1;
    if (d)
        *d = -1;
    if (!templ.mFirst)
        return nullptr;
    for (int direction = 0; direction < 2; ++direction)
    {
        const TemplatePolygon* start = templ.mFirst;
        do
        {
            const std::string text = PolyTemplate::GetName(&templ, start, direction);
            for (LibraryEntry& row : table)
            {
                const char* symbol = row.mSymbol;
                if (symbol[0] == 'N' || std::strncmp(symbol, "<N>", 3) == 0)
                {
                    const char* p = text.c_str();
                    const int familyN = ReadInt(p);
                    if (*p == '/')
                        return nullptr;
                    const char* textRest = std::strpbrk(text.c_str(), ".,");
                    const char* symbolRest = std::strchr(symbol, '.');
                    if (textRest && symbolRest && std::strcmp(textRest, symbolRest) == 0)
                    {
                        if (n)
                            *n = familyN;
                        if (d)
                            *d = 1;
                        return &row;
                    }
                }
                else if (text == symbol)
                    return &row;
            }
            start = start->next;
        } while (start != templ.mFirst);
    }
    return nullptr;
}

LibraryEntry* FindTemplateEntry(const PolyTemplate& templ, int* n, int* d)
{
    return FindTemplateEntry(GetLibraryTable(), templ, n, d);
}
