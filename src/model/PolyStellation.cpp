#include "model/Poly.h"

#include "kernel/AskQuestion.h"
#include "kernel/Messages.h"
#include "kernel/Progress.h"
#include "kernel/Shell.h"
#include "kernel/WaitCursor.h"
#include "stellation/ModelBuildSuspension.h"
#include "stellation/Stellation.h"

namespace
{
// The user's go-ahead for a complex build. While the question is open no display mesh is built
// and no other build starts.
bool AskToStellate(int complexity)
{
    SetComplexityWarningOpen(true);
    const bool wasSuspended = IsModelBuildSuspended();
    SetModelBuildSuspended(true);
    const int answer = AskQuestion(
        5, "WARNING", {"Proceed anyway", "+Cancel"},
        "<b><font color=red>Warning:</font></b> this model may be too complex to stellate.\n\n"
        "<b><font color=red>Complexity: %s</font></b>\n\n"
        "Stellation is required when you display nets and at\n"
        "various other times, depending on what's currently\n"
        "displayed in the interface.\n\n"
        "Are you sure you want to attempt stellation?\n"
        "A progress meter may appear, giving you another\n"
        "chance to cancel the operation, but your computer\n"
        "may grind to a halt if you let it go too long!",
        Stellation::GetComplexityLevelText(complexity));
    SetModelBuildSuspended(wasSuspended);
    SetComplexityWarningOpen(false);
    return answer == 0;
}

// The building mark for the life of the build, so that an early return cannot leave it set.
class BuildingMark
{
public:
    explicit BuildingMark(Stellation* stellation) : mStellation(stellation) { stellation->mBuilding = true; }
    ~BuildingMark() { mStellation->mBuilding = false; }
    BuildingMark(const BuildingMark&) = delete;
    BuildingMark& operator=(const BuildingMark&) = delete;

private:
    Stellation* mStellation;
};
}  // namespace

void Poly::CreateStellation(Stellation* stellation, int /*level*/)
{
    if (!stellation || stellation->mState > 1 || stellation->mBuilding || stellation->mBuildDeclined)
        return;
    if ((InTransition() && !mIncoming) || !stellation->mFirstFaceType || Stellation::IsComplexityWarningOpen())
        return;
    const int complexity = stellation->GetComplexity();
    if (Stellation::ComplexityNeedsQuestion(complexity) && !AskToStellate(complexity))
    {
        stellation->mBuildDeclined = true;
        GetShell().InfoNeedsUpdate(7);
        return;
    }
    if (stellation->mState != kStellationNotBuilt)
    {
        stellation->Free(false);
        stellation->mBuildDeclined = false;
    }

    TraceGuard trace("CreateStellation");
    ScopedWaitCursor wait;
    bool built = false;
    {
        // Marked before the progress opens: opening it pumps messages already.
        BuildingMark building(stellation);
        stellation->mState = kStellationBuilt;
        ProgressScope progress;
        built = stellation->BuildDiagrams();
        if (built)
        {
            const ProgressRange saved = PushProgressRange(0.8, 1.0);
            built = stellation->CreateCells();
            PopProgressRange(saved);
        }
    }
    // Keeping the face types marks the build declined: it is not tried again by itself.
    if (!built)
        stellation->Free(false);
    GetShell().InfoNeedsUpdate(7);
}
