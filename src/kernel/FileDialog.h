#pragma once

#include <functional>
#include <string>

class BrowseFolder;

// The open and save dialogs. kind 0 open (the file must exist), 1 save (asks before replacing),
// 2 open, 3 save. path holds the starting path and receives the chosen one. Without an extension the
// path's own is used; without a filter one is made from it ("ORVA Files (*.orva)|*.orva|All Files
// (*.*)|*.*||"). A given filter index (1-based) first gives the path that entry's extension and
// receives the entry chosen. The dialog starts in the path's folder when it exists, else in the
// remembered folder, which then moves to the folder the user chose. True when a file was chosen.
bool DoFileDialog(const char* title, std::string& path, int kind, const char* extension, const char* filter,
                  BrowseFolder* remembered, int* filterIndex);
bool AskOpenFile(const char* title, std::string& path, const char* extension, const char* filter,
                 BrowseFolder* remembered, int* filterIndex = nullptr);
bool AskSaveFile(const char* title, std::string& path, const char* extension, const char* filter,
                 BrowseFolder* remembered, int* filterIndex = nullptr);

// Gives a file name the extension of filter entry `index` (from 1; entries are a description, the
// separator and ";"-separated "*.ext" patterns) unless it already has one of the entry's extensions
// (case ignored) or the entry takes "*.*". True when the name changed.
bool ApplyFilterExtension(std::string& name, const char* filter, int index, char separator);

// While one lives, the open and save dialogs show two lines about the file the user has selected,
// from describe (a model file's name and counts, for File > Open and the OFF export).
class FileDialogInfoScope
{
public:
    explicit FileDialogInfoScope(std::function<std::string(const std::string& path)> describe);
    ~FileDialogInfoScope();
    FileDialogInfoScope(const FileDialogInfoScope&) = delete;
    FileDialogInfoScope& operator=(const FileDialogInfoScope&) = delete;

private:
    std::function<std::string(const std::string& path)> mPrevious;
};
