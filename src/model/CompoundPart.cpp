#include "model/CompoundPart.h"

#include "kernel/Messages.h"
#include "kernel/Tolerance.h"
#include "model/Vert.h"
#include "stellation/FaceType.h"

#include <cmath>

int CompoundPart::GetGenus() const
{
    const int chi = GetEulerCharacteristic();
    return (mFlags & kOneSided) ? 2 - chi : (2 - chi) / 2;
}

void CompoundPart::FreeList(CompoundPart*& first, CompoundPart*& last)
{
    while (first)
    {
        CompoundPart* next = first->mNext;
        delete first;
        first = next;
    }
    last = nullptr;
}

namespace
{
// Breadth-first over the part from start, marking with the flag, calling visit on each element
// taken. The names head the two overflow messages.
template <class Visit>
void WalkPart(FaceVert* start, uint32_t mark, FaceVert** buffer, int capacity, const char* name, Visit visit)
{
    if (!start || capacity <= 0)
        return;
    int count = 0;
    buffer[count++] = start;
    start->mFlags |= mark;
    for (int taken = 0; taken < count; ++taken)
    {
        if (taken >= capacity)
        {
            InternalError("%s() failed2, %d >= %d", name, taken, capacity);
            return;
        }
        FaceVert* e = buffer[taken];
        visit(e);
        for (int k = 0; k < e->mNumSides; ++k)
        {
            FaceVert* n = e->mNeighbours[k];
            if (!n || (n->mFlags & mark))
                continue;
            if (count >= capacity)
            {
                InternalError("%s() failed, %d >= %d", name, count, capacity);
                return;
            }
            n->mFlags |= mark;
            buffer[count++] = n;
        }
    }
}

// Whether the face runs against the vertex's turn where they meet: at the vertex's position k, or
// for a face at its own position in the vertex.
bool RunsAgainstTurn(const FaceVert* element, int k, const FaceVert* neighbour)
{
    if (element->IsVert())
        return static_cast<const Vert*>(element)->mFaceReversed[k] != 0;
    if (!neighbour->IsVert())
        return false;
    const int at = FaceVert::FindNeighbour(neighbour, element, -1);
    return at >= 0 && static_cast<const Vert*>(neighbour)->mFaceReversed[at] != 0;
}

bool IsReversed(const FaceVert* e)
{
    return (e->mFlags & FaceVert::kReversed) != 0;
}
}  // namespace

double FindCompoundPart(CompoundPart* part, FaceVert* start, FaceVert** buffer, int capacity, double& vertSum,
                        bool& mixed)
{
    double faceSum = 0.0;
    vertSum = 0.0;
    mixed = false;
    if (!part || !start || capacity <= 0)
        return 0.0;
    bool haveReference = false, reference = false;
    int count = 0;
    buffer[count++] = start;
    start->mFlags |= FaceVert::kVisitMark;
    for (int taken = 0; taken < count; ++taken)
    {
        if (taken >= capacity)
        {
            InternalError("FindCompoundPart() failed2, %d >= %d", taken, capacity);
            break;
        }
        FaceVert* e = buffer[taken];
        double area = e->GetArea();
        if (IsReversed(e))
            area = -area;
        if (IsZeroTol(area, kTol))
            area = 0.0;
        // Derived here each time, so that a second analysis starts from the same state.
        if (area < 0.0)
            e->mFlags |= FaceVert::kReverseNorm;
        else
            e->mFlags &= ~FaceVert::kReverseNorm;
        if (e->mFaceType)
            e->mFaceType->mArea = std::fabs(area);
        // Area times plane distance: three times the volume of the pyramid on the polygon.
        const double contribution = area * std::fabs(Vec3Dot(e->mCentre, e->GetNormal()));
        if (e->IsFace())
        {
            faceSum += contribution;
            ++part->mNumFaces;
            part->mNumEdges += e->mNumSides;
            const bool norm = (e->mFlags & FaceVert::kReverseNorm) != 0;
            if (!haveReference)
                haveReference = true, reference = norm;
            else if (norm != reference)
                mixed = true;
        }
        else
        {
            vertSum += contribution;
            ++part->mNumVerts;
        }

        for (int k = 0; k < e->mNumSides; ++k)
        {
            FaceVert* n = e->mNeighbours[k];
            if (!n)
                continue;
            const bool expected = IsReversed(e) != RunsAgainstTurn(e, k, n);
            if (n->mFlags & FaceVert::kVisitMark)
            {
                if (IsReversed(n) == expected)
                    continue;
                // A polygon of two sides has no inside to keep consistent: turn it instead.
                if (e->mNumSides <= 2)
                    e->mFlags ^= FaceVert::kReversed;
                else if (n->mNumSides <= 2)
                    n->mFlags ^= FaceVert::kReversed;
                else
                    part->mFlags |= CompoundPart::kOneSided;
                continue;
            }
            if (count >= capacity)
            {
                InternalError("FindCompoundPart() failed, %d >= %d", count, capacity);
                return faceSum;
            }
            if (expected)
                n->mFlags |= FaceVert::kReversed;
            else
                n->mFlags &= ~FaceVert::kReversed;
            n->mFlags |= FaceVert::kVisitMark;
            buffer[count++] = n;
        }
    }
    return faceSum;
}

void MarkCompoundPartOneSided(FaceVert* start, FaceVert** buffer, int capacity)
{
    WalkPart(start, FaceVert::kOneSided, buffer, capacity, "MarkCompoundPartOneSided",
             [](FaceVert* e) { e->mFlags &= ~(FaceVert::kReversed | FaceVert::kReverseNorm); });
}

void InvertCompoundPart(FaceVert* start, bool invertFaces, bool invertVerts, FaceVert** buffer, int capacity)
{
    WalkPart(start, FaceVert::kInvertMark, buffer, capacity, "InvertCompoundPart", [&](FaceVert* e) {
        if (e->IsFace() ? invertFaces : invertVerts)
            e->mFlags ^= FaceVert::kReversed | FaceVert::kReverseNorm;
    });
}
