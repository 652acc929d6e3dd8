#pragma once

#include <string>

// The model files the program offers in its file dialogs and opens from face hyperlinks.

// The open and save dialogs' filter.
inline constexpr char kModelFileFilter[] = "*.orva";

// The extension of the path's file name equals, ignoring case, one of the ';'-separated patterns
// of the model-file filter (a leading '*' of a pattern skipped).
bool IsModelFileName(const char* path);

// The preview text of the file dialogs for the path: a prompt for a folder or a path that does not
// exist or names no model file; for a ".off" file its counts ("6 faces, 12 edges, 8 vertices", with
// cells and edges only when positive); for a model file of our own the scene's name (else the file's)
// and below it the counts its header gives. True when the text describes the file.
bool ModelFileInfoText(const char* path, std::string& text);

// The open dialog's filter.
inline constexpr char kModelFileOpenFilter[] = "Orvane Model (*.orva)|*.orva|All Files (*.*)|*.*||";

// The Save As dialog's filter: the compressed BINARY form first, then the ASCII text form.
inline constexpr char kModelFileSaveFilter[] =
    "Orvane Model (*.orva)|*.orva|Orvane Model as Text (*.orva)|*.orva||";
inline constexpr int kSaveFilterBinary = 1;
inline constexpr int kSaveFilterText = 2;

// The default scene: "Default.orva" beside the settings file, written in ASCII by File > Save
// Default Scene.
std::string DefaultScenePath();
