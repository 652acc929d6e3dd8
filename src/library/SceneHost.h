#pragma once

#include "kernel/Mat4.h"
#include "kernel/Vec3D.h"

#include <string>

struct ioFile;

// One pane as a model file keeps it: its view type, and either its 3D camera or its 2D zoom and
// scroll state.
struct SceneViewState
{
    int viewType = -1;  // kernel/ViewTypes.h
    bool is3D = true;

    // 3D: the camera position and its three axes (right, up, backward).
    Vec3D cameraPos{0, 0, 2};
    Vec3D xAxis{1, 0, 0};
    Vec3D yAxis{0, 1, 0};
    Vec3D zAxis{0, 0, 1};
    double fovY = 25.0;  // degrees
    double explosionScale = 1.0;
    int projection4D = 2;  // 0 perspective, 1 orthogonal, 2 as the 3D projection
    Mat4 rotation4D;

    // 2D.
    float zoom2D = 1.0f;  // the 2D zoom factor
    float zoomX = 1.0f;   // pixels per model unit along each axis
    float zoomY = 1.0f;
    float twist2D = 0.0f;  // degrees
    float canvas[4] = {0.0f, 0.0f, 1.0f, 1.0f};  // the scroll area: left, top, right, bottom
    float scrollX = 0.0f;  // pixels
    float scrollY = 0.0f;
    int clientWidth = 0;  // pixels
    int clientHeight = 0;
};

// The parts of a pane's state that SceneHost::SetViewState sets, as a mask.
inline constexpr int kSceneViewCamera = 0x1;        // the position and the three axes; no fit is then pending
inline constexpr int kSceneViewFov = 0x2;
inline constexpr int kSceneViewExplosion = 0x4;
inline constexpr int kSceneViewProjection4D = 0x8;
inline constexpr int kSceneViewRotation4D = 0x10;
inline constexpr int kSceneViewZoom2D = 0x20;
inline constexpr int kSceneViewTwist2D = 0x40;     // only where the pane may turn; no fit is then pending
inline constexpr int kSceneViewCanvas = 0x80;
inline constexpr int kSceneViewScroll = 0x100;     // scrollX and scrollY

// What the scene file needs of the program's window: its panes in the order of the list of views,
// the title of what the active pane shows, the pane layout and the moving mouse throws. The GUI
// installs its implementation while the main window lives; without one there are no panes, no layout
// and no throws, so the core writes and reads model files alone (in tests and fuzzing too): their
// sections are then read and dropped.
class SceneHost
{
public:
    virtual ~SceneHost() = default;

    virtual int CountViews() { return 0; }
    // False for an index outside the list.
    virtual bool GetViewState(int /*index*/, SceneViewState& /*state*/) { return false; }
    // The title of the stellation the active pane shows; false without an active pane.
    virtual bool GetActiveStellationTitle(std::string& /*title*/) { return false; }

    // Whether there is a layout to write; the writer then stores the panes' sizes into the current
    // layout and writes the section after its token.
    virtual bool HasLayout() { return false; }
    virtual void StoreLayoutRatios() {}
    virtual bool WriteLayoutSection(ioFile* /*f*/, int /*indent*/) { return true; }

    // The moving throws, after their token.
    virtual bool HasMovingThrows() { return false; }
    virtual void WriteMouseThrows(ioFile* /*f*/, int /*indent*/) {}

    // Reading. A failed read gives back what it changed: the host keeps what it needs between
    // BeginSceneRead and EndSceneRead.
    virtual void BeginSceneRead() {}
    virtual void EndSceneRead(bool /*succeeded*/) {}
    // The pane at the index shows the view type, its camera reset; false when there is no such pane
    // or it cannot show the type.
    virtual bool SetViewType(int /*index*/, int /*code*/) { return false; }
    // The parts of the state named by the mask (kSceneView...) go into the pane.
    virtual void SetViewState(int /*index*/, const SceneViewState& /*state*/, int /*parts*/) {}
    // After a read: every pane fits the model before its next frame, or (fit false) no pane has a
    // fit pending, its camera being the file's.
    virtual void FitViews(bool /*fit*/) {}
    // The section after its token, read in any case and applied when asked; false after an error,
    // reported through the stream.
    virtual bool ReadLayoutSection(ioFile* f, bool apply);
    virtual bool ReadMouseThrows(ioFile* f, bool apply);
    // Where a command of the given number lives in the menus ("Display->Show/Hide All Faces");
    // empty when it is in none.
    virtual std::string GetCommandMenuText(int /*command*/) { return std::string(); }
};

SceneHost& GetSceneHost();
// Installs the host (null: the empty default again); returns the previous one.
SceneHost* SetSceneHost(SceneHost* host);
