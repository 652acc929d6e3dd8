#pragma once

#include <string>

class Poly;
class StellationCell;
struct LibraryEntry;

// What core code asks of the program's shell (the document, the views, the main window): redraw marks,
// view messages, the Model Info tree, undo items. Core modules cannot include the GUI, so the shell
// installs its implementation at start-up; until then (and in core tests) every call does nothing and
// every query answers "none". Views are opaque handles to the core: it only passes them back.
class Shell
{
public:
    virtual ~Shell() = default;

    // Views.
    // withCaption also marks the captions; keepMessage keeps the views' messages through the redraw.
    virtual void InvalidateAllViews(bool /*withCaption*/, int /*keepMessage*/) {}
    virtual void InvalidateView(void* /*view*/) {}
    // The view's message line; null means the active view.
    virtual void SetViewMessage(void* /*view*/, const std::string& /*text*/) {}
    // Marks every view whose view-type code holds all bits of the mask.
    virtual void InvalidateViewsOfType(int /*typeMask*/, int /*flag*/) {}
    virtual void InvalidateCrossSectionViews(int /*flag*/) {}
    virtual void UpdateAllViewButtons() {}
    virtual void UpdateGeomagAvailability() {}
    // The view that was active last recomputes its rotation pivot.
    virtual void UpdatePivotOfLastActiveView() {}
    virtual void* ActiveView() { return nullptr; }
    // A pending fit before the view's next draw (1: fit allowing for rotation), and the redraw; null
    // means the active view.
    virtual void RequestViewFit(void* /*view*/, int /*mode*/) {}
    // The view's caption is set again; null means the active view.
    virtual void UpdateViewTitle(void* /*view*/) {}
    // The global list of views: null gives the first view, the last gives null.
    virtual void* NextView(void* /*view*/) { return nullptr; }
    // The view's view-type code (kernel/ViewTypes.h), -1 for none.
    virtual int ViewTypeCode(void* /*view*/) { return -1; }
    // The current model went from 3D to 4D or back: the views leave the mouse modes that only a 3D
    // model has and switch depth testing and their drawing to suit.
    virtual void ModelDimensionChanged(bool /*entering4D*/) {}
    // The display names of the model and of its dual that the view shows (null: the active view);
    // false when there is no view, and the model's own names serve.
    virtual bool ViewModelNames(void* /*view*/, std::string& /*name*/, std::string& /*dualName*/) { return false; }

    // The Model Info tree.
    virtual void InfoNeedsUpdate(int /*mask*/) {}
    // kind 1 face, 2 edge, 3 vertex; index -1 selects none.
    virtual void SelectInfoElementItem(int /*kind*/, int /*index*/, int /*flag*/) {}

    // The document and its undo list.
    virtual void AddUndo(int /*kind*/, bool /*joinGroup*/) {}
    virtual void DiscardLastUndo() {}
    // Closes the item of a kind that records while the change runs.
    virtual void CloseUndo() {}
    // Several changes as one undo step named after the first.
    virtual void BeginUndoGroup(int /*kind*/) {}
    virtual void EndUndoGroup() {}
    // A cell's inclusion changed: the open stellation undo item records it once; nothing when no
    // such item is open.
    virtual void RecordStelCellChange(StellationCell* /*cell*/, bool /*nowIncluded*/) {}
    virtual void RefreshDocument(int /*flags*/) {}
    // The document's file becomes the path, which with addToRecentFiles heads the recent files.
    virtual void SetDocumentPath(const std::string& /*path*/, bool /*addToRecentFiles*/) {}
    // Colours changed: face diagrams take them in the next idle step and every view is redrawn.
    virtual void MarkDiagramColorsChanged() {}
    // A side of the model looks different: its display data is made again (with its nets when
    // asked) and every view is redrawn. After face colours changed the side shown is meant and a
    // view says when rainbow colours hide the change; edge colour changes likewise.
    virtual void InvalidateModelDisplay(Poly* /*poly*/, bool /*dual*/, bool /*rebuildNets*/) {}
    virtual void FaceColorsChanged(Poly* /*poly*/, bool /*rebuildNets*/) {}
    virtual void EdgeColorsChanged() {}
    // A vertex colour changed: a view says when the change cannot be seen.
    virtual void CheckVertexColorVisible() {}
    // The dual-morph ratio changed: the current model's face outlines of the morph are made again.
    virtual void ResetMorphOutlines() {}

    // Library models and their stellations: the view shows another type (false when it cannot); a
    // library row becomes the current model (false when it cannot be opened); the current model's
    // stellation is made afresh, answering its number of cells (-1 without a model), and its cells
    // are included or excluded one by one.
    virtual bool SetViewType(void* /*view*/, int /*type*/, int /*flags*/) { return false; }
    virtual bool OpenLibraryModel(LibraryEntry* /*entry*/, bool /*fromChooser*/, bool /*keepSearch*/) { return false; }
    virtual int CreateCurrentStellation() { return -1; }
    virtual void SetStellationCellIncluded(int /*cell*/, bool /*included*/) {}

    // Transitions between models: the document keeps the model records, opaque to the core. Prepare
    // keeps the current record for the animation and makes a new current one, answering the kept
    // one, or null when no transition is prepared (transitions off or too short); the caller builds
    // the new model, then starts the transition on success or abandons it on failure.
    virtual void* PrepareTransitionOfType(int /*preset*/) { return nullptr; }
    virtual void StartTransitionOfType(int /*preset*/, double /*startSeconds*/, void* /*keptRecord*/,
                                       bool /*restoreThrows*/, bool /*windBack*/)
    {
    }
    virtual void AbandonTransition(void* /*keptRecord*/) {}

    // The open sphere and cylinder options dialog re-applies its settings.
    virtual void ApplySphereCylinderSettings() {}
};

Shell& GetShell();
// Installs the shell (null: the silent default again); returns the previous one.
Shell* SetShell(Shell* shell);
