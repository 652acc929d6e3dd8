#pragma once

#include "document/ModelViewState.h"
#include "kernel/Mat4.h"
#include "kernel/View4D.h"
#include "render/OpenGLView.h"
#include "view/ElementMaterial.h"
#include "view/Picking.h"
#include "view/ViewThrows.h"

#include <cstdint>
#include <memory>
#include <string>

class Cell4D;
class FaceType;
class FaceVert;
class Model3D;
class Polytope4D;
class Poly;
class SimplePoly;
class Stellation;
class StellationCell;
struct Export3DScene;
struct ExportOrientation3D;
struct ImageExportFields;
class ImageExportRenderer;
class wxMenu;
struct VertexPair;
struct ViewSnapshot;

// The model pane: one per pane of the main window, each showing the document's model in one of the
// 25 view types (kernel/ViewTypes.h). It keeps the state that belongs to the pane (its type, its
// explosion, its 4D projection and rotation, the display switches) and draws every model record of
// the document through the OpenGLView frame hooks. The pane layouts make and own them.
class CPolyView : public OpenGLView, public ModelViewState
{
public:
    explicit CPolyView(wxWindow* parent, wxWindowID id = wxID_ANY);
    ~CPolyView() override;

    // ---- View types ----
    // Switches the view to a type; keep (restoring a saved state, the layouts) skips the messages,
    // the title and title buttons and the fit. The same 3D type again does nothing.
    void SetViewType(int code, bool keep) override;
    // The base side only, the dual side only, or the document's base/dual switch.
    bool ShowsDual() const override;
    // False for the types that show both sides (compound, morphs); dual receives the side.
    bool GetShownSide(bool& dual) const;
    // Unless fits are suspended: 1 fit allowing for rotation, 3 tight fit, done before the next frame.
    void RequestFit(int mode) override;
    int GetPendingFit() const { return mPendingFit; }
    // The camera stays as it is: a camera read from a file is not fitted over.
    void CancelFit() { mPendingFit = 0; }
    // Makes the view active and applies the active-view rules (the side the document shows, the
    // net views' notice); nothing for the view that is active already.
    void Activate(bool setFrameActiveView) override;
    // Why the type cannot show the loaded model (a 4D model in a 3D-only type, the dual of an
    // unclosed or infinite polytope); null when it can. The scene then shows this text alone.
    const char* CheckViewAvailable() const;
    // The explosion scale moves the faces in this view now.
    bool ExplosionApplies() const;

    // ---- The View menu (PolyViewViewMenu.cpp) ----
    // Turns the camera to look along the direction (towards the viewer), another symmetry axis up;
    // the eye keeps its distance. stopThrows stops the rotating throws first (the commands do).
    void LookAlong(const Vec3D& direction, bool stopThrows);
    // Turns the camera so that the direction points straight down, another symmetry axis right.
    void SitOn(const Vec3D& direction, bool stopThrows);
    // Along the first axis of the class; false (nothing done) without that class.
    bool LookDownAxis(int axisClass, bool stopThrows);
    bool SitOnAxis(int axisClass, bool stopThrows);
    // The point the selected axis, edge, face or vertex stands for when orienting; false for none.
    bool GetSelectedItemPoint(Vec3D& out) const;
    // Of a 4D model in a 3D pane: the selected vertex, the selected edge's midpoint, the selected
    // face's centre or the current cell's, turned by the pane's 4D rotation. unturned (may be null)
    // gets the normalised point before the turn.
    bool GetSelectedItemPoint4D(Vec3D& out, Vec4D* unturned) const;
    // Base and dual swap in the base, dual and stellation types; in the others toggle flips the
    // side the model shows.
    void ToggleDualView(bool toggle);
    // Every other pane swaps its type; the model's side flips once, by this one.
    void DualAllViews();
    void SetDefaultOrientation();
    // The menu of view types over the caption's picture; the chosen type comes to this pane.
    void ShowViewTypeMenu();
    // That menu, the pane's own type checked; null when the window gave no source for it.
    wxMenu* BuildViewTypeMenu() const;
    // What choosing a command in that menu does: the command comes to this pane.
    void RunViewTypeMenuChoice(int command);
    void SetDefaultAxes();
    // Turns the view for a picture export by the export orientation code (0 puts back the saved
    // camera, 1 default, 2-4 look down and 6-8 sit on axis classes 0-2, 5 and 9 look at and sit on
    // the selected item). Throws keep running.
    void ApplyExportOrientation(int code, const ViewSnapshot& saved);
    // Around a 3D export: the camera goes into the store and the view turns as the options ask;
    // the restore puts back only a filled store.
    void OrientForExport3D(const ExportOrientation3D& options, ViewSnapshot& store);
    void RestoreAfterExport3D(ViewSnapshot& store);
    // Asks for the angle (the last one of the axis offered); false on cancel.
    bool RotateAroundAxis(int axis);
    void ToggleOrthogonal();
    // Locked panes follow the camera, and for a 4D model the 4D rotation and projection too.
    bool SyncOtherViews() override;

