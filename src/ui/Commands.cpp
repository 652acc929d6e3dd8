#include "ui/Commands.h"

#include "kernel/ViewTypes.h"
#include "platform/CommandIds.h"
#include "platform/CommandTable.h"

namespace
{
const CommandInfo kCommands[] = {
    // A 4D model cannot be written to a model file yet.
    {kCmdFileSave, "&File", "&Save\tCtrl+S", "Save the scene to its model file", {0, kCommandFor3DModel}},
    {kCmdFileSaveAs, "&File", "Save &As...", "Save the scene to a new model file", {0, kCommandFor3DModel}},
    {kCmdSaveDefaultScene, "&File", "Save &Default Scene", "Save the scene as the default scene",
     {0, kCommandFor3DModel}},
    {0, "&File", nullptr, nullptr, {}},
    // The mesh of one side: a pane that shows a single side.
    {kCmdExportMetricData, "&File", "Export &Metric Data...", "Write the metric data of the mesh to a text file",
     {kViewFamilyBaseOnly | kViewFamilyDualOnly | kViewFamilyFollowsSide, kCommandFor3DModel}},
    {0, "&File", nullptr, nullptr, {}},
    {kCmdAppExit, "&File", "E&xit", "Quit the program", {}},
    // The undo items are renamed after the step they would undo or redo.
    {kCmdUndo, "&Edit", "&Undo\tCtrl+Z", "Undo the last change", {0, kCommandForAnyModel, true}},
    {kCmdRedo, "&Edit", "&Redo\tCtrl+R", "Redo the last change undone", {0, kCommandForAnyModel, true}},
    {0, "&Edit", nullptr, nullptr, {}},
    {kCmdUndoSettings, "&Edit", "Undo &Settings...", "Set how many changes can be undone", {}},
    {kCmdEditUndo, nullptr, "Undo\tAlt+Back", "Undo the last change", {0, kCommandForAnyModel, true}},
    {kCmdEditRedo, nullptr, "Redo", "Redo the last change undone", {0, kCommandForAnyModel, true}},
    {kCmdPreviousPolyhedron, "&Poly", "&Previous Polyhedron\tCtrl+Left", "Open the previous polyhedron", {}},
    {kCmdNextPolyhedron, "&Poly", "&Next Polyhedron\tCtrl+Right", "Open the next polyhedron", {}},
    {0, "&Poly", nullptr, nullptr, {}},
    {kCmdCreateWatermanPolyhedron, "&Poly", "Create &Waterman Polyhedron\tW",
     "Make the convex hull of the lattice points within a sphere", {}},
    {kCmdMakeFacesRegular, "&Poly", "Try to Make Faces &Regular",
     "Move the vertices until every face is a regular polygon with edges of one length", {0, kCommandFor3DModel}},
    {kCmdLayout1, nullptr, "One Pane\tCtrl+1", "Show one pane", {}},
    {kCmdLayout2, nullptr, "Two Panes\tCtrl+2", "Show two panes side by side", {}},
    {kCmdLayout3, nullptr, "Three Panes\tCtrl+3", "Show three panes; again for the next arrangement", {}},
    {kCmdLayout4, nullptr, "Four Panes\tCtrl+4", "Show four panes; again for the next arrangement", {}},
    {kCmdLayout5, nullptr, "Five Panes\tCtrl+5", "Show five panes; again for the other arrangement", {}},
    {kCmdLayout6, nullptr, "Six Panes\tCtrl+6", "Show six panes", {}},
    // Esc has its own command: it stops more than the motions (the Options item shows no key so
    // that it does not take Esc away from it).
    {kCmdStopAllMouseInertia, "&Options", "Stop All Mouse &Inertia",
     "Stop every motion that goes on after a mouse drag", {0, kCommandForAnyModel, true, false}},
    {kCmdAllowMouseInertia, "&Options", "Allow &Mouse Inertia",
     "Let the model keep moving after a fast mouse drag", {0, kCommandForAnyModel, true, true}},
    {kCmdEscapeKey, nullptr, "Escape\tEsc", "Finish a transition, or stop the motions after a mouse drag", {}},
};
}  // namespace

const CommandTable& GetCommandTable()
{
    static const CommandTable table{kCommands, sizeof kCommands / sizeof kCommands[0]};
    return table;
}
