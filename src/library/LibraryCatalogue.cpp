#include "library/LibraryEntry.h"

namespace
{
// The rows of the library come in category order, ended by a row with a null symbol.
LibraryEntry gLibrary[] = {
    {nullptr, -1, -1, -1, -1, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, ""},
};
}  // namespace

std::span<LibraryEntry> GetLibraryTable()
{
    size_t n = 0;
    while (gLibrary[n].mSymbol)
        ++n;
    return std::span<LibraryEntry>(gLibrary, n);
}
