#pragma once

#include "kernel/Vec3D.h"
#include "model/ModelRecord.h"

#include <cstdint>
#include <vector>

// The saved motion of one moving throw, kept in a model record while that model is not current:
// the throw is found again by its file id.
class MouseThrowState : public SavedMouseThrow
{
public:
    int32_t mFileId = -1;
    double mLastStepTime = 0.0;
    float mVx = 0.0f;
    float mVy = 0.0f;
    Vec3D mAxis{0, 0, 0};
    std::vector<double> mBlock;  // the throw's own values; empty when it saves none
};

// One state per moving throw, newest first; null when nothing moves. The caller owns the list.
SavedMouseThrow* SaveActiveMouseThrows();
// Stops every throw, then starts those of the list that still exist with their saved motion.
void RestoreMouseThrows(const SavedMouseThrow* list);
void DeleteSavedMouseThrows(SavedMouseThrow*& list);

// Keeps the moving throws across work that stops them (an export).
class MouseThrowSnapshot
{
public:
    MouseThrowSnapshot();
    ~MouseThrowSnapshot();
    MouseThrowSnapshot(const MouseThrowSnapshot&) = delete;
    MouseThrowSnapshot& operator=(const MouseThrowSnapshot&) = delete;

    // Restores the saved throws once and forgets them.
    void Restore();

private:
    SavedMouseThrow* mList = nullptr;
};
