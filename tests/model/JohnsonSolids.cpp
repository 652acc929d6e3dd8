#include "JohnsonSolids.h"

#include "SolidModels.h"
#include "model/SymGroup.h"

#include <filesystem>

namespace
{
using G = SymGroup;

// The symmetry groups of J1 .. J92 as published (the Schoenflies symbols of the list of Johnson
// solids, as given in Wikipedia's "List of Johnson solids").
const char* const kJohnsonGroups[92] = {
    "C4v", "C5v", "C3v", "C4v", "C5v", "C5v", "C3v", "C4v", "C5v", "C4v",  // J1-J10
    "C5v", "D3h", "D5h", "D3h", "D4h", "D5h", "D4d", "C3v", "C4v", "C5v",  // J11-J20
    "C5v", "C3v", "C4v", "C5v", "C5v", "D2d", "D3h", "D4h", "D4d", "D5h",  // J21-J30
    "D5d", "C5v", "C5v", "D5h", "D3h", "D3d", "D4d", "D5h", "D5d", "C5v",  // J31-J40
    "C5v", "D5h", "D5d", "D3",  "D4",  "D5",  "C5",  "D5",  "C2v", "C2v",  // J41-J50
    "D3h", "C2v", "C2v", "C2v", "D2h", "C2v", "D3h", "C5v", "D5d", "C2v",  // J51-J60
    "C3v", "C2v", "C3v", "C3v", "C3v", "C4v", "D4h", "C5v", "D5d", "C2v",  // J61-J70
    "C3v", "C5v", "D5d", "C2v", "C3v", "C5v", "C5v", "Cs",  "Cs",  "D5d",  // J71-J80
    "C2v", "Cs",  "C3v", "D2d", "D4d", "C2v", "Cs",  "C2v", "C2v", "D2d",  // J81-J90
    "D2h", "C3v",                                                          // J91-J92
};
}  // namespace

GroupName FromSchoenflies(const std::string& s)
{
    if (s == "Cs")
        return {G::kNoSymmetry, 1, G::kHorizontal, 1};
    const int n = std::stoi(s.substr(1));
    const char last = s.back();
    const bool dihedral = s[0] == 'D';
    const int reflection = last == 'v' || last == 'd' ? G::kVertical : last == 'h' ? G::kHorizontal : G::kChiral;
    return {dihedral ? G::kDihedral : G::kPyramidal, n, reflection, dihedral ? 2 * n : n};
}

const char* JohnsonGroup(int j)
{
    return j >= 1 && j <= 92 ? kJohnsonGroups[j - 1] : "";
}

std::string JohnsonFile(int j)
{
    const std::string prefix = std::to_string(104 + j) + "-";
    for (const auto& entry : std::filesystem::directory_iterator(PolyhedraDir()))
    {
        const std::string name = entry.path().filename().string();
        if (name.rfind(prefix, 0) == 0 && entry.path().extension() == ".off")
            return entry.path().string();
    }
    return {};
}
