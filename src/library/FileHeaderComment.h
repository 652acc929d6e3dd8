#pragma once

#include <string>

struct ioFile;

// The comment block that opens a model file in ASCII, every text export but STL and the metric data
// file: the title, the program that wrote the file, the time and date, and an empty comment line.
// Each line is the prefix, the text, the suffix and a line break; the empty line is left out when the
// prefix begins with '9' (a DXF comment group, "999\n"). Only the prefix and suffix change with the
// format: "# " for model files, OBJ, OFF and VRML, "// " for POV-Ray, two spaces and a double quote
// with a double quote after for VRML's info list, nothing for the metric data.

// The program and version the block names.
inline constexpr char kGeneratorName[] = "OrvaneMax";
inline constexpr char kGeneratorVersion[] = "Version 5.4";

std::string FormatFileHeaderComment(const char* prefix, const char* title, const char* suffix);
// Into a text stream; a binary stream has no comments and gets nothing.
void WriteFileHeaderComment(ioFile* f, const char* prefix, const char* title, const char* suffix);