    // ---- The Display and Options menus (PolyViewDisplay.cpp) ----
    // The pivot throw turns about the direction of the selected item and the 4D turn-through throw
    // turns that direction; every pane takes them while the 3D panes are locked together. Nothing
    // changes without a selected item.
    void UpdatePivot();

    // ---- Titles and names ----
    void UpdateTitle() override;
    // The pane's title: the prefix of its type and the shown model's name, or the type's name alone.
    std::string GetViewName() const;
    std::string GetModelName(bool withSymbol, bool withNumbers) const;
    std::string GetDualName(bool withSymbol, bool withNumbers) const;
    // "<Unknown>" for a type without a single side.
    std::string GetShownModelName(bool withSymbol, bool withNumbers) const;
    // The name of the shown side's stellation: the model's own while it is the original polyhedron.
    std::string GetStellationName() const;
    // The description the 3D exporters write for what the pane shows.
    std::string GetExportTitle() const;
    // The short text shown in the pane's middle while its kind of view cannot draw yet; empty when
    // the view draws.
    const char* GetPlaceholderText() const;

    // ---- What the pane shows and how large it is ----
    // The stellation record of the shown side (or of the other side); null for a type without a
    // single side.
    Stellation* GetStellation(bool otherSide = false) const;
    // The stellation after asking its Poly to build it, when its state reached n (kStellationBuilt
    // for a built one); null otherwise, and while it is under construction for any n above 0.
    Stellation* GetStellationUpTo(int n, bool otherSide = false) const;
    // The mesh of the shown stellation when it has been built.
    Model3D* PeekStellationModel3D() const;
    // The mesh of the shown stellation, built when missing; null for a type without a single side or
    // when none can be built.
    Model3D* GetStellationModel3D(bool withNets) const;

    // ---- Exports ----
    // File > Export Metric Data...: the shown side's mesh as a text report, to a file the user picks.
    // False when there is no mesh or the user cancels.
    bool ExportMetricData();
    // The 3D export formats of the File menu, by the code the export options know them by.
    static constexpr int kExportVrml = 0;
    static constexpr int kExportPovRay = 1;
    static constexpr int kExportDxf = 2;
    static constexpr int kExportObj = 3;
    static constexpr int kExportOff = 4;
    static constexpr int kExportStl = 5;
    // File > 3D Export...: what the pane shows, turned as it shows it and sized in the current unit,
    // to a file the user picks. False when the user cancels, the pane has nothing to export (the
    // conversion has said why) or the file cannot be written (said here).
    bool Export3D(int format);
    // What the pane shows as a plain model for a 3D export, made with the triangulation of the
    // export options (request adds its own bits, kConvertTriangulate...), faces of mirrored parts
    // turned back, rotated into the pane's view and sized by the model scale; edges, when given,
    // receives the edges by vertex index. Null when the pane's model cannot be converted.
    std::unique_ptr<SimplePoly> PrepareExport3D(uint32_t request, VertexPair** edges) const;
    // The name an export of this pane starts from, without a folder: the model file's name, else the
    // model's, abbreviated; then what the pane's type adds, and the extension.
    std::string DefaultExportFileName(const char* extension, bool useRemembered) const;
    // File > Export Image/Video...: the dialog (through the asker) over a frame renderer, then the
    // still, numbered frames or animated GIF. False when nothing was written.
    bool ExportImage();
    // Puts the pane into the state of an export frame (orientation, turn, tilt, ratio, fit, frozen
    // clock); the number of output frames it stands for.
    int PrepareExportFrame(const ImageExportFields& fields, ImageExportRenderer& renderer, int frame);
    // The end of an export or its preview: the clock runs again and the throws go on from now.
    void EndImageExport();
    // What the VRML and POV-Ray writers take from the pane: background, camera (turned and sized
    // as the written model) and sphere radius.
    Export3DScene GetExport3DScene() const;
    // The radius the exported vertex spheres are drawn with, in model lengths; the cylinders'
    // radius is "CylinderRad" times this.
    double GetSphereScaleLength() const;
    std::string ViewTypeFileSuffix() const;
    // The shown side's selected face type.
    FaceType* GetSelectedFaceType() const;
    // Height of labels on the model for the font options.
    double GetTextSize() const;
    // Radius of the spheres at the vertices of what the pane shows; 0 unless forced or spheres are
    // drawn.
    double GetVertexSphereRadius(bool force) const;
    // The vertex sphere radius while vertices are shown, else 0.
    double GetDrawnSphereRadius() const;
    // How far the vertex markers reach beyond the model.
    double GetMarkerMargin() const;
    // The radius of what the pane shows; with margin the vertex markers are allowed for.
    double GetViewRadius(int withMargin) const override;
    // The camera's rotation, columns right, up and towards the viewer; scaled by the model scale
    // of the units when asked. copy, when given, receives the nine values too.
    void GetViewRotationMatrix(double matrix[9], double* copy, bool scaled) const;

