#pragma once

#include "kernel/LinkNode.h"
#include "kernel/Mat4.h"
#include "kernel/SceneParameters.h"
#include "model/PolyTemplate.h"
#include "render/ViewSnapshot.h"

#include <string>

// What a model record keeps of one pane (by position in the list of views).
struct ModelViewBlock
{
    int viewType = -1;  // -1: nothing saved
    ViewSnapshot snapshot;
    double explosion = 1.0;
    int projection4D = -1;
    Mat4 rotation4D;
};

inline constexpr int kModelViewBlocks = 6;

// One model held by the document, with the display state that belongs to it: the state of each pane,
// the scene values the mouse moves, and the path texts that were current when it was left. The
// document's list holds one record, and during a transition the outgoing ones before the newest.
class ModelRecord : public LinkNode<ModelRecord>
{
public:
    // Appended to the list whose ends are given.
    ModelRecord(ModelRecord*& first, ModelRecord*& last);

    PolyTemplate mTemplate;
    std::string mPathName;
    std::string mOwnFilePath;
    ModelViewBlock mViews[kModelViewBlocks];
    SceneParameters mScene;
};
