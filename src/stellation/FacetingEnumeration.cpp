#include "kernel/Messages.h"
#include "kernel/Polygon3D.h"
#include "kernel/Progress.h"
#include "kernel/RingVert.h"
#include "kernel/Shell.h"
#include "kernel/UndoKinds.h"
#include "model/FaceVert.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/StellationOptions.h"
#include "model/SymGroup.h"
#include "stellation/Faceting.h"
#include "stellation/FacetingEdge.h"
#include "stellation/FacetingFace.h"
#include "stellation/FacetingSettings.h"
#include "stellation/FacetPlane.h"
#include "stellation/FacetPlaneVert.h"
#include "stellation/Stellation.h"

#include <cstdio>
#include <string>
#include <vector>

namespace
{
constexpr int kReportEvery = 10000;
constexpr int kCountTextSize = 128;

std::string CountText(const BigUInt& count)
{
    char text[kCountTextSize];
    return count.ToText(text, kCountTextSize);
}

std::string Cut(const std::string& text, size_t length)
{
    return text.size() > length ? text.substr(0, length) : text;
}

void TraceFound(const Faceting& f)
{
    std::string text = f.mNumUnmatchedChirals > 0 ? "\nFound Chiral:" : "\nFound Reflex:";
    for (const FacetingFace* face = f.mFirstFacet; face; face = face->mNextFacet)
        text += std::string(" ") + FacetingFace::GetLabel(face) + ",";
    char tail[64];
    std::snprintf(tail, sizeof(tail), " (united %d%s)\n", f.mUnitingFace, f.mIsChiralCompound ? ", chiralCombo" : "");
    text += tail;
    if (f.mNumUnmatchedChirals > 0)
    {
        text += " Mirror:";
        for (const FacetingFace* face = f.mFirstFacet; face; face = face->mNextFacet)
            text += std::string(" ") + FacetingFace::GetLabel(face->mMirror) + ",";
        text += "\n";
    }
    text += " " + f.DumpState() + "\n";
    DebugTrace("%s", text.c_str());
}

// Both sides of the current model.
template <typename Action>
void ForBothSides(Action action)
{
    Poly* poly = GetCurrentPoly();
    if (!poly)
        return;
    action(poly->GetFaceStellation()->mFaceting);
    action(poly->GetVertStellation()->mFaceting);
}
}  // namespace

std::string Faceting::ListCurrentFacets(size_t length) const
{
    std::string text;
    for (const FacetingFace* f = mFirstFacet; f; f = f->mNextFacet)
    {
        const bool chiral = f->mMirror && f->mMirror != f;
        const std::string piece = std::string(" ") + FacetingFace::GetLabel(f) + (chiral ? "'" : "") + ",";
        if (length < 4 || text.size() + piece.size() > length - 4)
        {
            text += "...";
            break;
        }
        text += piece;
    }
    return text;
}

std::string Faceting::DumpState() const
{
    char line[256];
    std::snprintf(line, sizeof(line), "UnitingFace %d, isChiralCompound %d, %d facets, %d unmatched chirals, %d used verts:\n",
                  mUnitingFace, mIsChiralCompound ? 1 : 0, mNumFacets, mNumUnmatchedChirals, mNumVertexTypesUsed);
    std::string text = line;
    int depth = 1;
    for (const FacetingFace* f = mFirstFacet; f; f = f->mNextFacet, ++depth)
    {
        const FacetingEdge* edge = size_t(depth) < mStack.size() ? mStack[size_t(depth)].mEdge : nullptr;
        std::snprintf(line, sizeof(line), " e%d,f%s (depth %d%s)\n", edge ? edge->mIndex : -1,
                      FacetingFace::GetLabel(f), f->mDepth, (f->mFlags & kFacetingFaceUnreached) ? ", unreached" : "");
        text += line;
    }
    text += "  Used faces:" + ListCurrentFacets(4096);
    text += "\n  Done face depths:";
    for (const FacetingFace* f = GetFirstFace(); f; f = f->GetNext())
    {
        if (f->mDepth == -1)
            continue;
        std::snprintf(line, sizeof(line), " %s (%d),", FacetingFace::GetLabel(f), f->mDepth);
        text += line;
    }
    return text;
}

void Faceting::ShowCurrent()
{
    std::vector<FacetingFace*> facets;
    for (FacetingFace* f = mFirstFacet; f; f = f->mNextFacet)
        facets.push_back(f);
    ShowFacets(facets);
}

void Faceting::ShowFacets(const std::vector<FacetingFace*>& facets)
{
    if (GetFacetingSettings().stepMode != kFacetingStepFacetings || !mPoly)
        return;
    mPoly->ClearDrawnPolygons(false);
    for (const FacetingFace* f : facets)
    {
        Polygon3D* polygon = mPoly->mCurrentDrawnPolygon;
        if (!polygon)
            break;
        for (const FacetPlaneVert* v : f->mVerts)
            AddRingVert(0.0, 0.0, nullptr, &v->mVert->mPoint, polygon->mRing);
        polygon->Prepare();
        mPoly->CloseDrawnPolygon(false, false);
    }
    GetShell().InvalidateAllViews(false, 0);
}

