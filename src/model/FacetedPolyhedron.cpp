#include "model/FacetedPolyhedron.h"

#include "kernel/ColorRGB.h"
#include "kernel/GrowableArray.h"
#include "kernel/Messages.h"
#include "kernel/Palette.h"
#include "kernel/Polygon3D.h"
#include "kernel/RingVert.h"
#include "kernel/Tolerance.h"
#include "kernel/UndoKinds.h"
#include "model/CreatePoly.h"
#include "model/DrawnPolygon.h"
#include "model/FaceVert.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/SimplePoly.h"
#include "model/StellationOptions.h"
#include "model/SymGroup.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace
{
std::vector<Vec3D> Corners(const Polygon3D& polygon)
{
    std::vector<Vec3D> points;
    if (const RingVert* v = polygon.mRing)
    {
        do
        {
            points.push_back(v->pos);
            v = v->next;
        } while (v && v != polygon.mRing);
    }
    return points;
}

// Distinct positions (within kTol in each coordinate) in the order first met.
int FindOrAdd(std::vector<Vec3D>& points, const Vec3D& p)
{
    for (size_t i = 0; i < points.size(); ++i)
    {
        if (std::fabs(points[i].x - p.x) <= kTol && std::fabs(points[i].y - p.y) <= kTol &&
            std::fabs(points[i].z - p.z) <= kTol)
            return int(i);
    }
    points.push_back(p);
    return int(points.size() - 1);
}

// The ring of vertex indices read from its smallest start in either direction: equal for the same
// polygon however it was entered.
std::vector<int> CanonicalRing(const std::vector<int>& ring)
{
    const size_t n = ring.size();
    std::vector<int> best;
    for (int direction : {1, -1})
    {
        for (size_t start = 0; start < n; ++start)
        {
            std::vector<int> candidate(n);
            for (size_t k = 0; k < n; ++k)
                candidate[k] = ring[(start + n + size_t(direction) * k) % n];
            if (best.empty() || candidate < best)
                best = std::move(candidate);
        }
    }
    return best;
}

bool IsAtPoint(const FaceVert* first, const Vec3D& p)
{
    for (const FaceVert* e = first; e; e = e->mNext)
    {
        if (!(e->mFlags & FaceVert::kInf) && Vec3Equal(e->mPoint, p, kTol))
            return true;
    }
    return false;
}

// One face of the result before the model is made.
struct OrbitFace
{
    std::vector<int> corners;
    Vec3D normal;
    uint32_t color = 0;
    int rots = 1;
    FacetRecord record;
};

// The group's operations in its order, the rotations first; the identity alone without a group.
std::vector<std::pair<Mat3, bool>> Operations(const SymGroup* group)
{
    std::vector<std::pair<Mat3, bool>> ops;
    if (!group)
    {
        ops.emplace_back(Mat3(), false);
        return ops;
    }
    SymOpIterator it;
    Mat3 m;
    while (group->NextOperationWithReflections(it, true, &m, false))
        ops.emplace_back(m, it.mReflected);
    if (ops.empty())
        ops.emplace_back(Mat3(), false);
    return ops;
}
}  // namespace

