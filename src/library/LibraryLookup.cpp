#include "library/LibraryLookup.h"

#include "kernel/Messages.h"
#include "kernel/Shell.h"
#include "kernel/Strings.h"
#include "kernel/UserServices.h"
#include "kernel/ViewTypes.h"
#include "library/LibraryCountFilter.h"
#include "library/LibrarySearchResult.h"
#include "library/WenningerStellation.h"
#include "model/PolyTemplate.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

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

// Compares the text with a symbol, reading a family's "<N>" (and an optional "/d") from the text.
bool SymbolMatches(const char* s, const char* symbol, int& n, int& d)
{
    n = 0;
    d = 1;
    if (!symbol)
        return false;
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

// Whether the text begins with the prefix, case ignored.
bool StartsWithNoCase(const char* text, const char* prefix)
{
    for (; *prefix; ++text, ++prefix)
    {
        if (!*text || Lower(*text) != Lower(*prefix))
            return false;
    }
    return true;
}

bool ContainsNoCase(const char* text, const char* part)
{
    for (; *text; ++text)
    {
        if (StartsWithNoCase(text, part))
            return true;
    }
    return !*part;
}

enum class IndexForm
{
    kNone,
    kMaeder,
    kKaleido,
    kWenninger,
};

// Reads "U12", "u#12", "M12" (Maeder), "K12" (Kaleido), "W12" or "#12" (Wenninger).
IndexForm ReadIndexForm(const char* s, int& value)
{
    const char* p = s;
    if (*p && !IsDigit(*p))
    {
        ++p;
        if (*p == '#')
            ++p;
    }
    if (!IsDigit(*p))
        return IndexForm::kNone;
    const char* end = p;
    value = ReadInt(end);
    if (*SkipSpaces(end))
        return IndexForm::kNone;
    switch (Lower(s[0]))
    {
    case 'u':
    case 'm':
        return IndexForm::kMaeder;
    case 'k':
        return IndexForm::kKaleido;
    case 'w':
    case '#':
        return IndexForm::kWenninger;
    default:
        return IndexForm::kNone;
    }
}

void* FindViewOfType(int type)
{
    Shell& shell = GetShell();
    for (void* view = shell.NextView(nullptr); view; view = shell.NextView(view))
    {
        if (shell.ViewTypeCode(view) == type)
            return view;
    }
    return nullptr;
}

// A Wenninger number that no row carries names a stellation of a row: opens the row and includes
// the stellation's cells. The model is then open, so there is no row to answer.
LibraryEntry* OpenWenningerStellation(std::span<LibraryEntry> table, int wenninger)
{
    Shell& shell = GetShell();
    if (!FindViewOfType(kViewTypeUniStellation))
    {
        const int answer = ShowMessage(kMbYesNoCancel | kMbIconQuestion,
                                       "Wenninger model W%d is a stellation, but you don't\ncurrently have a "
                                       "stellation view open.\n\nShall I change the current view to view "
                                       "stellations?",
                                       wenninger);
        if (answer == kIdCancel)
            return nullptr;
        if (answer == kIdYes)
            shell.SetViewType(shell.ActiveView(), kViewTypeUniStellation, 0);
    }
    const std::vector<StellationRun> runs = GetWenningerStellationRuns(wenninger);
    if (runs.empty())
        return nullptr;
    LibraryEntry* base =
        FindLibraryEntry(table, GetWenningerStellationBase(wenninger), nullptr, true, nullptr, false);
    if (!base || !shell.OpenLibraryModel(base, false, false))
        return nullptr;
    ApplyStellationRuns(runs, shell.CreateCurrentStellation(),
                        [&shell](int cell, bool included) { shell.SetStellationCellIncluded(cell, included); });
    return nullptr;
}

LibraryEntry* FindByIndex(std::span<LibraryEntry> table, IndexForm form, int v, bool report, bool collect)
{
    struct Range
    {
        int maximum;
        const char* message;
    };
    const Range range = form == IndexForm::kMaeder
                            ? Range{80, "U%d is not a valid Maeder index.\n(Should be in the range 1-80)"}
                        : form == IndexForm::kKaleido
                            ? Range{80, "K%d is not a valid Kaleido index.\n(Should be in the range 1-80)"}
                            : Range{119, "W%d is not a valid Wenninger number.\n(Should be in the range 1-119)"};
    if (v < 1 || v > range.maximum)
    {
        if (report)
            ErrorMessage(range.message, v);
        return nullptr;
    }
    for (LibraryEntry& row : table)
    {
        const int index = form == IndexForm::kMaeder    ? row.GetMaederIndex()
                          : form == IndexForm::kKaleido ? row.GetKaleidoIndex()
                                                        : row.GetWenningerNumber();
        if (index != v)
            continue;
        if (collect)
        {
            if (!GetLibraryCountFilter().Matches(row, false, 0, -1))
                return nullptr;
            AppendSearchResult(&row);
        }
        return &row;
    }
    if (form == IndexForm::kWenninger && report)
        return OpenWenningerStellation(table, v);
    return nullptr;
}

LibraryEntry* FindByWythoff(std::span<LibraryEntry> table, const char* s, bool report, bool collect)
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
        if (!SameWythoffTerms(before, num[0], den[0], rowBefore, rowNum[0], rowDen[0]) ||
            !SameWythoffTerms(after, num[1], den[1], rowAfter, rowNum[1], rowDen[1]))
            continue;
        if (!collect)
            return &row;
        if (GetLibraryCountFilter().Matches(row, false, 0, -1))
            AppendSearchResult(&row);
    }
    if (collect && GetFirstSearchResult())
        return GetFirstSearchResult()->mEntry;
    if (report)
        ErrorMessage("There is no matching model with that Wythoff symbol.");
    return nullptr;
}

