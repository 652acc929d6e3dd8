#pragma once

#include "model/ModelRecord.h"

#include <wx/event.h>

#include <cstdint>
#include <functional>
#include <string>

class LibrarySearchResult;
class NewView;
struct LibraryEntry;

// Nets > Show Edge Data: choosing the kind shown clears it, another kind replaces it, 0 clears
// it; the face-angle bit stays.
void ChooseNetEdgeData(int bit);

// The one document: the models as a list of model records, the current one being the model the
// user works on (during a transition the outgoing records stay before the newest), with the model's
// file path and the main window's title kept in step. Created at start-up by the application,
// which owns it; commands reach it after the active view (platform/CommandRouting.h).
class CPolyDoc : public wxEvtHandler
{
public:
    // Flags of SwitchModelRecord.
    static constexpr int kKeepPaths = 1;    // the new record's path texts are not loaded
    static constexpr int kNoPaths = 2;      // the path texts are neither saved nor loaded
    static constexpr int kNoRestore = 4;    // nothing is restored from the new record

    CPolyDoc();
    ~CPolyDoc() override;
    CPolyDoc(const CPolyDoc&) = delete;
    CPolyDoc& operator=(const CPolyDoc&) = delete;

    ModelRecord* GetFirstRecord() const { return mRecords.mFirst; }
    ModelRecord* GetLastRecord() const { return mRecords.mLast; }
    // Never null.
    ModelRecord* GetCurrentRecord() const { return mRecords.mCurrent; }
    PolyTemplate* GetCurrentTemplate() const;

    // A new record at the end of the list (the incoming model of a transition); not made current.
    ModelRecord* AddModelRecord();
    // Unlinks and deletes a record that is not the current one; false for the current one.
    bool DeleteModelRecord(ModelRecord* record);

    // Makes the record current: the state of the panes (the given one alone, or the first six of
    // the list), the scene values and the path texts are saved into the old record and restored
    // from the new one, as the flags allow. Nothing happens for null or the current record.
    void SwitchModelRecord(ModelRecord* record, int flags, NewView* view);

    // The path the model was read from or written to; empty for a new model.
    const std::string& GetPathName() const { return mPathName; }
    // The model file's own path when it differs from the path name.
    void SetOwnFilePath(const std::string& path) { mOwnFilePath = path; }
    const std::string& GetOwnFilePath() const { return mOwnFilePath; }
    // The own file path when set, else the path name.
    const std::string& GetFilePath() const;
    // The name the last picture export was given, without its pane's suffix: the next one starts
    // from it. Kept for the run, per document.
    const std::string& GetExportName() const { return mExportName; }
    void SetExportName(const std::string& name) { mExportName = name; }
    // A null or blank path clears the path name; either way the own file path is cleared and the
    // title rebuilt. A path that is set may join the recent files.
    void SetPathName(const char* path, bool addToRecentFiles);

    bool IsModified() const { return mModified; }
    void SetModifiedFlag(bool modified) { mModified = modified; }

    // Builds and sets the main window's title and marks the Model Info tree out of date.
    void UpdateTitle();
    const std::string& GetTitle() const { return mTitle; }

    // After the model changed: unless the path is kept it is cleared; every pane is retitled and
    // fits the new model.
    void ModelChanged(bool keepPath);

    // Makes the library entry the current model, as one undo step with the transition of a library
    // model; false, with the old model current and no undo step left, when it cannot be built. With
    // keepSearch the current search result survives.
    bool OpenLibraryModel(const LibraryEntry* entry, bool fromChooser = false, bool keepSearch = false);
    // A name or symbol typed into the chooser that is none of its choices: the library row it names,
    // else, for a text with '.' or ',', the model matched from it as a vertex configuration (one undo
    // step). False, after telling the user, when neither gives a model.
    bool OpenModelByName(const char* text);
    // Next (step 1) or Previous (step -1) Polyhedron: through the search results when there are
    // any, else through the model files of the folder when the model came from a file, else through
    // the Waterman polyhedra when one is shown, else through the library.
    void StepModel(int step);
    // The next or previous model file of the current file's folder that opens, in natural order and
    // wrapping round, each other file tried once; false when none opened.
    bool StepThroughFolder(int step);
    void OnNextPolyhedron(wxCommandEvent& event);
    void OnPreviousPolyhedron(wxCommandEvent& event);
    // Poly > Try to Make Faces Regular.
    void OnMakeFacesRegular(wxCommandEvent& event);

