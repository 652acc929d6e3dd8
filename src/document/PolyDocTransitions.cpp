#include "document/DocumentSettings.h"
#include "document/ModelViewState.h"
#include "document/PolyDoc.h"
#include "kernel/ProgramClock.h"
#include "render/NewView.h"

namespace
{
// A transition this short would show nothing but a flicker.
constexpr double kShortestTransition = 0.01;

bool IsImplodeType(int type)
{
    return type == TransitionSettings::kTypeShrinkImplode || type == TransitionSettings::kTypeExplodeImplode;
}

// The settings with every default resolved, so that a record's running settings never depend on
// later changes of the occasions.
TransitionSettings Resolved(const TransitionSettings& settings)
{
    TransitionSettings s;
    MergeTransitionDefaults(s, settings);
    return s;
}

void StartLeaving(Poly& poly, const TransitionSettings& settings, double time, double length)
{
    poly.mTransition = settings;
    poly.mIncoming = false;
    poly.mTransitionEnd = time + length;
    poly.mTransitionProgress = 1.0;
    poly.mScaleStart = poly.mDisplayScale;
    poly.mScaleTarget = 0.0;
}
}  // namespace

Poly* CPolyDoc::AppendIncomingRecord(ModelRecord* old, bool keepPaths)
{
    ModelRecord* fresh = AddModelRecord();
    // Mouse throws stay with the panes: the incoming model takes over their motion.
    SwitchModelRecord(fresh, kNoRestore | (keepPaths ? kNoPaths : 0), nullptr);
    fresh->mPoly.mShowDual = old->mPoly.mShowDual;
    return &fresh->mPoly;
}

Poly* CPolyDoc::PrepareTransition(const TransitionSettings& settings, ModelRecord*& old, bool force)
{
    old = GetCurrentRecord();
    const TransitionSettings s = Resolved(settings);
    if ((!AreTransitionsEnabled() && !force) || s.type == TransitionSettings::kTypeNone ||
        !(s.GetDuration() > kShortestTransition))
        return &old->mPoly;
    return AppendIncomingRecord(old, false);
}

Poly* CPolyDoc::PrepareTransitionOfType(int occasion, ModelRecord*& old)
{
    TransitionSettings s;
    ApplyTransitionDefaults(s, occasion);
    return PrepareTransition(s, old, false);
}

bool CPolyDoc::StartTransition(const TransitionSettings& settings, double time, ModelRecord* old,
                               bool /*restoreThrows*/, bool /*windBack*/)
{
    ModelRecord* current = GetCurrentRecord();
    if (!old || old == current)
        return false;
    TransitionSettings s = Resolved(settings);
    if (s.type == TransitionSettings::kTypeRandom)
    {
        s.type = DrawRandomTransitionType();
        // Models arriving while another transition runs move alike: the newest running one sets
        // the type.
        double latestStart = 0.0;
        for (ModelRecord* r = GetFirstRecord(); r; r = r->next)
        {
            const Poly& p = r->mPoly;
            if (p.InTransition() && p.GetTransitionStart() > latestStart)
            {
                latestStart = p.GetTransitionStart();
                s.type = p.mTransition.type;
            }
        }
    }
    if (GetInverseTransitionDepth() > 0)
        InvertTransitionSettings(s);
    const double length = s.GetDuration();

    for (ModelRecord* r = GetFirstRecord(); r; r = r->next)
    {
        Poly& p = r->mPoly;
        if (!p.InTransition())
            continue;
        if (p.mIncoming)
            p.mQueuedTransition = s;
        if (length < p.GetTransitionLength())
            p.RetimeTransition(time, length);
        if (p.mIncoming && !IsImplodeType(p.mTransition.type))
        {
            // Shrink towards where it will be when it starts leaving, so the two motions join.
            const double left = p.mTransitionEnd - time;
            const double x = p.mDisplayScale;
            p.RetargetScale(time, x * (1.0 - left / (p.GetTransitionLength() + left)));
        }
    }

    if (!old->mPoly.InTransition())
        StartLeaving(old->mPoly, s, time, length);

    Poly& arriving = current->mPoly;
    arriving.mTransition = s;
    arriving.mIncoming = true;
    arriving.mTransitionEnd = time + length;
    arriving.mTransitionProgress = 0.0;
    arriving.mScaleStart = 0.0;
    arriving.mScaleTarget = 1.0;
    arriving.mDisplayScale = 0.0;
    return true;
}

bool CPolyDoc::StartTransitionOfType(int occasion, double time, ModelRecord* old, bool restoreThrows, bool windBack)
{
    TransitionSettings s;
    ApplyTransitionDefaults(s, occasion);
    return StartTransition(s, time, old, restoreThrows, windBack);
}