    // ---- The construction kit ----
    // Whether the kit builds what the pane shows, told on the pane's message line; false while the
    // kit style is off.
    bool CheckGeomagBuildable();

    // ---- Materials of spheres and rods ----
    // Begin fills the record and the material; the kind is returned so that the caller colours
    // each element itself for kind 1. Draw every sphere (or rod) once while ApplyMaterial answers
    // true, then end.
    int BeginSphereMaterial(MaterialPass& record);
    void EndSphereMaterial();
    void BeginCylinderMaterial(MaterialPass& record);
    void EndCylinderMaterial();
    bool ApplyMaterial(bool sphere, MaterialPass& record);

    // ---- Blend nesting for overlays ----
    int PushBlendMode(int mode);
    int PopBlendMode(int mode);
    int GetBlendDepth() const { return mBlendDepth; }

    // ---- ModelViewState ----
    int GetViewType() const override { return mViewType; }
    double GetExplosion() const override { return mExplosion; }
    void SetExplosion(double scale) override { mExplosion = scale; }
    int GetProjection4D() const override { return mProjection4D; }
    void SetProjection4D(int type) override { mProjection4D = type; }
    const Mat4& GetRotation4D() const override { return mRotation4D; }
    void SetRotation4D(const Mat4& rotation) override { mRotation4D = rotation; }

    int ViewTypeCode() const override { return mViewType; }
    double GetExplodeScale() const override { return mExplosion; }
    // While a transition moves the model, only the GL matrix knows where its faces point.
    bool IsFacingViewer(const Vec3D& point, const Vec3D& normal, bool useMatrix) override;
    bool IsFacingViewerF(const Vec3F& point, const Vec3F& normal, bool useMatrix) override;
    using OpenGLView::IsFacingViewer;
    CaptionWnd* CreateCaptionWnd() override;
    // The title-bar buttons of the view's type, the mouse mode and the model.
    void DefineTitleButtons();
    // A title-bar button of that kind was clicked; true when it changed the model.
    bool OnTitleButton(int index, int kind, int flags) override;
    bool OnPaneKey(int keyCode, bool ctrl) override;

    // Per-view display switches.
    bool mShowSymmetryAxes = false;
    bool mShowReflectionPlanes = false;
    bool mShowReflectionNormals = false;

protected:
    void PrepareForDraw() override;
    void ApplyModelTransform() override;
    void DrawBackground() override;
    void DrawScene() override;
    // A new context: the scene font set up, the background image waiting from the settings, and any
    // texture missing.
    void PrepareTextures() override;

