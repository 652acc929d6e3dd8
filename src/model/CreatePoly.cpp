#include "model/CreatePoly.h"

#include "kernel/ColorRGB.h"
#include "kernel/FaceImage.h"
#include "kernel/Messages.h"
#include "kernel/ProgramClock.h"
#include "kernel/Progress.h"
#include "kernel/Shell.h"
#include "kernel/Tolerance.h"
#include "kernel/TransitionSettings.h"
#include "kernel/UnitSettings.h"
#include "model/Face.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/SimplePoly.h"
#include "model/SymGroup.h"
#include "model/Vert.h"
#include "polytope4d/Polytope4D.h"
#include "stellation/ModelBuildSuspension.h"

#include <cmath>
#include <memory>
#include <utility>
#include <vector>

namespace
{
const char* const kNotValid = "The polyhedron you want to create\ndoes not appear to be valid.";

// A face plane this near the centre has its pole at infinity.
constexpr double kHemiTol = 1e-5;

// Puts the model-building flag back on every way out.
class BuildFlagRestorer
{
public:
    BuildFlagRestorer() : mSaved(IsModelBuildSuspended()) {}
    ~BuildFlagRestorer() { Restore(); }
    void Restore() { SetModelBuildSuspended(mSaved); }
    BuildFlagRestorer(const BuildFlagRestorer&) = delete;
    BuildFlagRestorer& operator=(const BuildFlagRestorer&) = delete;

private:
    bool mSaved;
};

bool Step(const char* caption)
{
    return ShowProgress(0.5, "%s", caption);
}

uint32_t ElementFlags(uint32_t simpleFlags)
{
    uint32_t flags = 0;
    if (simpleFlags & SimpleElem::kHidden)
        flags |= FaceVert::kHidden;
    if (simpleFlags & SimpleElem::kHullMark)
        flags |= FaceVert::kConvexHull;
    return flags;
}

void CopyHeader(const SimpleElem& record, FaceVert& element)
{
    element.mIdFlags = record.mId;
    element.mFlags |= ElementFlags(record.mFlags);
    ColorFromRGB(element.mColor, record.mColor);
    ColorFromRGB(element.mBackColor, record.mBackColor);
    element.SetOpacity(record.mOpacity);
    PolyElement::SetText(&element, record.mText.c_str());
}

// The record's image, cloned onto the element; the clone is placed by the element that stands for
// the record that placed the original.
template <class Record, class Element>
void CloneImage(const Record& record, Element* element, const Record* records, int numRecords,
                const std::vector<Element*>& map)
{
    FaceImage* image = record.mImage.Get();
    if (!image)
        return;
    FaceImage* clone = FaceImage::CloneFor(image, nullptr, &element->mImage);
    if (!clone || clone->mOwner != image->mOwner)
        return;  // an earlier element already placed this clone
    for (int i = 0; i < numRecords; ++i)
    {
        if (&records[i] == image->mOwner)
        {
            if (map[size_t(i)])
                clone->mOwner = map[size_t(i)];
            return;
        }
    }
}

// The place of the face among the vertex's live faces that is still free; -1 when the vertex does
// not list the face.
int FreeSlotOf(const SimpleVert& vert, const SimpleFace* face, const Vert& element)
{
    int live = 0;
    for (int j = 0; j < vert.mNum; ++j)
    {
        const SimpleElem* entry = vert.mList[j];
        if (!entry || (entry->mFlags & SimpleElem::kTemp))
            continue;
        if (entry == face && live < element.mNumSides && !element.mNeighbours[live])
            return live;
        ++live;
    }
    return -1;
}

// For a face without corners: the coordinate axis on which the normal is smallest, ties going to
// the later axis.
Vec3D LeastAxis(const Vec3D& normal)
{
    int axis = 0;
    for (int a = 1; a < 3; ++a)
    {
        if (std::fabs(normal[a]) <= std::fabs(normal[axis]))
            axis = a;
    }
    Vec3D e;
    e[axis] = 1.0;
    return e;
}

void MoveList(ElemList& from, ElemList& to, Poly& owner)
{
    to.mFirst = from.mFirst;
    to.mLast = from.mLast;
    to.mCount = from.mCount;
    to.mNumTexts = from.mNumTexts;
    to.mNumTranslucent = from.mNumTranslucent;
    to.mMaxChordDistance = -1.0;
    for (FaceVert* e = to.mFirst; e; e = e->mNext)
    {
        e->mPoly = &owner;
        e->mList = &to;
    }
    from.mFirst = from.mLast = nullptr;
    from.mCount = from.mNumTexts = from.mNumTranslucent = 0;
}

// Hands the faces and vertices built in staged to the emptied target.
void MoveElements(Poly& staged, Poly& target)
{
    staged.GetFaceStellation()->mSelectedFace = nullptr;
    staged.GetVertStellation()->mSelectedFace = nullptr;
    MoveList(staged.mFaces, target.mFaces, target);
    MoveList(staged.mVerts, target.mVerts, target);
    target.GetFaceStellation()->mSelectedFace = target.mFaces.mFirst;
    target.GetVertStellation()->mSelectedFace = target.mVerts.mFirst;
}

// What every source ends with: the 4D mark, the scale, the names.
void FinishModel(const SimplePoly& simplePoly, Poly& poly)
{
    if (simplePoly.mFlags & SimplePoly::kFrom4D)
        poly.mFlags |= Poly::kIs4D;
    GetUnitSettings().SetScale(simplePoly.mScale, false);
    poly.SetBaseName(simplePoly.mName.c_str());
    poly.SetDualName(simplePoly.mDualName.c_str());
    poly.SetComments(simplePoly.mComments.c_str());
    poly.SetLink(simplePoly.mLink.c_str());
}

// The edge records' attributes onto the edges the analysis made.
void CarryEdges(const SimplePoly& simplePoly, Poly& poly, const std::vector<Vert*>& vertMap,
                const std::vector<Face*>& faceMap)
{
    if (!simplePoly.mEdges)
        return;
    auto vertOf = [&](const SimpleVert* v) -> Vert* {
        const int i = SimpleVert::GetIndex(v);
        return i >= 0 && size_t(i) < vertMap.size() ? vertMap[size_t(i)] : nullptr;
    };
    auto faceOf = [&](const SimpleFace* f) -> Face* {
        const int i = SimpleFace::GetIndex(f);
        return i >= 0 && size_t(i) < faceMap.size() ? faceMap[size_t(i)] : nullptr;
    };
    for (int i = 0; i < simplePoly.mNumEdges; ++i)
    {
        const SimpleEdge& record = simplePoly.mEdges[i];
        Vert* v0 = vertOf(record.mVerts[0]);
        Vert* v1 = vertOf(record.mVerts[1]);
        Face* f0 = faceOf(record.mFaces[0]);
        Face* f1 = faceOf(record.mFaces[1]);
        Edge* edge = poly.GetEdge(i);
        if (!edge || edge->mVerts[0] != v0 || edge->mVerts[1] != v1 || edge->mFaces[0] != f0 || edge->mFaces[1] != f1)
            edge = poly.FindEdge(f0, f1, v0, v1);
        if (!edge)
        {
            DebugTrace("SimpleEdge doesn't match edge");
            continue;
        }
        edge->mFlags = (edge->mFlags & ~Edge::kHidden) | (record.mFlags & SimpleEdge::kHidden ? Edge::kHidden : 0);
        ColorFromRGB(edge->mColor, record.mColor);
        PolyElement::SetText(edge, record.mText.c_str());
    }
}
}  // namespace

