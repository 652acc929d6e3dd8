#include "library/LibraryCategory.h"

namespace
{
const char* const kCategoryNames[kNumLibraryCategories + 1] = {
    "Search Results",
    "All Built-in Polyhedra",
    "-Uniform",
    "--Regular",
    "---Platonic",
    "---Kepler-Poinsot",
    "--Semi-Regular",
    "---Archimedean",
    "---Tetrahedral Symmetry",
    "---Octahedral Symmetry",
    "---Icosahedral Symmetry",
    "---Nonconvex Snubs",
    "---Prisms/Antiprisms",
    "--Degenerates",
    "-Johnson Solids",
    "-Near Misses",
    "-Stewart Toroids",
    "-Pyramids and Cupolae",
    "-Demo 4D Polytopes",
    nullptr,
};

const char* StoredName(int category)
{
    if (category < 0 || category >= kNumLibraryCategories)
        return nullptr;
    return kCategoryNames[category];
}
}  // namespace

const char* GetLibraryCategoryName(int category)
{
    const char* name = StoredName(category);
    if (!name)
        return nullptr;
    while (*name == '-')
        ++name;
    return name;
}

int GetLibraryCategoryDepth(int category)
{
    const char* name = StoredName(category);
    int depth = 0;
    while (name && name[depth] == '-')
        ++depth;
    return depth;
}

int GetNumLibrarySubcategories(int category)
{
    if (!StoredName(category))
        return 0;
    const int depth = GetLibraryCategoryDepth(category);
    int count = 0;
    while (StoredName(category + count + 1) && GetLibraryCategoryDepth(category + count + 1) > depth)
        ++count;
    return count;
}

bool IsInLibraryCategory(int category, int tree)
{
    return category >= tree && category <= tree + GetNumLibrarySubcategories(tree);
}