    // The memory slots (0..8) as the Edit menu's commands use them; false where nothing changed.
    void PutInMemory(int slot);
    bool RetrieveFromMemory(int slot);
    void SwapWithMemory(int slot);
    void ClearMemory(int slot);
    bool AddFromMemory(int slot);
    // The M and Shift+M questions.
    void AskPutInMemory();
    void AskRetrieveFromMemory();
    // The program-wide camera memories 0..4 of View > Camera.
    static bool IsCameraStored(int index);
    void StoreCamera(int index);
    void UseCamera(int index);
    void UseDefaultCamera();

private:
    void BindExportCommands();
    void BindMemoryCommands();
    void BindViewMenuCommands();
    void BindDisplayCommands();
    void StopRotatingThrows();
    // An augmentation preview in this view that adds the slot's model stops.
    void CancelPreviewOfSlot(int slot);
    // The model as this view shows it, kept where it is when it comes back; null when it cannot be made.
    std::unique_ptr<SimplePoly> CopyForSlot(int slot);
    // Stores the copy and says so on the pane.
    void StoreInSlot(int slot, std::unique_ptr<SimplePoly> copy);
    // The rules for the view that has just become active, and for the view switched while active.
    void ApplyActiveViewRules();
    // The current record in the view's type; the material and polygon offset it needs.
    void OnGLDraw();
    // The marks around a 3D model: the midsphere, the symmetry elements, vertices and edges.
    void DrawModelMarks(Poly& poly);
    void DrawVertsAndEdges(Poly& poly);
    // The cross-section outline in a model view that shows it.
    void DrawSectionPlane(Poly& poly);
    // The texts at the top for the newest model.
    void DrawSceneTexts();
    void DrawVertexSpheres(Poly& poly, bool dual);
    void DrawEdgeCylinders(Poly& poly, bool dual);
    void FitView(int mode);
    // The tight fit: false when the pane shows nothing it can collect points from.
    bool FitTight();
    // Feeds the points the pane shows into the fit record; false when there were none.
    bool CollectFitPoints(FitBounds& record) const;

    int mViewType = -1;
    int mPendingFit = 0;
    int mProjection4D = 2;
    Mat4 mRotation4D;
    double mExplosion = 1.0;
    int mBlendDepth = 0;

    // ---- Mouse: modes, action codes and the pane's own throws (PolyViewMouse.cpp) ----
public:
    // Selection > Mouse Selection Mode: the one way the mode changes.
    static void SetMouseMode(int mode);
    // The help text of the current mode; with show it becomes the active pane's message (mode 0
    // clears it).
    static std::string ModeHelpText(bool show);
    // The throws that the type switch stops: those of the old type that no other pane needs.
    void StopThrowsOnTypeChange(int oldType, int newType);
    // The action code of the buttons and keys held now.
    int GetMouseAction() const;
    // The action code of the keys held now with the given buttons.
    int GetMouseActionFor(int buttons) const;
    const wxCursor* GetModeCursor() override;
    void GetMouseHints(std::string& left, std::string& right, std::string& both) override;
    // At button up: releases the throw of the drag.
    void EndMouseDrag();

    ExplodeThrow& GetExplodeThrow() { return mExplodeThrow; }
    SliceRotateThrow& GetSliceRotateThrow() { return mSliceRotateThrow; }
    SliceRotate4DThrow& GetSliceRotate4DThrow() { return mSliceRotate4DThrow; }
    SliceTwist4DThrow& GetSliceTwist4DThrow() { return mSliceTwist4DThrow; }
    Rotate4DThrow& GetRotate4DThrow() { return mRotate4DThrow; }
    Tunnel4DThrow& GetTunnel4DThrow() { return mTunnel4DThrow; }
    RotateThrough4DThrow& GetRotateThrough4DThrow() { return mRotateThrough4DThrow; }

protected:
    void OnMouseButtonDown(int button, int flags, int x, int y) override;
    void OnMouseButtonUp(int button, int flags, int x, int y) override;
    void OnMouseDoubleClick(int button, int flags, int x, int y) override;
    void OnMouseMove(int flags, int x, int y) override;

private:
    // False for code 0: the camera navigation takes the press.
    bool OnMouseDown(int x, int y);
    void DragAction(int code, int x, int y, float dx, float dy);