bool CreatePoly(SimplePoly* simplePoly, Poly* poly, bool keepColors, bool keepDualColors)
{
    if (!simplePoly || !poly)
        return false;
    BuildFlagRestorer restoreFlag;
    SimplePoly& s = *simplePoly;

    if (s.StandsFor4D())
    {
        std::unique_ptr<Polytope4D> copy = Polytope4D::Copy(s.mPolytope4D.get(), Polytope4D::kCopyFinish);
        if (!copy)
            return false;
        const bool keep = keepColors || (s.mFlags & SimplePoly::kKeepBaseColors);
        poly->SetPolytope4D(std::move(copy), keep ? Poly::kKeepColors : 0);
        FinishModel(s, *poly);
        restoreFlag.Restore();
        GetShell().UpdateGeomagAvailability();
        return true;
    }

    ProgressScope progress;
    TraceGuard trace("CreatePoly");

    if (!Step("FindSymmetries"))
        return false;
    bool reflexible = false;
    const int numVerts = s.mNumVerts;
    std::unique_ptr<SymGroup> group = s.FindSymmetries(reflexible);
    if (s.mNumVerts != numVerts)
    {
        // Vertices were merged: the coincidence rings name records that moved.
        group.reset();
        s.ResetCoincidence();
        group = s.FindSymmetries(reflexible);
    }
    if (!group)
    {
        ErrorMessage("%s", kNotValid);
        return false;
    }

    // The old model stays whole until the new elements stand: they are built in a Poly of their own.
    if (!Step("Destroy old model"))
        return false;
    const double radius = s.GetReciprocationRadius();
    const double radiusSq = radius * radius;
    auto staged = std::make_unique<Poly>();
    bool hasPointsAtInfinity = false;

    if (!Step("Create vertices"))
        return false;
    SetModelBuildSuspended(true);
    ClearFaceImageClones();
    std::vector<Vert*> vertMap(size_t(s.mNumVerts > 0 ? s.mNumVerts : 0), nullptr);
    for (int i = 0; i < s.mNumVerts; ++i)
    {
        const SimpleVert& v = s.mVerts[i];
        if (v.mFlags & SimpleElem::kTemp)
            continue;
        Vec3D p = v.mPos;
        Vert* vert = new Vert(staged.get(), p, v.CountLiveFaces());
        vertMap[size_t(i)] = vert;
        const double lengthSq = Vec3LengthSq(v.mPos);
        if (IsZeroTol(lengthSq, kTol))
            vert->mCentre = Vec3D{};
        else
        {
            Vec3Scale(vert->mCentre, v.mPos, radiusSq / lengthSq);
            Vec3SnapZero(vert->mCentre, kTol);
        }
        CopyHeader(v, *vert);
    }
    for (int i = 0; i < s.mNumVerts; ++i)
    {
        if (vertMap[size_t(i)])
            CloneImage(s.mVerts[i], vertMap[size_t(i)], s.mVerts.get(), s.mNumVerts, vertMap);
    }

    if (!Step("Create faces"))
        return false;
    std::vector<Face*> faceMap(size_t(s.mNumFaces > 0 ? s.mNumFaces : 0), nullptr);
    Face* faceToSelect = nullptr;
    for (int i = 0; i < s.mNumFaces; ++i)
    {
        const SimpleFace& f = s.mFaces[i];
        if (f.mFlags & SimpleElem::kTemp)
            continue;
        const int numCorners = f.mNum > 0 ? f.mNum : 0;
        Face* face = new Face(staged.get(), nullptr, numCorners);
        faceMap[size_t(i)] = face;
        if (&f == s.mSelectedFace)
            faceToSelect = face;
        const bool throughCentre = (f.mFlags & SimpleElem::kPlaneThroughCentre) != 0;

        Vec3D normal = f.mNormal;
        double d = 0.0;
        if (numCorners == 0 && !throughCentre)
        {
            // An empty face is given by the point of its plane nearest the centre.
            d = Vec3Length(normal);
            if (d > 0.0)
                Vec3Div(normal, normal, d);
        }
        Vec3SnapZero(normal, kTol);
        face->mZAxis = normal;

        int lowest = -1;
        for (int k = 0; k < numCorners; ++k)
        {
            const SimpleVert* corner = f.GetVert(k);
            const int vi = SimpleVert::GetIndex(corner);
            Vert* vert = vi >= 0 && vi < s.mNumVerts ? vertMap[size_t(vi)] : nullptr;
            if (!vert)
            {
                InternalError("%s\nCreatePoly: vert NULL", kNotValid);
                return false;
            }
            const int slot = FreeSlotOf(*corner, &f, *vert);
            if (slot < 0)
            {
                InternalError("%s\nCreatePoly: face missing around its vert", kNotValid);
                return false;
            }
            face->mNeighbours[k] = vert;
            vert->mNeighbours[slot] = face;
            if (lowest < 0 || corner->mId < f.GetVert(lowest)->mId)
                lowest = k;
        }
        face->mFlags |= ElementFlags(f.mFlags);

        if (throughCentre)
        {
            face->mCentre = Vec3D{};
            d = 0.0;
        }
        else if (numCorners == 0)
            face->mCentre = f.mNormal;
        else
        {
            d = Vec3Dot(f.GetVert(0)->mPos, normal);
            Vec3Scale(face->mCentre, normal, d);
        }
        Vec3SnapZero(face->mCentre, kTol);

        if (std::fabs(d) <= kHemiTol)
        {
            // A plane through the centre has its pole at infinity, along the normal.
            hasPointsAtInfinity = true;
            face->mFlags |= FaceVert::kHemi;
            face->mCentre = Vec3D{};
            face->mPoint = normal;
        }
        else
            Vec3Scale(face->mPoint, normal, radiusSq / d);

        if (lowest >= 0)
            Vec3Sub(face->mXAxis, f.GetVert(lowest)->mPos, face->mCentre);
        else
            Vec3Cross(face->mXAxis, normal, LeastAxis(normal));
        Vec3Normalize(face->mXAxis);
        Vec3SnapZero(face->mXAxis, kTol);
        Vec3Cross(face->mYAxis, normal, face->mXAxis);
        Vec3SnapZero(face->mYAxis, kTol);

        CopyHeader(f, *face);
    }
    for (int i = 0; i < s.mNumFaces; ++i)
    {
        if (faceMap[size_t(i)])
            CloneImage(s.mFaces[i], faceMap[size_t(i)], s.mFaces.get(), s.mNumFaces, faceMap);
    }

    // Coplanar faces are found by the face-type analysis.
    if (!Step("Find coplanar faces"))
        return false;
    if (!Step("Find face types"))
        return false;

    // Nothing can fail or be cancelled before the analysis any more: the old model goes now.
    poly->Clear();
    MoveElements(*staged, *poly);
    staged.reset();
    poly->mMidRadius = radius;
    poly->mHasPointsAtInfinity = hasPointsAtInfinity;
    poly->mMatchingStatus = Poly::kMatchingFinished;
    poly->mReflexible = reflexible;
    if (s.mFlags & SimplePoly::kWantNewColors)
        keepColors = false;
    if (s.mFlags & SimplePoly::kKeepBaseColors)
    {
        keepColors = true;
        keepDualColors = false;
    }
    if (s.mFlags & SimplePoly::kKeepDualColors)
        keepDualColors = true;

    if (!poly->SetFaceTypes(std::move(group), !keepColors, !keepDualColors))
    {
        // A half-analysed model must not stand as the model.
        poly->Clear();
        return false;
    }
    CarryEdges(s, *poly, vertMap, faceMap);

    if (keepColors)
        Step("Set coplanar face indices");  // the model is whole: a cancel here changes nothing
    if (!(poly->mFlags & (Poly::kOneSided | Poly::kAgainstType)))
    {
        if (s.mFlags & SimplePoly::kConvex)
            poly->mFlags |= Poly::kConvex;
        if (s.mFlags & SimplePoly::kRadiallyConvex)
            poly->mFlags |= Poly::kRadiallyConvex;
        if (s.mFlags & SimplePoly::kNonSelfIntersecting)
            poly->mFlags |= Poly::kNonSelfIntersecting;
    }
    if (faceToSelect)
        poly->GetFaceStellation()->SetSelectedFace(faceToSelect);
    trace.End();

    FinishModel(s, *poly);
    restoreFlag.Restore();
    GetShell().UpdateGeomagAvailability();
    return true;
}

bool SetModelFromSimplePoly(SimplePoly* simplePoly, int undoKind, bool keepColors, bool keepDualColors)
{
    if (!simplePoly)
        return false;
    Shell& shell = GetShell();
    const int preset = UndoKindTransitionPreset(undoKind);
    if (undoKind >= 0)
        shell.AddUndo(undoKind, false);
    void* keptRecord = preset >= 0 ? shell.PrepareTransitionOfType(preset) : nullptr;
    // Preparing a transition makes a new current record: ask for the current model only now.
    const bool ok = CreatePoly(simplePoly, GetCurrentPoly(), keepColors, keepDualColors);
    if (!ok)
    {
        if (keptRecord)
            shell.AbandonTransition(keptRecord);
        if (undoKind >= 0)
            shell.DiscardLastUndo();
    }
    else if (keptRecord)
        shell.StartTransitionOfType(preset, GetElapsedSeconds(false), keptRecord, true, false);
    shell.RefreshDocument(0);
    return ok;
}
