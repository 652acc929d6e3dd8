#pragma once

struct ioFile;

// The layout section of the model file: the layout shown and the stored ratios of every layout
// that has them. Its own tokens, with their numbers in binary streams.
inline constexpr int kLayoutTokenEndSection = 0;
inline constexpr int kLayoutTokenCurrentLayout = 1;
inline constexpr int kLayoutTokenLayout = 2;
inline constexpr int kLayoutTokenRatios = 3;

// The writer stores what the layout records hold: a scene writer stores the frame's ratios into
// the current record first (NewFrame::StoreRatios).
bool WriteLayoutSection(ioFile* f, int indent);
// Reads up to EndSection or the end of the stream, starting with startLayout as the layout shown
// and the record written to. With apply, every record's stored ratios are replaced by what the
// section gives, and the main window shows the layout read. False after an unexpected token,
// reported as an error of the stream; what came before it stays.
bool ReadLayoutSection(ioFile* f, int startLayout, bool apply);