    ExplodeThrow mExplodeThrow{this};
    SliceRotateThrow mSliceRotateThrow{this};
    SliceRotate4DThrow mSliceRotate4DThrow{this};
    SliceTwist4DThrow mSliceTwist4DThrow{this};
    Rotate4DThrow mRotate4DThrow{this};
    Tunnel4DThrow mTunnel4DThrow{this};
    RotateThrough4DThrow mRotateThrough4DThrow{this};
    double mRememberedExplosion = 1.0;  // what Unexplode gives back

    // ---- Picking and selection (PolyViewPicking.cpp) ----
public:
    // The item under the client point that the request may pick: its kind, or -1 for nothing.
    // The scene is drawn for picking again with the faces hit so far hidden, until a pass finds
    // nothing new, so the hits of every layer under the point are in the result. With a result the
    // item is handed back; without one the pane does what a click on it does (selects it).
    int PickAt(const PickRequest& request, PickResult* result);
    // Names what lies under the point on the status bar ("Selected ..."); returns the text.
    std::string IdentifyAt(int x, int y);
    // The faces of the type of the face under the point (single: that face alone) take the colours
    // and image of the selected face, or are hidden with it, as one undo step; false when nothing
    // changed.
    bool PaintLikeSelected(int x, int y, bool single);
    // Painting again at the last mouse point while the left button holds it in the active pane.
    static void RepeatPaintingAtIdle();
    // The drag that sizes the faces at infinity of an infinite dual (on the pane's message line
    // when the dual is finite).
    void SizeInfiniteFaces(float dx, float dy);
    // Cut/Uncut Edges: cuts or joins the edge under the point (with wholeClass every edge of its
    // class) and makes the nets again; false when no edge of the nets is there.
    bool CutEdgeAt(int x, int y, bool wholeClass);
    // A click on a link of a text: a "shape:" link opens that library model, a model file opens as
    // one, anything else goes to the desktop.
    void FollowTextLink(int index);

private:
    void ApplyPickDefault(int request, const PickResult& picked);
    // A 4D hit's default: its element is selected (a whole face selects one of its cells).
    void Select4DHit(int request, const PickResult& picked);
    // The picking presses of a 4D model: 3 vertex or edge, 55 edge, 64 face, 65 edge.
    void Pick4DPress(int code, int x, int y);
    // The actions of the press that pick.
    bool PickingPress(int code, int x, int y);
    // Makes what the pane shows the base model, as one undo step; true when the model changed.
    bool ConvertViewToBaseModel(int flags);
    void BindSelectionCommands();

    // ---- The 4D projection (PolyView4D.cpp) ----
public:
    // The polytope the pane shows: the model's, or its dual where the pane shows the dual side;
    // null for a 3D model.
    Polytope4D* GetViewPolytope4D() const;
    // Orthogonal by its own choice, or by following a 3D projection that is orthogonal.
    bool IsOrthogonal4D() const;
    // The projection as the 4D drawing reads it.
    View4D MakeView4D() const;
    const View4D* GetView4D() const override;
    double Project4DPoint(Vec3D& out, const Vec4D& p, double a, const Polytope4D* polytope) const;
    bool IsCellShown4D(const Cell4D* cell, bool edgeOnAnswer) const;
    // Looks along the unit direction; locked panes and a cross-section that follows come along.
    void Set4DDirection(const Vec4D& direction);
    // The pane a projection-direction command turns.
    CPolyView* GetProjectionTarget();
    // Every pane looks along the polytope's automatic direction.
    static void SetAutoProjectionDirection(Polytope4D* polytope);
    // 4D > Create 4D Prism on Current Polyhedron, as one undo step; false when nothing was made.
    bool Create4DPrismOfModel();
    // The uniform polychoron with the current polyhedron as its vertex figure becomes the model.
    bool CreatePolychoronOfModel();
    static void InstallHooks4D();
    // Ctrl+drag in 4D Tumble Mode: the picked cell (62) or vertex (63), else the current one, is
    // the direction the pane turns through.
    void StartTurnThrough4D(int code, int x, int y);
    // Space+right-drag: the field of view of the 4D projection.
    void DragFieldOfView4D(float dx, float dy);

private:
    void Bind4DCommands();
    void Stop4DThrows();
    // The overlays of the selected cell, face, edge and vertex.
    void Draw4DSelection(Poly& poly);
    // Vertices and edges as spheres and rods, sized by their perspective.
    void Draw4DSpheresAndCylinders(Poly& poly);
    mutable View4D mView4D;