// The filter alone, without a text: the rows (or duals) it lets through.
LibraryEntry* FindByFilter(std::span<LibraryEntry> table, bool collect, bool* dual)
{
    const LibraryCountFilter& filter = GetLibraryCountFilter();
    for (LibraryEntry& row : table)
    {
        const bool basePasses = filter.Matches(row, false, 0, -1);
        const bool dualPasses = !IsBlank(row.mDualNames) && filter.Matches(row, true, 0, -1);
        if (!collect)
        {
            if (basePasses || dualPasses)
            {
                if (dual)
                    *dual = !basePasses;
                return &row;
            }
            continue;
        }
        if (basePasses)
            AppendSearchResult(&row);
        if (dualPasses && row.mCategory != LibraryEntry::kCategoryPlatonic &&
            row.mCategory != LibraryEntry::kCategoryKeplerPoinsot)
            InsertSearchResult(&row, -1, true);
    }
    return nullptr;
}

// The best-scoring name, other name, symbol or dual name; in collect mode every score above 3.
LibraryEntry* FindByName(std::span<LibraryEntry> table, const char* s, bool collect, bool* dual)
{
    const LibraryCountFilter& filter = GetLibraryCountFilter();
    int best = 3;
    LibraryEntry* bestRow = nullptr;
    bool bestDual = false;
    for (LibraryEntry& row : table)
    {
        const bool basePasses = filter.Matches(row, false, 0, -1);
        const bool dualPasses = !IsBlank(row.mDualNames) && filter.Matches(row, true, 0, -1);
        if (basePasses)
        {
            const int t = ScoreLibraryName(s, row);
            if (t > best)
            {
                best = t;
                bestRow = &row;
                bestDual = false;
            }
            if (collect && t > 3)
                InsertSearchResult(&row, t, false);
        }
        // The regular solids' duals are rows of their own.
        if (dualPasses && row.mCategory != LibraryEntry::kCategoryPlatonic &&
            row.mCategory != LibraryEntry::kCategoryKeplerPoinsot)
        {
            const int w = 4 * ScoreNameMatch(s, row.mDualNames);
            if (w > best)
            {
                best = w;
                bestRow = &row;
                bestDual = true;
            }
            if (collect && w > 3)
                InsertSearchResult(&row, w, true);
        }
    }
    if (bestRow && dual)
        *dual = bestDual;
    return bestRow;
}

// The 4D rows: those whose name begins with the text (without one leading '-'), then those whose
// name contains it.
LibraryEntry* Find4DByName(std::span<LibraryEntry> table, const char* s, bool collect)
{
    const char* q = *s == '-' ? s + 1 : s;
    LibraryEntry* containing = nullptr;
    for (LibraryEntry& row : table)
    {
        if (row.mCategory != LibraryEntry::kCategory4D || !row.mName)
            continue;
        if (StartsWithNoCase(row.mName, q))
        {
            if (!collect)
                return &row;
            InsertSearchResult(&row, 0, false);
        }
        else if ((collect || !containing) && ContainsNoCase(row.mName, s))
        {
            if (!containing)
                containing = &row;
            if (collect)
                InsertSearchResult(&row, 1, false);
        }
    }
    return collect ? nullptr : containing;
}

// Where the template's configuration, read from one polygon in one direction, matches a row. A
// family symbol takes any whole n in place of "<N>"; a reading that begins with a star polygon is no
// member, yet another reading of the same ring may still name a row.
int FindConfiguration(std::span<LibraryEntry> table, const std::string& text, int* n, int* d)
{
    for (size_t i = 0; i < table.size(); ++i)
    {
        const char* symbol = table[i].mSymbol;
        if (!symbol)
            continue;
        if (symbol[0] == 'N' || std::strncmp(symbol, "<N>", 3) == 0)
        {
            const char* p = text.c_str();
            const int familyN = ReadInt(p);
            if (*p == '/')
                continue;
            const char* textRest = std::strpbrk(text.c_str(), ".,");
            const char* symbolRest = std::strchr(symbol, '.');
            if (textRest && symbolRest && std::strcmp(textRest, symbolRest) == 0)
            {
                if (n)
                    *n = familyN;
                if (d)
                    *d = 1;
                return int(i);
            }
        }
        else if (text == symbol)
            return int(i);
    }
    return -1;
}
}  // namespace

