#include "model/MouseThrowState.h"

#include "kernel/MouseThrow.h"

SavedMouseThrow* SaveActiveMouseThrows()
{
    SavedMouseThrow* first = nullptr;
    SavedMouseThrow** tail = &first;
    for (MouseThrow* t = GetFirstMovingThrow(); t; t = t->mNextMoving)
    {
        auto* state = new MouseThrowState;
        state->mFileId = t->GetFileId();
        state->mLastStepTime = t->GetLastStepTime();
        state->mVx = t->GetVelocityX();
        state->mVy = t->GetVelocityY();
        state->mAxis = t->GetAxis();
        t->SaveState(*state);
        *tail = state;
        tail = &state->mNext;
    }
    return first;
}

void RestoreMouseThrows(const SavedMouseThrow* list)
{
    StopAllMouseThrows();
    for (const SavedMouseThrow* s = list; s; s = s->mNext)
    {
        const auto* state = dynamic_cast<const MouseThrowState*>(s);
        MouseThrow* t = state ? FindMouseThrow(state->mFileId) : nullptr;
        if (!t)
            continue;
        t->Start(state->mVx, state->mVy);
        t->SetAxis(state->mAxis);
        // The motion goes on from where it was, unless the caller sets the times afresh.
        t->SetLastStepTime(state->mLastStepTime);
        t->RestoreState(*state);
    }
}

void DeleteSavedMouseThrows(SavedMouseThrow*& list)
{
    while (list)
    {
        SavedMouseThrow* next = list->mNext;
        delete list;
        list = next;
    }
}

MouseThrowSnapshot::MouseThrowSnapshot() : mList(SaveActiveMouseThrows()) {}

MouseThrowSnapshot::~MouseThrowSnapshot()
{
    DeleteSavedMouseThrows(mList);
}

void MouseThrowSnapshot::Restore()
{
    RestoreMouseThrows(mList);
    DeleteSavedMouseThrows(mList);
}