    // ---- The flat diagrams (PolyViewDiagrams.cpp) ----
public:
    // The Face, Face of Stellation, Stellation Diagram and Cell Diagram types.
    static bool DrawsDiagram(int type);
    // The selected face of the shown side's stellation once it is built to needed, when its type
    // has a stellation diagram; null otherwise.
    FaceVert* GetDiagramFace(int needed) const;
    // The flat extent of the pane's diagram (y up), with a margin; false while there is none yet.
    bool GetDiagramExtent(double& left, double& bottom, double& right, double& top) const;
    // The caption the last drawing of a face diagram made ("Face type ..."); empty for none.
    const std::string& GetDiagramCaption() const { return mDiagramCaption; }
    // A click on a cell: request 6 (kPickCellLayer) takes out every layer from the cell's up when it
    // is in, else puts in every layer up to it; request 5 includes it with its support or excludes
    // it with what rests on it; any other request toggles the cell. One undo step, and the status
    // bar names the cell and its layer.
    void ToggleCell(StellationCell* cell, int request);
    // A click on a facet of a diagram: the cell above it (request 4) or below it, as above.
    void ToggleFacetCell(int facetIndex, int request);

private:
    bool FitDiagram();
    void DrawDiagramView();
    void DrawFaceView();
    void DrawStellationFaceView();
    void DrawStellationDiagramView();
    void DrawCellDiagram();
    // The caption of the face views.
    void DrawFaceDiagram(FaceVert* face);
    std::string mDiagramCaption;

    // ---- Stellation menu (PolyViewStellation.cpp) ----
public:
    // The shown stellation, built when needed, includes exactly its cells on axes of the class (or
    // its unsupportable cells), as one undo step.
    void SelectCellsAboveAxis(int axisClass);
    void SelectUnsupportableCells();

private:
    void BindStellationCommands();

    // ---- Color menu (PolyViewColors.cpp) ----
public:
    // The pane shows one side of the model: base only, dual only, or the side the document shows.
    bool ShowsOneSide() const;
    // Color as a Compound colours the model's own parts; stellations, nets and 4D models have
    // parts of their own meshes, which it does not colour yet.
    bool CanColorAsCompound() const;

private:
    void BindColorCommands();
    // Default Vertex Color..., Default Edge Color...: the chooser, then the hint when the change
    // cannot be seen in the panes.
    void ChooseDefaultVertexColor();
    void ChooseDefaultEdgeColor();
    void SetEdgeColoring(int mode);
    // The polytope's cells (and its dual's) coloured by where they lie along this pane's 4D
    // viewing direction, as one undo step.
    void ColorAlongProjectionAxis();
    // One stepping command on the stellation the pane shows, as one undo step.
    void StepStellation(int command);
    void FillInaccessibleCells();

    // ---- Nets (PolyViewNets.cpp) ----
public:
    // Nets > Next Net and Previous Net: the first net of the next (previous) net type of the mesh
    // the pane shows, wrapping round; the net panes are redrawn. False when the mesh has no nets.
    bool StepNet(bool forward);
    // The Unfolded Net pane: the current net flat; the Folding Net pane: the nets shown, folding.
    void DrawUnfoldedNet();
    void DrawFoldingNet();
    // "Net type %d of %d.  Need %d %s of this net." of the pane's side, or "No nets.".
    const std::string& GetNetInfoLine() const;
    // An Unfolded Net pane in the kit style whose mesh the kit can build, on a side with images.
    bool IsGeomagNetView() const;

private:
    void BindNetCommands();
    mutable std::string mNetInfoLine;  // the Unfolded Net pane's line about its current net
};

// "Select All Cells Above" and the axis text of the class in the model's group.
std::string GetCellsAboveAxisMenuText(const Poly* poly, int axisClass);
// The pane shows one side of a model with a symmetry group, which for class 2 has three axis
// classes.
bool CanSelectCellsAboveAxis(const CPolyView& view, int axisClass);

// The view type a View menu command chooses; kViewTypeNone for another command.
int ViewTypeOfCommand(int command);
// The menu text of an axis class of the current model's group: "Look Down 5-fold Axis".
std::string GetAxisMenuText(const char* name, int axisClass);

