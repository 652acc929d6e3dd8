#include "library/ColorList.h"

#include "kernel/TokenFile.h"

namespace
{
constexpr int kRunsPerLine = 4;

void WriteRun(ioFile* f, int indent, ColorListState& state)
{
    // The first line holds one run fewer: the list's token stands before it.
    if ((state.runsWritten + 1) % kRunsPerLine == 0)
    {
        ioPrintf(f, "\n");
        ioIndent(f, indent);
    }
    ioPrintf(f, "\t%d 0x%06x", state.runLength, unsigned(state.color));
    ++state.runsWritten;
}
}  // namespace

void WriteColorList(ioFile* f, int indent, uint32_t color, ColorListState& state, bool last)
{
    if (state.color == -1)
    {
        state.color = int32_t(color);
        state.runLength = 1;
        if (last)
            WriteRun(f, indent, state);
        return;
    }
    if (int32_t(color) != state.color)
    {
        WriteRun(f, indent, state);
        state.runLength = 0;
    }
    ++state.runLength;
    state.color = int32_t(color);
    if (last)
        WriteRun(f, indent, state);
}

int32_t ReadColorListEntry(ioFile* f, int32_t& lastColor, int32_t& countLeft)
{
    if (countLeft > 0)
    {
        --countLeft;
        return lastColor;
    }
    const int32_t length = ioReadInt(f);
    if (length < 1)
        return -1;
    lastColor = ioReadInt(f);
    countLeft = length - 1;
    return lastColor;
}