bool EnumerateFacetings(Faceting* faceting)
{
    if (!faceting)
        return false;
    TraceScope trace("Enumerate facetings");
    if (!faceting->mFirstPlane && !faceting->CreateForCurrentModel())
        return false;
    if (faceting->mTotalCount.IsZero())
        faceting->Reset(false, false);
    ProgressScope progress(faceting->mTime);
    GetShell().AddUndo(kUndoFacetingChange, false);

    bool cancelled = false;
    int sinceReport = 0;
    // A run to the end leaves the search reset: the last faceting found is kept to be shown.
    std::vector<FacetingFace*> last;
    for (;;)
    {
        if (!faceting->FindNext())
        {
            cancelled = faceting->mCancelled;
            break;
        }
        last.clear();
        for (FacetingFace* f = faceting->mFirstFacet; f; f = f->mNextFacet)
            last.push_back(f);
        if (faceting->mIsChiralCompound)
            faceting->mCompoundCount.AddWord(1);
        else if (faceting->mNumUnmatchedChirals > 0)
            faceting->mChiralCount.AddWord(1);
        faceting->mTotalCount.AddWord(1);
        TraceFound(*faceting);
        if (++sinceReport == kReportEvery)
        {
            sinceReport = 0;
            const FacetingFace* first = faceting->mFirstFacet;
            const double fraction =
                first && faceting->mNumFaces > 0 ? double(first->GetGlobalIndex()) / double(faceting->mNumFaces) : 0.0;
            const std::string found = Cut(CountText(faceting->mTotalCount), 128);
            const std::string facets = Cut(faceting->ListCurrentFacets(128), 128);
            if (!ShowProgress(fraction, "Enumerating facetings.  Found %s so far.\nCurrent facet%s", found.c_str(),
                              facets.c_str()))
            {
                cancelled = true;
                break;
            }
        }
    }
    faceting->mTime = GetProgressElapsed();
    if (!cancelled && faceting->mNumUnmatchedChirals != 0)
        DebugTrace("mNumUnmatchedChirals %d should be 0", faceting->mNumUnmatchedChirals);
    if (cancelled)
        faceting->ShowCurrent();
    else
        faceting->ShowFacets(last);
    return !cancelled;
}

std::string FacetingEnumerationReport(const Faceting& faceting, bool completed)
{
    const std::string prefix = completed ? "" : "WARNING!  Enumeration was not completed.\n\n";
    const std::string found = CountText(faceting.mTotalCount);
    const std::string took = faceting.mTime.Format();
    const SymGroup* group = faceting.GetGroup();
    char text[1024];
    // A chiral group has no mirror images: every faceting would count as reflexible.
    if (!group || group->mKind == SymGroup::kNoSymmetry || group->mReflection == SymGroup::kChiral)
        std::snprintf(text, sizeof(text), "%sFound %s facetings\nTook %s.", prefix.c_str(), found.c_str(), took.c_str());
    else if (IsReflexibilityMaintained())
        std::snprintf(text, sizeof(text), "%sFound %s reflexible facetings.\nTook %s.", prefix.c_str(), found.c_str(),
                      took.c_str());
    else
    {
        // The search counts the chiral facetings; the rest are reflexible.
        BigUInt reflexible = faceting.mTotalCount;
        reflexible -= faceting.mChiralCount;
        std::snprintf(text, sizeof(text),
                      "%sFound %s facetings: %s reflexible, %s chiral.\nReflexible count includes %s compounds of "
                      "chiral pairs.\nTook %s.",
                      prefix.c_str(), found.c_str(), CountText(reflexible).c_str(),
                      CountText(faceting.mChiralCount).c_str(), CountText(faceting.mCompoundCount).c_str(), took.c_str());
    }
    return text;
}

bool RunFacetingEnumeration(Faceting* faceting)
{
    if (!faceting)
        return false;
    const bool completed = EnumerateFacetings(faceting);
    // A model without symmetry has nothing to facet: the plain report says so with its zero.
    const bool noSymmetry = !faceting->GetGroup();
    if (!faceting->mFirstPlane && !noSymmetry)
        return false;
    InfoMessage("%s", FacetingEnumerationReport(*faceting, completed || noSymmetry).c_str());
    if (completed)
    {
        faceting->mTotalCount = BigUInt();
        faceting->mChiralCount = BigUInt();
        faceting->mCompoundCount = BigUInt();
        faceting->mTime = Duration();
    }
    return completed;
}

void SetFacetingCriteria(int criterion)
{
    FacetingSettings& s = GetFacetingSettings();
    if (s.criterion == criterion)
        return;
    s.criterion = criterion;
    // The candidate planes depend on the criterion.
    ForBothSides([](Faceting& f) { f.Clear(); });
}

void SetFacetingOptions(int options, bool noReset)
{
    FacetingSettings& s = GetFacetingSettings();
    if (s.options == options)
        return;
    s.options = options;
    if (!noReset)
        ResetAllFacetings();
}

void ToggleFacetingOption(int bit)
{
    SetFacetingOptions(GetFacetingSettings().options ^ bit, false);
}

void ResetAllFacetings()
{
    ForBothSides([](Faceting& f) { f.Reset(false, false); });
}

Faceting* GetCurrentFacetingCleared()
{
    Faceting* f = GetCurrentFaceting();
    if (f)
    {
        f->mCurrentEdge = nullptr;
        f->mCurrentFace = nullptr;
    }
    return f;
}