void CPolyDoc::CancelTransition(ModelRecord* old)
{
    ModelRecord* fresh = GetCurrentRecord();
    if (!old || old == fresh)
        return;
    SwitchModelRecord(old, 0, nullptr);
    DeleteModelRecord(fresh);
}

bool CPolyDoc::AdvanceTransitions(double time)
{
    bool any = false;
    ModelRecord* nextRecord = nullptr;
    for (ModelRecord* r = GetFirstRecord(); r; r = nextRecord)
    {
        nextRecord = r->next;
        Poly& p = r->mPoly;
        if (!p.InTransition())
            continue;
        if (!any)
        {
            any = true;
            NewView::InvalidateAll(false, true);
        }
        const double start = p.GetTransitionStart();
        const double f = (time - start) / (p.mTransitionEnd - start);
        if (!(f >= 0.0 && f < 1.0))
        {
            // Also ends a transition whose clock went back before its start, or of no length.
            const double length = p.GetTransitionLength();
            const bool incoming = p.mIncoming;
            FinishTransition(r);
            if (incoming && p.mQueuedTransition.type != TransitionSettings::kNoChain)
            {
                const TransitionSettings chained = p.mQueuedTransition;
                p.mQueuedTransition.type = TransitionSettings::kNoChain;
                StartLeaving(p, chained, time, length);
            }
            continue;
        }
        p.mTransitionProgress = p.mIncoming ? f : 1.0 - f;
        // The drawing sets the scale from the same path; kept here too so that the state is whole
        // between frames.
        p.mDisplayScale = p.mScaleStart + (p.mScaleTarget - p.mScaleStart) * f;
    }
    return any;
}

void CPolyDoc::FinishTransition(ModelRecord* record)
{
    if (!record)
        return;
    Poly& p = record->mPoly;
    if (p.InTransition())
        NewView::InvalidateAll(false, true);
    p.mTransitionEnd = -1.0;
    if (p.mIncoming)
    {
        p.mTransitionProgress = 1.0;
        p.mDisplayScale = p.mScaleTarget;
        if (IsImplodeType(p.mTransition.type))
        {
            for (ModelViewRecord& block : record->mViews)
                block.mExplosion = 1.0;
            if (record == GetCurrentRecord())
                for (NewView* v = NewView::GetFirstView(); v; v = v->next)
                    if (auto* state = dynamic_cast<ModelViewState*>(v))
                        state->SetExplosion(1.0);
        }
        return;
    }
    if (record == GetCurrentRecord())
    {
        ModelRecord* other = record == GetFirstRecord() ? record->next : GetFirstRecord();
        if (!other)
        {
            // The only model stays, shown whole rather than shrunk away.
            p.mTransitionProgress = 1.0;
            p.mDisplayScale = 1.0;
            return;
        }
        SwitchModelRecord(other, 0, nullptr);
    }
    DeleteModelRecord(record);
}

void CPolyDoc::FinishAllTransitions()
{
    ModelRecord* nextRecord = nullptr;
    for (ModelRecord* r = GetFirstRecord(); r; r = nextRecord)
    {
        nextRecord = r->next;
        if (!r->mPoly.InTransition())
            continue;
        if (r != GetCurrentRecord())
            r->mPoly.mIncoming = false;
        FinishTransition(r);
    }
}

bool CPolyDoc::BuildNewModel(int occasion, const std::function<bool(Poly&)>& build, bool restoreThrows)
{
    ModelRecord* old = GetCurrentRecord();
    Poly* target = nullptr;
    bool animated = false;
    if (occasion >= 0)
    {
        target = PrepareTransitionOfType(occasion, old);
        animated = GetCurrentRecord() != old;
    }
    // Without a transition the model is still built aside, and swapped in only when it succeeds.
    if (!animated)
        target = AppendIncomingRecord(old, true);

    if (!build || !build(*target))
    {
        if (animated)
            CancelTransition(old);
        else
        {
            ModelRecord* fresh = GetCurrentRecord();
            SwitchModelRecord(old, kNoPaths, nullptr);
            DeleteModelRecord(fresh);
        }
        return false;
    }
    if (animated)
        StartTransitionOfType(occasion, GetElapsedSeconds(true), old, restoreThrows, false);
    else
        DeleteModelRecord(old);
    return true;
}

void EnableTransitions(bool on)
{
    GetDocumentSettings().enableTransitions = on;
    if (!on)
        if (CPolyDoc* doc = GetPolyDoc())
            doc->FinishAllTransitions();
}

bool AreTransitionsEnabled()
{
    return GetDocumentSettings().enableTransitions;
}