    // ---- Transitions between models ----
    // Before a model change: old takes the current record. With transitions on (or forced) and a
    // moving type longer than 0.01 s, a new record is appended and made current without touching
    // the panes; otherwise the current model is answered and replaced in place.
    Poly* PrepareTransition(const TransitionSettings& settings, ModelRecord*& old, bool force);
    Poly* PrepareTransitionOfType(int occasion, ModelRecord*& old);
    // After the change succeeded: the old record starts leaving and the current one arriving at
    // the time (seconds of the program clock); false when nothing was prepared.
    bool StartTransition(const TransitionSettings& settings, double time, ModelRecord* old, bool restoreThrows,
                         bool windBack);
    bool StartTransitionOfType(int occasion, double time, ModelRecord* old, bool restoreThrows, bool windBack);
    // After a failed change: the old record is current again and the fresh one is deleted.
    void CancelTransition(ModelRecord* old);
    // Moves every running transition on to the time; true while any record was in transition.
    bool AdvanceTransitions(double time);
    // An arriving record comes to rest, a leaving one is deleted (never the only record).
    void FinishTransition(ModelRecord* record);
    // Every leaving model goes and the current one stands still at its end state.
    void FinishAllTransitions();

    // A model change that never loses the current model: the build runs on a fresh record, which
    // replaces the current one only when the build succeeds; the occasion's transition plays when
    // transitions are on (occasion -1: none). False, with the old model current, when it failed.
    bool BuildNewModel(int occasion, const std::function<bool(Poly&)>& build, bool restoreThrows);

    // ---- Model files ----
    // Flags of OpenModelFile.
    static constexpr int kOpenPathOnly = 2;       // the path does not join the recent files
    static constexpr int kOpenKeepSearch = 8;     // the library's current search result stays
    static constexpr int kOpenWithoutPath = 0x100;  // the document's path stays as it is
    // Makes the model file's scene current: the model with its colours, texts and selections, and
    // the panes, cameras and settings the file holds, as one "File-Open" undo step arriving with
    // the transition of a model loaded from file. The file becomes the document's path, in the
    // recent files unless kOpenPathOnly, and Save keeps its form. False, with the old model, panes
    // and settings as they were and no undo step left, when the file cannot be read or the user
    // cancelled the reading; the user has been told why, except after a cancel.
    bool OpenModelFile(const std::string& path, int flags);
    // The framework's opening of a document: OpenModelFile(path, 0).
    bool OnOpenDocument(const std::string& path);
    // File > Open...: a model file chosen in the open dialog.
    bool AskOpenModelFile();
    // The recent file at the index; one that no longer opens leaves the list.
    bool OpenRecentFile(int index);
    void OnFileOpen(wxCommandEvent& event);
    void OnRecentFile(wxCommandEvent& event);
    // File > Save: to the model's file in the form that file has; without a file, Save As.
    bool SaveModelFile();
    // File > Save As...: the path and the form (ASCII or the compressed BINARY) chosen in the save
    // dialog; false when the user cancelled or the file could not be written.
    bool SaveModelFileAs();
    // Writes the scene to the path in the form (kIoAscii or kIoBinary): on success the path becomes
    // the document's path name, which heads the recent files and retitles the window. False, with
    // the old file and the document's path as they were, after telling the user.
    bool WriteModelFile(const std::string& path, int form);
    // File > Save Default Scene: the scene, in ASCII, to the default scene's file
    // (DefaultScenePath); the document's path stays.
    bool SaveDefaultScene();
    // The form the document's file was written or read in; -1 when unknown.
    int GetFileForm() const { return mFileForm; }
    void SetFileForm(int form) { mFileForm = form; }
    void OnFileSave(wxCommandEvent& event);
    void OnFileSaveAs(wxCommandEvent& event);
    void OnSaveDefaultScene(wxCommandEvent& event);

    // ---- Undo commands (Edit menu) ----
    void OnUndo(wxCommandEvent& event);
    void OnRedo(wxCommandEvent& event);
    void OnUpdateUndo(wxUpdateUIEvent& event);
    void OnUpdateRedo(wxUpdateUIEvent& event);

