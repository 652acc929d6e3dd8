#pragma once

#include <string>

// Program-wide options of the document subsystem that the settings keep between runs: transitions
// and the undo limits. The transition and undo code read them; their dialogs change them.
struct DocumentSettings
{
    bool enableTransitions = true;  // "EnableTransitions"
    bool undoEnabled = true;        // "UndoEnabled"
    int maxUndoSize = 33554432;     // "MaxUndoSize": bytes the undo list may hold
    int minNumUndos = 2;            // "MinNumUndos": steps always kept
    int maxNumUndos = 1000;         // "MaxNumUndos": most steps kept
    // "SaveModelsAsText": the form Save As offers first, the one chosen there last (ASCII, else the
    // compressed BINARY form).
    bool saveModelsAsText = false;
    // "TopInfoItem": the key of the first visible Model Info row, read at start for the tree to
    // scroll to and kept until the tree reports another.
    std::string topInfoItem;
};

DocumentSettings& GetDocumentSettings();
