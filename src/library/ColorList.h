#pragma once

#include <cstdint>

struct ioFile;

// One colour per element of a list (edges, faces, cells), kept in model files as runs of equal
// colours: "\t%d 0x%06x", the run's length and its 0x00BBGGRR colour, three runs on the first line and
// four on each after it.

// The writer's state between the elements of one list; a fresh one stands before the first.
struct ColorListState
{
    int32_t color = -1;  // the colour of the run being counted; -1 before the first element
    int32_t runLength = 0;
    int32_t runsWritten = 0;
};

// Called for each element in list order, after the caller has written the list's token; the last
// element writes the run still open. The caller ends the list with a line break.
void WriteColorList(ioFile* f, int indent, uint32_t color, ColorListState& state, bool last);

// Called once per element of the target list, with countLeft 0 before the first call: the colour of
// the element, from the run being read or from a new run read from the stream; -1 when the stream
// gives a run of no elements.
int32_t ReadColorListEntry(ioFile* f, int32_t& lastColor, int32_t& countLeft);