    // ---- Colour commands (Color menu) ----
    // Each opens the colour chooser where it needs one; a cancelled chooser changes nothing and
    // leaves no undo step. Replace Face (or Back-Face) Color Throughout: the selected vertex's or
    // edge's colour, else the shown face's colour throughout, asking before two colour groups merge.
    void ReplaceColorThroughout(bool back);
    // Set Face-Type, Single Face and All Face Colors (Poly::kColorScope...), or their back forms.
    void SetElementColors(int scope, bool back);
    void TakeColorFromNeighbours();
    void ColorCompoundPart();
    // Every pane, and panes made later, get the chosen background colour.
    void SetBackgroundColor();
    // The face colour scheme as the menu item of the scheme bit changes it, as one undo step.
    void ChangeFaceColorScheme(uint32_t bit);

    // ---- Showing, hiding and stepping types (Display and Selection menus) ----
    // A ShowHideGroup (document/ShowHide.h) of the current model; the stellation diagrams follow.
    void ShowHide(int group);
    // The faces around the selected vertex; with coincident vertices the user is asked whether
    // theirs count too (Cancel changes nothing).
    void ShowHideFacesAroundVertex();
    // Selects the first element of the next (step 1) or previous (step -1) type; allTypes counts
    // coplanar copies as types of their own, vertices steps vertex types. With one type the active
    // pane says so.
    void SelectNextFaceType(int step, bool allTypes, bool vertices);

    // Poly > Go to Variation: a chiral model becomes its mirror image as it is shown, as one undo
    // step; false, with nothing changed, for any other model or when it cannot be made.
    bool GoToVariation();

    // ---- Net options (Nets menu) ----
    // Makes the nets again on each side whose mesh has nets, and redraws the net panes (every pane
    // while edges are being cut); false when no side had nets.
    bool RebuildNets();
    // "Maximum number of faces allowed per net:"; a value below 1 is taken as 1.
    void PromptMaxFacesPerNet();
    void SetCoincEdgeMethod(int method);
    // 0 allow mixing, 1 one colour per net or page, 2 automatic.
    void SetColorMixing(int mode);
    // Edit > Text for Face/Edge/Vertex...: the text of the selected element, asked for; false when
    // there is no element or the prompt was cancelled.
    bool EditElementText();

private:
    void BindNetCommands();
    void BindDisplayCommands();
    void BindUndoCommands();
    void BindColorCommands();
    void BindOpenCommands();
    void BindSaveCommands();
    void BindTextCommands();
    void OnEditElementText(wxCommandEvent& event);
    // Appends a record for the incoming model and makes it current; the panes keep their state.
    // With keepPaths the document's path texts stay as they are (a model replaced in place).
    Poly* AppendIncomingRecord(ModelRecord* old, bool keepPaths);

    // Registered with the model code, which finds the current model through it.
    ModelRecordList mRecords;
    // The library row the last step tried and could not build.
    const LibraryEntry* mUnbuiltEntry = nullptr;
    std::string mPathName;
    std::string mExportName;
    std::string mOwnFilePath;
    std::string mTitle;
    bool mModified = false;
    int mFileForm = -1;
};

// The panes follow the side a search result matched: when no pane shows that side, base and dual
// views swap and the model shows that side. Answers what to tell the user, empty when nothing
// changed.
std::string ShowSideOfSearchResult(const LibrarySearchResult* result);

// The living document, null when there is none: the program's, or the one a test made.
CPolyDoc* GetPolyDoc();

// Switches transitions on or off; off ends every running transition at once.
void EnableTransitions(bool on);
bool AreTransitionsEnabled();

// The title of a model: "\"file\": " for a file path (with each ';' of the file name shown as '/'),
// "symbol - " for a model with a symbol, then its name, or "<No Name>".
std::string MakeDocumentTitle(const std::string& filePath, const std::string& symbol, const std::string& name);

// True while the current record is the newest of the list: code that moves scroll bars acts only
// then, so that they follow the newest model while older ones are drawn.
bool IsCurrentRecordLast();

// After a change of the model, on the program's document (nothing without one). Flag 1 only retitles
// the frame and the panes and marks them for redraw; without it the document takes the model as
// changed, keeping the path with flag 2.
void RefreshDocument(int flags);