// The first step of every 3D export: the export options for the format (CPolyView::kExportVrml
// ...), given whether the pane shows a stellation; false when the user cancelled. The main window
// installs its dialog; without one (null) the options stay as they are. Answers the one it replaced.
using ExportOptionsAsker = bool (*)(wxWindow* parent, int format, bool stellation);
ExportOptionsAsker SetExportOptionsAsker(ExportOptionsAsker asker);
// The Exporting Image/Video dialog of File > Export Image/Video...: false on Cancel. The main window
// installs its dialog; without one the fields as loaded are exported. Answers the one it replaced.
using ExportImageAsker = bool (*)(CPolyView& view, ImageExportFields& fields, ImageExportRenderer& renderer);
ExportImageAsker SetExportImageAsker(ExportImageAsker asker);

// The type's name, or "Unknown view type" after an internal error for a code that is no type.
const char* GetViewTypeName(int code);

// What decides whether a 3D view keeps the coplanar stencil for one drawing of a model.
struct StencilDrawState
{
    bool useStencil = false;  // "UseStencil"
    bool picking = false;
    bool model4D = false;
    bool autoStencil = false;  // "AutoStencil"
    bool printing = false;
    int diagnosticMode = 0;
    int viewType = -1;
    double cellShrink4D = 1.0;
    double netShrink4D = 1.0;
};
// Off while picking, and for a 4D model drawn with the automatic method whose faces cannot
// coincide (cells or net cells not shrunk), unless printing or diagnosing.
bool KeepsStencilForDraw(const StencilDrawState& state);

// The polygon-offset units of a 3D view at the camera distance: 8000 at 1.2, 200 at 4.5 and 6 at 75,
// straight in log-log between; 10 for an orthogonal camera; raised to the depth factor (1 for a
// 24-bit depth buffer), never below 1.
float PolygonOffsetUnitsAt(double distance, bool orthogonal, double depthFactor);

// Over every view of the list.
CPolyView* FindViewOfType(int a, int b);
void InvalidateViewsOfType(int mask, bool keepMessage);
// The Cross-Section views, and the model views that show the section with them.
void InvalidateCrossSectionViews(bool keepMessage);
void RequestFitAllViews(int mode);
void RequestFitViewsOfType(int mask);
void UpdateAllViewTitles();
void UpdateAllViewButtons();
// With the kit style on and a 3D model, every view tells whether the kit builds what it shows.
void UpdateGeomagAvailability();
// The current model went from 3D to 4D or back: the mouse modes that need a 3D model end, and the
// views whose flat type shows a 4D model in 3D switch their depth testing and drawing.
void ModelDimensionChanged(bool entering4D);
// The names of the model and of its dual as the view (null: the active view) shows them, without
// symbol and numbers; false when it is no model view.
bool ViewModelNames(NewView* view, std::string& name, std::string& dualName);
// At shut-down: the background image goes.
void CloseViewModule();

// The view shows the cross-section in its model: by the section display mode, when it shows the
// side the document shows.
bool ShowsSectionInModel(const CPolyView* view);
// A view of the type needs the section depth to move: the Cross-Section, and the model views that
// show the section.
bool NeedsSectionThrow(const CPolyView* view, int type);
// The view reacts to the section depth under the mouse mode (ignoreMode: whatever the mode).
bool IsSectionTarget(const CPolyView* view, bool ignoreMode);

// The view messages of the type switch.
inline constexpr const char* kMorphGestureMessage =
    "Ctrl+Left-drag --- Morph between model and dual\nCtrl+Right-click --- Morph to half-way point";
inline constexpr const char* kFoldGestureMessage =
    "Ctrl+Left-drag --- Fold/unfold model\nCtrl+Right-click --- Unfold half-way";

// While one exists, RequestFit does nothing.
class FitSuspendScope
{
public:
    FitSuspendScope();
    ~FitSuspendScope();
    FitSuspendScope(const FitSuspendScope&) = delete;
    FitSuspendScope& operator=(const FitSuspendScope&) = delete;
    static bool Active();
};

// The transition motion: while a model is being replaced, the view asks this hook to move the
// record's model in the GL matrix before it is drawn. Null (none set) moves nothing.
using TransitionMotionHook = void (*)(CPolyView& view, Poly& poly, double viewRadius);
void SetTransitionMotionHook(TransitionMotionHook hook);