std::unique_ptr<SimplePoly> CreateSimpleFacetedPolyhedron(Poly& poly, uint32_t flags,
                                                          std::vector<FacetRecord>* records)
{
    const bool quiet = (flags & kFacetedQuiet) != 0;
    std::vector<Polygon3D*> facets;
    for (Polygon3D* p = poly.mFirstDrawnPolygon; p && p != poly.mCurrentDrawnPolygon; p = p->mNext)
        facets.push_back(p);
    if (Polygon3D* open = poly.mCurrentDrawnPolygon; open && open->mRing && !quiet &&
        AskYesNo("You were in the middle of creating a facet.\nWould you like to include this partially "
                 "complete facet?"))
    {
        open->Prepare();
        facets.push_back(open);
    }
    // A facet needs three corners to be a face.
    std::erase_if(facets, [](const Polygon3D* p) { return Corners(*p).size() < 3; });
    if (facets.empty())
    {
        if (!quiet)
            ErrorMessage("Before creating a faceted polyhedron, you must create\none or more facets, which will be "
                         "repeated over the\nsymmetry group and used as its faces.\nTo do this, use:\n\"%.256s\"\n(or "
                         "the equivalent toolbar button).",
                         kFacetingModeMenuText);
        return nullptr;
    }

    SymGroup* group = poly.mGroup.get();
    const std::vector<std::pair<Mat3, bool>> ops = Operations(group);
    std::vector<Vec3D> points;
    std::vector<OrbitFace> faces;
    std::set<std::vector<int>> placed;
    GrowableArray<ColorRGB> usedColors;
    const auto nextColor = [&usedColors](bool restart) {
        const uint32_t packed = NextUnusedPaletteColorRef(usedColors, restart);
        ColorRGB c;
        ColorFromRGB(c, packed);
        usedColors.Add(c);
        return packed;
    };
    bool allModelVerts = true;
    bool allDualVerts = true;
    for (Polygon3D* facet : facets)
    {
        const std::vector<Vec3D> corners = Corners(*facet);
        for (const Vec3D& c : corners)
        {
            allModelVerts = allModelVerts && IsAtPoint(poly.mVerts.mFirst, c);
            allDualVerts = allDualVerts && IsAtPoint(poly.mFaces.mFirst, c);
        }
        // The normal points away from the centre.
        Vec3D normal = facet->mNormal;
        if (Vec3Dot(normal, facet->GetRingCentre()) < 0.0)
            Vec3Negate(normal);
        const int rots = group ? GetRotationOrder(*facet, *group) : 1;
        const uint32_t color = nextColor(faces.empty());
        uint32_t mirrorColor = 0;
        // Each image of the facet once: an operation that maps it onto a face placed already, in
        // either sense round, adds nothing.
        for (const auto& [m, improper] : ops)
        {
            std::vector<int> ring;
            ring.reserve(corners.size());
            for (const Vec3D& c : corners)
            {
                Vec3D image;
                m.Transform(image, c);
                ring.push_back(FindOrAdd(points, image));
            }
            if (!placed.insert(CanonicalRing(ring)).second)
                continue;
            if (improper && !mirrorColor)
                mirrorColor = nextColor(false);
            OrbitFace face;
            face.corners = std::move(ring);
            m.Transform(face.normal, normal);
            face.color = improper ? mirrorColor : color;
            face.rots = rots;
            face.record = FacetRecord{facet, m};
            faces.push_back(std::move(face));
        }
    }

    if (!SimplePoly::CheckSize(int64_t(points.size()), int64_t(faces.size())))
        return nullptr;
    auto result = std::make_unique<SimplePoly>(int(points.size()), int(faces.size()));
    if (!result->mVerts || !result->mFaces)
        return nullptr;
    for (size_t i = 0; i < points.size(); ++i)
        result->mVerts[i].SetPos(points[i]);
    for (size_t f = 0; f < faces.size(); ++f)
    {
        const OrbitFace& from = faces[f];
        SimpleFace& face = result->mFaces[f];
        face.SetNumVerts(int(from.corners.size()));
        for (size_t k = 0; k < from.corners.size(); ++k)
            face.SetVert(int(k), &result->mVerts[from.corners[k]]);
        face.mNormal = from.normal;
        face.mFlags |= SimpleElem::kNormalOriented;
        face.mColor = face.mBackColor = from.color;
        face.mRots = from.rots;
    }

    const char* name = poly.GetBaseName();
    const char* dualName = poly.GetDualName();
    if (allModelVerts)
    {
        result->SetName(name, "Faceted ");
        result->SetDualName(dualName, "Stellated ");
    }
    else if (allDualVerts)
    {
        result->SetName(dualName, "Faceted ");
        result->SetDualName(name, "Stellated ");
    }
    else
    {
        result->SetName(nullptr, "Faceted ");
        result->SetDualName(nullptr, "Stellated ");
    }

    if (!result->RemoveAllCoincidentFaces(0, !quiet, SimpleElem::kTemp))
        return nullptr;
    result->mFlags |= SimplePoly::kWantNewColors | SimplePoly::kKeepOrientation | SimplePoly::kKeepRealSize;
    result->CreateVertexFaceLists(true);
    if (!(flags & (kFacetedQuiet | kFacetedNoCheck | kFacetedNoCheckPreview)))
    {
        if (!SimplePoly::CheckValidity(result.get(), SimplePoly::kValidityNoCoplanarWarning))
            return nullptr;
        result->BlendCoplanarFaces(SimplePoly::kBlendAsk, nullptr, nullptr);
    }
    if (poly.mPolytope)
        result->mFlags |= SimplePoly::kFrom4D;
    if (records)
    {
        records->clear();
        for (const OrbitFace& f : faces)
            records->push_back(f.record);
    }
    return result;
}

bool CreateFacetedPolyhedron()
{
    Poly* poly = GetCurrentPoly();
    if (!poly)
        return false;
    std::unique_ptr<SimplePoly> faceted = CreateSimpleFacetedPolyhedron(*poly, 0, nullptr);
    return faceted && SetModelFromSimplePoly(faceted.get(), kUndoFaceting, false, false);
}
