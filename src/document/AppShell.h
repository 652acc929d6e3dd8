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
    void (*modelDimensionChanged)(bool entering4D) = nullptr;
    bool (*viewModelNames)(void* view, std::string& name, std::string& dualName) = nullptr;
};
void SetViewShellHooks(const ViewShellHooks& hooks);

// The program's side of the shell: core code's redraw marks and view messages reach the views; the
// Model Info marks are kept here for the tree to take when it rebuilds.
// Left to the shell's silent default until what they act on exists:
// - UpdatePivotOfLastActiveView waits for a pane's pivot point and the point of its selected item;
// - CreateCurrentStellation and SetStellationCellIncluded wait for the stellation build;
// - ApplySphereCylinderSettings waits for the sphere and cylinder options dialog.
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
    void ResetMorphOutlines() override;
    void* ActiveView() override;
    void RequestViewFit(void* view, int mode) override;
    void UpdateViewTitle(void* view) override;
    void* NextView(void* view) override;
    int ViewTypeCode(void* view) override;
    void ModelDimensionChanged(bool entering4D) override;
    bool ViewModelNames(void* view, std::string& name, std::string& dualName) override;
    // A model pane takes the type and sets its title; false for a view that is no model pane or a
    // code that is no view type. Flags other than 0 keep the pane's camera.
    bool SetViewType(void* view, int type, int flags) override;

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
    void* PrepareTransitionOfType(int preset) override;
    void StartTransitionOfType(int preset, double startSeconds, void* keptRecord, bool restoreThrows,
                               bool windBack) override;
    void AbandonTransition(void* keptRecord) override;

private:
    int mInfoMask = 0;
    int mSelectedKind = 0;
    int mSelectedIndex = -1;
};
