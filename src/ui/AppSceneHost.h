#pragma once

#include "library/SceneHost.h"
#include "ui/PaneLayout.h"

// The main window's side of the model file: its panes in list order, the pane layout and the
// moving mouse throws. The main frame installs it for its lifetime. A failed read gets back the
// layout it changed; the document gives the panes back their types and cameras.
class AppSceneHost : public SceneHost
{
public:
    int CountViews() override;
    bool GetViewState(int index, SceneViewState& state) override;
    bool GetActiveStellationTitle(std::string& title) override;
    bool HasLayout() override;
    void StoreLayoutRatios() override;
    bool WriteLayoutSection(ioFile* f, int indent) override;
    bool HasMovingThrows() override;
    void WriteMouseThrows(ioFile* f, int indent) override;

    void BeginSceneRead() override;
    void EndSceneRead(bool succeeded) override;
    bool SetViewType(int index, int code) override;
    void SetViewState(int index, const SceneViewState& state, int parts) override;
    void FitViews(bool fit) override;
    bool ReadLayoutSection(ioFile* f, bool apply) override;
    bool ReadMouseThrows(ioFile* f, bool apply) override;
    std::string GetCommandMenuText(int command) override;

private:
    int mReadDepth = 0;
    int mLayoutBeforeRead = -1;
    PaneLayout mLayoutsBeforeRead[kNumPaneLayouts];
};
