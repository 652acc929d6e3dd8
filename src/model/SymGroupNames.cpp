#include "kernel/DateText.h"
#include "kernel/Strings.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/SymDescriptor.h"
#include "model/SymGroup.h"

#include <cctype>
#include <cstdio>
#include <string>

namespace
{
using G = SymGroup;

std::string Format(const char* format, int value)
{
    char text[48];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// Orbifold symbols separate their digits with dots once a number has two digits: *2.2.12.
const char* OrbifoldSeparator(int n)
{
    return n >= 10 ? "." : "";
}

std::string Schoenflies(int kind, int reflection, int n)
{
    std::string text;
    switch (kind)
    {
    case G::kIcosahedral:
        text = "I";
        break;
    case G::kOctahedral:
        text = "O";
        break;
    case G::kTetrahedral:
        text = "T";
        break;
    case G::kDihedral:
        text = Format("D%d", n);
        break;
    case G::kNoSymmetry:
        return reflection == G::kCentralInversion ? "Ci" : reflection == G::kChiral ? "C1" : "Cs";
    default:
        if (kind == G::kPyramidal && reflection == G::kRotationReflection)
            return Format("S%d", 2 * n);
        text = Format("C%d", n);
        break;
    }
    if (reflection == G::kHorizontal)
        text += "h";
    else if (reflection == G::kVertical)
        text += kind == G::kDihedral ? "d" : "v";
    else if (reflection == G::kDiagonal)
        text += "d";
    return text;
}

std::string Orbifold(int kind, int reflection, int n)
{
    const std::string sep = OrbifoldSeparator(n);
    const std::string num = Format("%d", n);
    switch (kind)
    {
    case G::kIcosahedral:
        return reflection == G::kHorizontal ? "*532" : "532";
    case G::kOctahedral:
        return reflection == G::kHorizontal ? "*432" : "432";
    case G::kTetrahedral:
        return reflection == G::kDiagonal ? "*332" : reflection == G::kHorizontal ? "3*2" : "332";
    case G::kDihedral:
        if (reflection == G::kHorizontal)
            return "*2" + sep + "2" + sep + num;
        if (reflection == G::kVertical)
            return "2*" + num;
        return "2" + sep + "2" + sep + num;
    case G::kPyramidal:
        if (reflection == G::kRotationReflection)
            return num + "x";
        if (reflection == G::kHorizontal)
            return num + "*";
        if (reflection == G::kVertical)
            return "*" + num + sep + num;
        return num + sep + num;
    case G::kNoSymmetry:
        return reflection == G::kCentralInversion ? "1x" : reflection == G::kChiral ? "11" : "1*";
    default:
        return "???";
    }
}

std::string Coxeter(int kind, int reflection, int n)
{
    switch (kind)
    {
    case G::kIcosahedral:
        return reflection == G::kHorizontal ? "[5,3]" : "[5,3]+";
    case G::kOctahedral:
        return reflection == G::kHorizontal ? "[4,3]" : "[4,3]+";
    case G::kTetrahedral:
        return reflection == G::kDiagonal ? "[3,3]" : reflection == G::kHorizontal ? "[4,3+]" : "[3,3]+";
    case G::kDihedral:
        if (reflection == G::kHorizontal)
            return Format("[2,%d]", n);
        if (reflection == G::kVertical)
            return Format("[2+,%d]", 2 * n);
        return Format("[2,%d]+", n);
    case G::kPyramidal:
        if (reflection == G::kHorizontal)
            return Format("[2,%d+]", n);
        if (reflection == G::kVertical)
            return Format("[1,%d]", n);
        if (reflection == G::kRotationReflection)
            return Format("[2+,%d+]", 2 * n);
        return Format("[1,%d]+", n);
    case G::kNoSymmetry:
        return reflection == G::kCentralInversion ? "[2+,2+]" : reflection == G::kChiral ? "[ ]+" : "[ ]";
    default:
        return "???";
    }
}

// The group's main order as its symbols use it: -1 without axis classes.
int SymbolOrder(const SymGroup& group)
{
    return group.mNumAxisSets > 0 ? int(group.mAxisSets[0].mOrder) : -1;
}

bool CurrentModelIs4D()
{
    const Poly* poly = GetCurrentPoly();
    return poly && (poly->mFlags & Poly::kIs4D);
}

const char* Keep(std::string& buffer, std::string text)
{
    buffer = std::move(text);
    return buffer.c_str();
}

std::string Joined(const std::string& a, const std::string& b, const std::string& c, const char* separator)
{
    const std::string sep = separator ? separator : "";
    return a + sep + b + sep + c;
}

const char* const kKindNames[] = {"Icosahedral", "Octahedral", "Tetrahedral", "N-fold Dihedral", "N-fold Pyramidal",
                                  "No Symmetry"};
const char* const kReflectionNames[] = {"Horizontal Reflection", "Vertical Reflection", "Diagonal Reflection",
                                        "Rotation-Reflection",   "Central Inversion",   "Chiral (No Reflection)"};
}  // namespace

const char* SchoenfliesSymbol(int kind, int reflection, int n)
{
    static std::string buffer;
    return Keep(buffer, Schoenflies(kind, reflection, n));
}

const char* OrbifoldSymbol(int kind, int reflection, int n)
{
    static std::string buffer;
    return Keep(buffer, Orbifold(kind, reflection, n));
}

const char* CoxeterSymbol(int kind, int reflection, int n)
{
    static std::string buffer;
    return Keep(buffer, Coxeter(kind, reflection, n));
}

const char* SymGroup::GetKindName(int kind)
{
    return kind >= kIcosahedral && kind <= kNoSymmetry ? kKindNames[kind] : "???";
}

const char* SymGroup::FormatKindName(int kind, int n)
{
    static std::string buffer;
    if (kind == kDihedral)
        return Keep(buffer, Format("%d-fold Dihedral", n));
    if (kind == kPyramidal)
        return Keep(buffer, Format("%d-fold Pyramidal", n));
    return Keep(buffer, GetKindName(kind));
}

const char* SymGroup::GetName(const SymGroup* group)
{
    static std::string buffer;
    if (!group)
        return "Unknown";
    return Keep(buffer, FormatKindName(group->mKind, SymbolOrder(*group)));
}

const char* SymGroup::GetReflectionKindName(int reflection)
{
    return reflection >= kHorizontal && reflection <= kChiral ? kReflectionNames[reflection] : "???";
}

const char* SymGroup::GetReflectionName(const SymGroup* group)
{
    return group ? GetReflectionKindName(group->mReflection) : "Unknown";
}

const char* SymGroup::GetSchoenflies(const SymGroup* group)
{
    static std::string buffer;
    if (!group)
        return CurrentModelIs4D() ? "---" : "C1";
    return Keep(buffer, Schoenflies(group->mKind, group->mReflection, SymbolOrder(*group)));
}

const char* SymGroup::GetOrbifold(const SymGroup* group)
{
    static std::string buffer;
    if (!group)
        return CurrentModelIs4D() ? "---" : "11";
    return Keep(buffer, Orbifold(group->mKind, group->mReflection, SymbolOrder(*group)));
}

const char* SymGroup::GetCoxeter(const SymGroup* group)
{
    static std::string buffer;
    if (!group)
        return CurrentModelIs4D() ? "---" : "[ ]+";
    return Keep(buffer, Coxeter(group->mKind, group->mReflection, SymbolOrder(*group)));
}

const char* SymGroup::GetSchoenflies(const SymDescriptor* d)
{
    static std::string buffer;
    return d ? Keep(buffer, Schoenflies(d->mKind, d->mReflection, d->mN)) : "C1";
}

const char* SymGroup::GetOrbifold(const SymDescriptor* d)
{
    static std::string buffer;
    return d ? Keep(buffer, Orbifold(d->mKind, d->mReflection, d->mN)) : "11";
}

const char* SymGroup::GetCoxeter(const SymDescriptor* d)
{
    static std::string buffer;
    return d ? Keep(buffer, Coxeter(d->mKind, d->mReflection, d->mN)) : "[ ]+";
}

const char* SymGroup::GetSymbols(const SymGroup* group, const char* separator)
{
    static std::string buffer;
    if (!group)
    {
        if (CurrentModelIs4D())
            return "---";
        return Keep(buffer, Joined("C1", "11", "[ ]+", separator));
    }
    const int kind = group->mKind, reflection = group->mReflection, n = SymbolOrder(*group);
    return Keep(buffer, Joined(Schoenflies(kind, reflection, n), Orbifold(kind, reflection, n),
                               Coxeter(kind, reflection, n), separator));
}

const char* SymGroup::GetSymbols(const SymDescriptor* d, const char* separator)
{
    static std::string buffer;
    if (!d)
        return Keep(buffer, Joined("C1", "11", "[ ]+", separator));
    return Keep(buffer, Joined(Schoenflies(d->mKind, d->mReflection, d->mN), Orbifold(d->mKind, d->mReflection, d->mN),
                               Coxeter(d->mKind, d->mReflection, d->mN), separator));
}

bool SymGroup::GetAxisText(const SymGroup* group, std::string& out, const char* name, int i)
{
    out.clear();
    const bool blank = IsBlank(name);
    const char* word = "Axis";
    if (!blank)
    {
        // A phrase in sentence case ("Sit on") goes on in lower case.
        const std::string phrase = name;
        for (size_t k = 1; k + 1 < phrase.size(); ++k)
        {
            if (phrase[k] == ' ' && std::islower(static_cast<unsigned char>(phrase[k + 1])))
            {
                word = "axis";
                break;
            }
        }
        out = phrase + " ";
    }
    if (group && i >= 0 && i < group->mNumAxisSets)
    {
        out += Format("%d-fold ", group->mAxisSets[i].mOrder) + word;
        return true;
    }
    // A blank name leaves no leading blank.
    out = (blank ? std::string() : std::string(name) + " ") + Format("%d", i + 1) + OrdinalSuffix(i + 1) + " " + word;
    return false;
}
