#pragma once

#include "kernel/Shell.h"

#include <string>

// What the shell asks of the model views that the document cannot reach itself; the view module
// installs them when its first view is made.
struct ViewShellHooks
{
    void (*invalidateCrossSectionViews)(bool keepMessage) = nullptr;
    void (*updateAllViewButtons)() = nullptr;
    void (*updateGeomagAvailability)() = nullptr;
    void (*invalidateModelDisplay)(Poly* poly, bool dual, bool rebuildNets) = nullptr;
    void (*faceColorsChanged)(Poly* poly, bool rebuildNets) = nullptr;
    void (*edgeColorsChanged)() = nullptr;
    void (*checkVertexColorVisible)() = nullptr;
    void (*modelDimensionChanged)(bool entering4D) = nullptr;
    bool (*viewModelNames)(void* view, std::string& name, std::string& dualName) = nullptr;
    void (*updatePivotOfActiveView)() = nullptr;
};
void SetViewShellHooks(const ViewShellHooks& hooks);

// While one exists, the shell passes no view fit on: the undo list resets and restores stellations
// around a whole-model change without moving the cameras.
class ShellFitSuspension
{
public:
    ShellFitSuspension();
    ~ShellFitSuspension();
    ShellFitSuspension(const ShellFitSuspension&) = delete;
    ShellFitSuspension& operator=(const ShellFitSuspension&) = delete;
};

// The program's side of the shell: core code's redraw marks and view messages reach the views; the
// Model Info marks are kept here for the tree to take when it rebuilds.
// Left to the shell's silent default until what it acts on exists: ApplySphereCylinderSettings
// waits for the sphere and cylinder options dialog.
class AppShell : public Shell
{
public:
    void InvalidateAllViews(bool withCaption, int keepMessage) override;
    void InvalidateView(void* view) override;
    void SetViewMessage(void* view, const std::string& text) override;
    void InvalidateViewsOfType(int typeMask, int flag) override;
    void InvalidateCrossSectionViews(int flag) override;
    void UpdateAllViewButtons() override;
    void UpdateGeomagAvailability() override;
    void InvalidateModelDisplay(Poly* poly, bool dual, bool rebuildNets) override;
    void FaceColorsChanged(Poly* poly, bool rebuildNets) override;
    void EdgeColorsChanged() override;
    void CheckVertexColorVisible() override;
    void ResetMorphOutlines() override;
    void* ActiveView() override;
    void RequestViewFit(void* view, int mode) override;
    void UpdateViewTitle(void* view) override;
    void* NextView(void* view) override;
    int ViewTypeCode(void* view) override;
    void ModelDimensionChanged(bool entering4D) override;
    bool ViewModelNames(void* view, std::string& name, std::string& dualName) override;
    void UpdatePivotOfLastActiveView() override;
    // A model pane takes the type and sets its title; false for a view that is no model pane or a
    // code that is no view type. Flags other than 0 keep the pane's camera.
    bool SetViewType(void* view, int type, int flags) override;
    // The current model's own stellation, built afresh: its cell count, or -1 without a model or
    // when it cannot be built.
    int CreateCurrentStellation() override;
    // The cell of that index in the current model's own stellation; nothing for no such cell.
    void SetStellationCellIncluded(int cell, bool included) override;

    void InfoNeedsUpdate(int mask) override { mInfoMask |= mask; }
    void SelectInfoElementItem(int kind, int index, int /*flag*/) override
    {
        mSelectedKind = kind;
        mSelectedIndex = index;
    }
    // The marks since the tree last took them; taking clears them.
    int TakeInfoMask()
    {
        const int mask = mInfoMask;
        mInfoMask = 0;
        return mask;
    }
    int SelectedInfoKind() const { return mSelectedKind; }
    int SelectedInfoIndex() const { return mSelectedIndex; }

    void RefreshDocument(int flags) override;
    void SetDocumentPath(const std::string& path, bool addToRecentFiles) override;
    void MarkDiagramColorsChanged() override;
    bool OpenLibraryModel(LibraryEntry* entry, bool fromChooser, bool keepSearch) override;

    // The undo list and the document's transitions.
    void AddUndo(int kind, bool joinGroup) override;
    void DiscardLastUndo() override;
    void CloseUndo() override;
    void BeginUndoGroup(int kind) override;
    void EndUndoGroup() override;
    void RecordStelCellChange(StellationCell* cell, bool nowIncluded) override;
    void* PrepareTransitionOfType(int preset) override;
    void StartTransitionOfType(int preset, double startSeconds, void* keptRecord, bool restoreThrows,
                               bool windBack) override;
    void AbandonTransition(void* keptRecord) override;

private:
    int mInfoMask = 0;
    int mSelectedKind = 0;
    int mSelectedIndex = -1;
};
