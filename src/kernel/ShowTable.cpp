#include "kernel/ShowTable.h"

#include "kernel/Messages.h"
#include "kernel/UserServices.h"

#include <cstddef>

int ShowTable(const char* prompt, int columns, int rows, const std::vector<std::string>& headings,
              const std::vector<std::string>& cells, int initialRow, const char* title,
              const std::vector<int>& sortKinds, int* sortState, const std::vector<uint32_t>& rowColors,
              const char* settingsKey)
{
    if (columns <= 0 || rows < 0 || cells.size() < size_t(rows) * size_t(columns))
    {
        InternalError("ShowTable(): %d columns and %d rows, but %zu cells", columns, rows, cells.size());
        return -1;
    }
    TableRequest request;
    request.title = title ? title : "";
    request.prompt = prompt ? prompt : "";
    request.columns = columns;
    request.rows = rows;
    request.headings = headings;
    request.headings.resize(size_t(columns));
    request.cells.assign(cells.begin(), cells.begin() + std::ptrdiff_t(rows) * columns);
    request.sortKinds = sortKinds;
    request.sortState = sortState ? *sortState : 0;
    if (!rowColors.empty())
    {
        request.rowColors = rowColors;
        request.rowColors.resize(size_t(rows), kNoRowColor);
    }
    request.initialRow = initialRow == -2 ? -2 : initialRow >= 0 && initialRow < rows ? initialRow : -1;
    request.settingsKey = settingsKey ? settingsKey : "";

    GLContextSuspension state;
    SuspendGLContextForModal(state);
    const int row = Services().ShowTable(request);
    ResumeGLContextAfterModal(state);

    // The services change the sort state only on OK.
    if (sortState && !sortKinds.empty())
        *sortState = request.sortState;
    if (row < 0)
        return -1;
    if (request.initialRow == -2)
        return 0;
    return row < rows ? row * columns : -1;
}
