#pragma once

#include <string>

// Names of model files. A model name may contain '/', which a file name cannot, so in the name of
// a model file ';' stands for '/'. Library model files end in ".orva"; a file whose name begins
// "verf-of-" holds the vertex figure of a polychoron.

// Every ';' becomes '/' (null-safe).
void ToSlashNames(char* text);
void ToSlashNames(std::string& text);
// Every '/' becomes ';' (null-safe).
void ToSemicolonNames(char* text);
void ToSemicolonNames(std::string& text);

// Cuts a ".orva" extension (any case) off, unless nothing comes before it.
void StripModelFileExtension(std::string& path);
// Appends ".orva" unless the path ends in ".off" (any case).
void AddModelFileExtension(std::string& path);

// The file-name part of the path; while polychora are generated from vertex-figure files, without a
// leading "verf-of-" (any case).
const char* GetLibraryFileDisplayName(const char* path);

// The file name after the prefix's length, without its extension and without a closing
// "(...)" of digits, ';', '/' and spaces (the note of a variant, as in "Cube (5/2; 3)"); with
// keepExtension a ".orva" extension (any case) stays. "verf-of-Cube (3).orva" gives "Cube".
std::string StripModelFileName(const char* source, bool keepExtension, const char* prefix);
// Whether the path's file name begins with the prefix, ignoring case.
bool IsModelFileWithPrefix(const char* path, const char* prefix);
