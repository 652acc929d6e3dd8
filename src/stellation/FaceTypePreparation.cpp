#include "stellation/FaceTypePreparation.h"

#include "kernel/Mat3.h"
#include "kernel/Messages.h"
#include "kernel/Tolerance.h"
#include "model/FaceVert.h"
#include "model/SymGroup.h"
#include "stellation/FaceType.h"
#include "stellation/Stellation.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{
// The plane's offset from the centre; for a vertex (or a face without a plane) the squared
// distance of its point.
double DistanceFromCentre(const FaceVert* face)
{
    if (!face)
        return 0.0;
    if (face->IsFace() && face->mNumSides >= 3)
        return std::fabs(Vec3Dot(face->mCentre, face->mZAxis));
    return Vec3LengthSq(face->mPoint);
}

bool AlongAxis(const Vec3D& axis, const Vec3D& normal)
{
    return Vec3Equal(axis, normal, kSymTol) || Vec3EqualNeg(axis, normal, kSymTol);
}

// The axis of the class along the normal, -1 when none is.
int AxisAlong(const SymAxisSet& set, const Vec3D& normal)
{
    for (int i = 0; i < set.mNumAxes; ++i)
        if (AlongAxis(set.mAxes[i].mDir, normal))
            return i;
    return -1;
}

std::vector<FaceVert*> OtherFaces(const FaceType* type)
{
    std::vector<FaceVert*> faces;
    for (FaceVert* f = type->mFirstFace ? type->mFirstFace->mNextOfType : nullptr; f; f = f->mNextOfType)
        faces.push_back(f);
    return faces;
}

void CleanAxis(Vec3D& v)
{
    Vec3SnapZero(v, kTol);
}

// The first face's own frame: x across the coordinate axis the normal is least along.
void SetStandardFrame(FaceVert* face)
{
    const Vec3D& normal = face->mZAxis;
    Vec3D axis;
    axis[Vec3MinAxisTol(normal, kTol)] = 1.0;
    Vec3Cross(face->mXAxis, normal, axis);
    Vec3Normalize(face->mXAxis);
    CleanAxis(face->mXAxis);
    Vec3Cross(face->mYAxis, normal, face->mXAxis);
    CleanAxis(face->mYAxis);
}

// The squares of a cube-like type take their frames from the half turns and the turns about the
// other axes, never from the quarter turns: that settles which of its four turned frames each
// square gets.
bool SkipsOperation(const FaceType* type, const SymGroup* group, const SymOpIterator& it)
{
    return group->mKind == SymGroup::kOctahedral && type->mNumRotations == 4 &&
           (type->mCount == 6 || type->mCount == 3) && it.mSetIndex == 0 && it.mStep != 2;
}
}  // namespace

int CompareFaceTypes(const FaceType* a, const FaceType* b)
{
    const FaceVert* fa = a->mFirstFace;
    const FaceVert* fb = b->mFirstFace;
    const bool infA = fa && (fa->mFlags & FaceVert::kInf);
    const bool infB = fb && (fb->mFlags & FaceVert::kInf);
    if (infA != infB)
        return infA ? 1 : -1;
    const bool copyA = a->mCoplanarSource != nullptr;
    const bool copyB = b->mCoplanarSource != nullptr;
    if (copyA != copyB)
        return copyA ? 1 : -1;
    const double da = DistanceFromCentre(fa);
    const double db = DistanceFromCentre(fb);
    if (da < db - kTol)
        return -1;
    if (da > db + kTol)
        return 1;
    return (a->mIndex > b->mIndex) - (a->mIndex < b->mIndex);
}

int CompareFaceTypesByFirstFace(const FaceType* a, const FaceType* b)
{
    const int ia = FaceVert::GetIndex(a->mFirstFace);
    const int ib = FaceVert::GetIndex(b->mFirstFace);
    if (ia != ib)
        return (ia > ib) - (ia < ib);
    return (a->mIndex > b->mIndex) - (a->mIndex < b->mIndex);
}

void SortFaceTypes(Stellation* stellation, FaceTypeComparator compare)
{
    if (!stellation || !compare)
        return;
    std::vector<FaceType*> types;
    for (FaceType* t = stellation->mFirstFaceType; t; t = t->mNextFaceType)
        types.push_back(t);
    // A comparison within a tolerance is no strict order; a merge sort stays inside the array
    // whatever it meets.
    std::stable_sort(types.begin(), types.end(),
                     [compare](const FaceType* a, const FaceType* b) { return compare(a, b) < 0; });
    FaceType* previous = nullptr;
    for (size_t i = 0; i < types.size(); ++i)
    {
        types[i]->mIndex = int(i);
        types[i]->mNextFaceType = nullptr;
        if (previous)
            previous->mNextFaceType = types[i];
        previous = types[i];
    }
    stellation->mFirstFaceType = types.empty() ? nullptr : types.front();
    stellation->mLastFaceType = previous;
}

