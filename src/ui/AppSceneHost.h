#pragma once

#include "library/SceneHost.h"

// The main window's side of the model file: its panes in list order, the pane layout and the
// moving mouse throws. The main frame installs it for its lifetime.
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
};
