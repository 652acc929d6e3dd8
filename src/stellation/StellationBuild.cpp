#include "stellation/Stellation.h"

#include "kernel/Progress.h"
#include "model/Poly.h"
#include "model/SymGroup.h"
#include "stellation/DiagramFacets.h"
#include "stellation/DiagramLinks.h"
#include "stellation/FaceType.h"
#include "stellation/FaceTypePreparation.h"
#include "stellation/StellationLine.h"

#include <algorithm>
#include <cstdint>

namespace
{
// Narrows the caller's progress range for its lifetime.
class RangeScope
{
public:
    RangeScope(double a, double b) : mSaved(PushProgressRange(a, b)) {}
    ~RangeScope() { PopProgressRange(mSaved); }
    RangeScope(const RangeScope&) = delete;
    RangeScope& operator=(const RangeScope&) = delete;

private:
    ProgressRange mSaved;
};
bool gComplexityWarningOpen = false;
}  // namespace

bool Stellation::IsComplexityWarningOpen()
{
    return gComplexityWarningOpen;
}

void SetComplexityWarningOpen(bool open)
{
    gComplexityWarningOpen = open;
}

const char* Stellation::GetComplexityLevelText(int complexity)
{
    if (complexity < kComplexityHigh)
        return "FAIR (probably safe, but may take a minute)";
    if (complexity < kComplexityExtreme)
        return "HIGH (need fast computer with lots of memory)";
    return "EXTREME (pressing Cancel is recommended!)";
}

int Stellation::GetComplexity() const
{
    const SymGroup* group = mPoly ? mPoly->mGroup.get() : nullptr;
    const int g = group ? group->mOrder : 1;
    int64_t b = 0, c = 0;
    for (const FaceType* type = mFirstFaceType; type; type = type->mNextFaceType)
        if (!type->mCoplanarSource)
        {
            ++b;
            c += g / std::max(type->mNumRotations, 1);
        }
    c -= 2;
    if ((double(c) * double(c) * 0.5 + 1.0) * double(b) > double(kComplexityExtreme))
        return kComplexityExtreme + 1;
    return int(b * (c * c / 2 + 1));
}

int Stellation::GetNumDiagramLines() const
{
    int n = 0;
    for (const FaceType* type = mFirstFaceType; type; type = type->mNextFaceType)
        if (!type->mCoplanarSource)
            n += type->GetNumLines();
    return n;
}

bool Stellation::BuildDiagrams()
{
    const int n = GetNumPlaneTypes();
    {
        RangeScope diagrams(0.0, 0.3);
        int i = 0;
        for (FaceType* type = mFirstFaceType; type; type = type->mNextFaceType, ++i)
        {
            if (type->mCoplanarSource)
                continue;
            RangeScope one(double(i) / n, double(i + 1) / n);
            if (!type->CreateDiagram(i, n))
                return false;
        }
    }
    {
        RangeScope linking(0.3, 0.6);
        const int total = GetNumDiagramLines();
        int k = 0;
        for (FaceType* type = mFirstFaceType; type; type = type->mNextFaceType)
        {
            if (type->mCoplanarSource || !type->mLineEqns)
                continue;
            if (!LinkLinesToNeighbours(type, k, total) || !SetNeighPointers(type))
                return false;
        }
    }
    {
        RangeScope facets(0.6, 0.65);
        bool failed = false;
        int t = 1;
        for (FaceType* type = mFirstFaceType; type; type = type->mNextFaceType, ++t)
        {
            if (type->mCoplanarSource)
                continue;
            if (!ShowProgress(double(t - 1) / n, "Creating symmetric facets for face type %d of %d.", t, n))
                return false;
            if (!CreateFacets(type))
            {
                failed = true;
                continue;
            }
            type->LinkSymmetricVerts();
            for (StellationLine* line = type->mLineEqns; line; line = line->mNext)
                if (line->LiesInMirrorPlane(type))
                    line->mFlags |= kLineInMirrorPlane;
        }
        if (failed)
            return false;
    }
    {
        RangeScope joining(0.65, 0.8);
        int j = 0;
        for (FaceType* type = mFirstFaceType; type; type = type->mNextFaceType, ++j)
        {
            if (type->mCoplanarSource)
                continue;
            RangeScope one(double(j) / n, double(j + 1) / n);
            if (!type->JoinCoincidentVerts(j, n))
                return false;
        }
        if (!ShowProgress(1.0, "Copying coplanar face type info."))
            return false;
        for (FaceType* type = mFirstFaceType; type; type = type->mNextFaceType)
            CopyCoplanarInfo(type);
    }
    return true;
}