void SetRotSym(FaceType* type, SymGroup* group)
{
    if (!type || type->mAxisClass || type->mNumRotations == 1)
        return;
    if (!group)
    {
        InternalError("SetRotSym: symGroup == NULL");
        return;
    }
    FaceVert* first = type->mFirstFace;
    if (!first)
        return;
    for (int s = 0; s < group->mNumAxisSets; ++s)
    {
        SymAxisSet& set = group->mAxisSets[s];
        if (type->mNumRotations != 0 && set.mOrder != type->mNumRotations)
            continue;
        const int axis = AxisAlong(set, first->mZAxis);
        if (axis < 0)
            continue;
        type->mAxisClass = &set;
        type->mNumRotations = set.mOrder;
        first->mTypeMark = axis;
        for (FaceVert* f : OtherFaces(type))
        {
            const int k = AxisAlong(set, f->mZAxis);
            if (k < 0)
            {
                InternalError("SetRotSym: Found face without symmetry axis");
                return;
            }
            f->mTypeMark = k;
        }
        return;
    }
    type->mNumRotations = 1;
}

void ReorientAxes(FaceType* type, const SymGroup* group)
{
    if (!type)
        return;
    if (!group)
    {
        InternalError("ReorientAxes: symGroup == NULL");
        return;
    }
    FaceVert* first = type->mFirstFace;
    if (!first)
        return;
    SetStandardFrame(first);
    first->mTypeOffset = 0;
    std::vector<FaceVert*> open = OtherFaces(type);
    for (FaceVert* f : open)
        f->mTypeOffset = -1;
    if (open.empty())
        return;

    const FaceVert* corner = first->mNumSides > 0 ? first->mNeighbours[0] : nullptr;
    const Vec3D cornerPoint = corner ? corner->mPoint : Vec3D();
    // The first pass takes the faces that already face the way the first face's image does; later
    // passes take the others and turn them round. After a pass that matched nothing the matcher
    // stops asking for the corners in order; a second such pass gives up.
    bool firstPass = true;
    bool ordered = true;
    int barren = 0;
    while (!open.empty() && barren < 2)
    {
        bool matched = false;
        SymOpIterator it;
        Mat3 m;
        for (int number = firstPass ? 1 : 0; group->NextOperation(it, !firstPass, &m); ++number)
        {
            if (SkipsOperation(type, group, it))
                continue;
            Vec3D centre, normal, point, x;
            m.Transform(centre, first->mCentre);
            m.Transform(normal, first->mZAxis);
            m.Transform(point, cornerPoint);
            m.Transform(x, first->mXAxis);
            CleanAxis(x);
            for (auto f = open.begin(); f != open.end();)
            {
                FaceVert* face = *f;
                const bool facesAlike = Vec3Equal(face->mZAxis, normal, kSymTol);
                if (facesAlike != firstPass ||
                    !first->MatchesTransformed(face, centre, normal, point, m, ordered, nullptr, nullptr))
                {
                    ++f;
                    continue;
                }
                if (!firstPass)
                    face->mZAxis = normal;
                face->mXAxis = x;
                Vec3Cross(face->mYAxis, face->mZAxis, x);
                CleanAxis(face->mYAxis);
                face->mTypeOffset = number;
                f = open.erase(f);
                matched = true;
            }
        }
        firstPass = false;
        if (!matched)
        {
            ++barren;
            ordered = false;
        }
    }
    if (!open.empty())
        InternalError("ReorientAxes: Couldn't match all faces");
}

void SetRotSymAndReorientAxes(FaceType* type, SymGroup* group)
{
    if (!group)
    {
        InternalError("SetRotSymAndReorientAxes: symGroup == NULL");
        return;
    }
    SetRotSym(type, group);
    ReorientAxes(type, group);
}

bool GetNumberedOperation(const SymGroup& group, int number, Mat3& out)
{
    if (number < 0)
        return false;
    SymOpIterator it;
    for (int k = 0; group.NextOperation(it, true, &out); ++k)
        if (k == number)
            return true;
    return false;
}