int ScoreLibraryName(const char* text, const LibraryEntry& row)
{
    int t = -1;
    if (row.mSymbol && *row.mSymbol)
        t = 4 * ScoreNameMatch(text, row.mSymbol) + 3;
    // A name matched as a whole or by stems beats every other kind of match.
    int h = ScoreNameMatch(text, row.mName);
    if (h >= 5)
        h += 100;
    t = std::max(t, 4 * h + 2);
    return std::max(t, 4 * ScoreNameMatch(text, row.mOtherNames) + 1);
}

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
                               bool* dual, bool collect)
{
    bool recognisedText = false;
    bool dualResult = false;
    if (recognised)
        *recognised = false;
    if (dual)
        *dual = false;
    if (collect)
        ClearSearchResults();
    const char* s = SkipSpaces(text ? text : "");
    const LibraryCountFilter& filter = GetLibraryCountFilter();
    if ((!*s && filter.IsEmpty()) || !filter.IsUsable())
        return nullptr;

    LibraryEntry* found = nullptr;
    int index = 0;
    const IndexForm form = ReadIndexForm(s, index);
    if (form != IndexForm::kNone)
    {
        if (recognised)
            *recognised = true;
        return FindByIndex(table, form, index, report, collect);
    }
    if (std::strchr(s, '|'))
    {
        if (recognised)
            *recognised = true;
        return FindByWythoff(table, s, report, collect);
    }

    if (*s && *s != '!')
    {
        for (LibraryEntry& row : table)
        {
            int n = 0, d = 1;
            if (!SymbolMatches(s, row.mSymbol, n, d) || !filter.Matches(row, false, n, d))
                continue;
            recognisedText = true;
            if (recognised)
                *recognised = true;
            if (n != 0 && !row.SetParams(n, d, report) && report)
                return nullptr;
            if (!collect)
            {
                found = &row;
                break;
            }
            AppendSearchResult(&row);
        }
    }

    if (!found && *s != '-' && *s != '!' && !IsDigit(*s))
    {
        if (!*s)
            recognisedText = true;
        LibraryEntry* named =
            *s ? FindByName(table, s, collect, &dualResult) : FindByFilter(table, collect, &dualResult);
        // Collecting, the answer is the first of the list, made below.
        if (named && !collect)
        {
            found = named;
            recognisedText = true;
        }
    }

    if (!found)
    {
        if (collect)
            SetSearchResultScores(GetFirstSearchResult(), -1);
        if (*s == '-' || IsDigit(*s))
        {
            found = Find4DByName(table, s, collect);
            // A polytope found by name is recognised, as a polyhedron found by name is.
            recognisedText = recognisedText || found;
        }
        if (collect)
        {
            const LibrarySearchResult* first = GetFirstSearchResult();
            found = first ? first->mEntry : nullptr;
            dualResult = first && first->mDual;
            recognisedText = recognisedText || found;
        }
    }

    if (recognised)
        *recognised = recognisedText;
    if (dual)
        *dual = found && dualResult;
    return found;
}

LibraryEntry* FindLibraryEntry(const char* text, bool* recognised, bool report, bool* dual, bool collect)
{
    return FindLibraryEntry(GetLibraryTable(), text, recognised, report, dual, collect);
}

int IndexOfLibraryEntry(std::span<LibraryEntry> table, const LibraryEntry* entry, const PolyTemplate* templ,
                        int* n, int* d)
{
    if (entry)
    {
        for (size_t i = 0; i < table.size(); ++i)
        {
            if (&table[i] == entry)
                return int(i);
        }
        return -1;
    }
    if (!templ || !templ->mFirst)
        return -1;
    if (n)
        *n = -1;
    if (d)
        *d = -1;
    for (int direction = 0; direction < 2; ++direction)
    {
        const TemplatePolygon* start = templ->mFirst;
        do
        {
            const int position = FindConfiguration(table, PolyTemplate::GetName(templ, start, direction), n, d);
            if (position >= 0)
                return position;
            start = start->next;
        } while (start != templ->mFirst);
    }
    return -1;
}

int IndexOfLibraryEntry(const LibraryEntry* entry, const PolyTemplate* templ, int* n, int* d)
{
    return IndexOfLibraryEntry(GetLibraryTable(), entry, templ, n, d);
}

LibraryEntry* FindLibraryEntryForTemplate(std::span<LibraryEntry> table, const PolyTemplate& templ, int* n, int* d)
{
    const int position = IndexOfLibraryEntry(table, nullptr, &templ, n, d);
    return position < 0 ? nullptr : &table[size_t(position)];
}

LibraryEntry* FindLibraryEntryForTemplate(const PolyTemplate& templ, int* n, int* d)
{
    return FindLibraryEntryForTemplate(GetLibraryTable(), templ, n, d);
}
