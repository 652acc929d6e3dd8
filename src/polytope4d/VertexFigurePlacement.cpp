#include "polytope4d/VertexFigureGrowth.h"

#include "kernel/ColorRGB.h"
#include "kernel/Messages.h"
#include "kernel/SineTable.h"
#include "model/FaceVert.h"
#include "polytope4d/ElementLists4D.h"
#include "polytope4d/Polytope4D.h"
#include "polytope4d/VertexFigureTemplate.h"

#include <algorithm>
#include <cmath>
#include <numeric>

// Placing copies of the vertex figure at the vertices of a growing polychoron: candidate maps from
// one face at a vertex, their test against every face the vertex has, and the faces and cells a
// chosen placement makes.

namespace
{
constexpr double kPosTol = 1e-4;  // positions of vertices are told apart at this distance
constexpr double kDirTol = 1e-7;

bool Unit(Vec4D& v)
{
    const double length = Vec4Length(v);
    if (length < kDirTol)
        return false;
    // Not snapped to zero: over a long growth the snapped bits would add up to a vertex's tolerance.
    Vec4Div(v, length);
    return true;
}

// The neighbours of the vertex in the face, before and after it; false when it is not a corner.
bool NeighboursIn(const Face4D* face, const Vert4D* vert, Vert4D*& before, Vert4D*& after)
{
    const int k = face->FindVert(vert, -1);
    if (k < 0)
        return false;
    const int n = face->mNumSides;
    before = face->mVerts[size_t((k + n - 1) % n)];
    after = face->mVerts[size_t((k + 1) % n)];
    return before && after;
}

int FindImage(const LocalVertexFigure& figure, const VertexFigurePlacement& placement, const Vec4D& pos)
{
    Vec4D image;
    for (size_t i = 0; i < figure.mVerts.size(); ++i)
    {
        placement.Map(image, figure.mVerts[i].mPos);
        if (Vec4Equal(image, pos, kPosTol))
            return int(i);
    }
    return -1;
}

const TemplateEdge* EdgeBetween(const TemplateVertex& a, const TemplateVertex& b)
{
    for (const TemplateEdge* e : a.mEdges)
    {
        if (e->GetOtherEnd(&a) == &b)
            return e;
    }
    return nullptr;
}

// Both placements put the figure's edges of each class in the same places.
bool SamePlacement(const LocalVertexFigure& figure, const VertexFigurePlacement& p, const VertexFigurePlacement& q)
{
    std::vector<int> to(figure.mVerts.size(), -1);
    Vec4D image;
    for (size_t i = 0; i < figure.mVerts.size(); ++i)
    {
        p.Map(image, figure.mVerts[i].mPos);
        to[i] = FindImage(figure, q, image);
        if (to[i] < 0)
            return false;
    }
    for (const TemplateEdge& e : figure.mEdges)
    {
        const auto a = size_t(e.mEnds[0] - figure.mVerts.data());
        const auto b = size_t(e.mEnds[1] - figure.mVerts.data());
        const TemplateEdge* other = EdgeBetween(figure.mVerts[size_t(to[a])], figure.mVerts[size_t(to[b])]);
        if (!other || other->mClass != e.mClass)
            return false;
    }
    return true;
}

double Det4(const Vec4D& a, const Vec4D& b, const Vec4D& c, const Vec4D& d)
{
    Vec4D n;
    Vec4Cross(n, a, b, c);
    return Vec4Dot(n, d);
}

// The hyperplane through the vertex and the images of the face's corners: unit normal and offset,
// the offset made positive (for a hyperplane through the centre, the first clear component).
bool CellPlane(const VertexFigurePlacement& placement, const TemplateFace& face, const Vec4D& vert, Vec4D& normal,
               double& offset)
{
    std::vector<Vec4D> corners;
    for (const TemplateEdge* e : face.mEdges)
    {
        for (const TemplateVertex* end : e->mEnds)
        {
            Vec4D image;
            placement.Map(image, end->mPos);
            Vec4Sub(image, image, vert);
            corners.push_back(image);
        }
    }
    for (size_t i = 0; i < corners.size(); ++i)
        for (size_t j = i + 1; j < corners.size(); ++j)
            for (size_t k = j + 1; k < corners.size(); ++k)
            {
                Vec4Cross(normal, corners[i], corners[j], corners[k]);
                const double length = Vec4Length(normal);
                if (length < 1e-6)
                    continue;
                Vec4Div(normal, length);
                offset = Vec4Dot(normal, vert);
                bool flip = offset < -1e-9;
                if (std::fabs(offset) <= 1e-9)
                {
                    for (int axis = 0; axis < 4; ++axis)
                    {
                        if (std::fabs(normal[axis]) > 1e-6)
                        {
                            flip = normal[axis] < 0.0;
                            break;
                        }
                    }
                }
                if (flip)
                {
                    Vec4Negate(normal);
                    offset = -offset;
                }
                return true;
            }
    return false;
}

double SeedOrientation()
{
    const Vec4D ex{1.0, 0.0, 0.0, 0.0};
    const Vec4D ey{0.0, 1.0, 0.0, 0.0};
    const Vec4D ez{0.0, 0.0, 1.0, 0.0};
    const Vec4D ew{0.0, 0.0, 0.0, 1.0};
    return Det4(ex, ey, ez, ew);
}

int Find(std::vector<int>& parent, int i)
{
    while (parent[size_t(i)] != i)
    {
        parent[size_t(i)] = parent[size_t(parent[size_t(i)])];
        i = parent[size_t(i)];
    }
    return i;
}
}  // namespace

VertexFigureGrowth::VertexFigureGrowth(Polytope4D& polytope, const VertexFigureTemplate& figure, double rho,
                                       double w0)
    : mPolytope(polytope), mTemplate(figure), mRho(rho), mW0(w0)
{
}

VertexFigureGrowth::~VertexFigureGrowth()
{
    Clear();
}

VertexFigureGrowth::VertInfo& VertexFigureGrowth::Info(const Vert4D* vert)
{
    const auto serial = size_t(vert->mSerial);
    if (serial >= mInfos.size())
        mInfos.resize(serial + 1);
    return mInfos[serial];
}

Vert4D* VertexFigureGrowth::Reach(const Vec4D& point, int key)
{
    Vec4D pos = point;
    const double length = Vec4Length(pos);
    if (length > kDirTol)
        Vec4Scale(pos, mRho / length);
    Vert4D* vert = mPolytope.FindOrCreateVert(pos);
    if (!vert)
        return nullptr;
    if (!(vert->mFlags & kReached))
    {
        vert->mFlags |= kReached;
        Info(vert).key = key;
        mQueue.push_back(vert);
    }
    return vert;
}

int VertexFigureGrowth::ClassOf(const Face4D* face) const
{
    const auto it = mFaceClasses.find(face);
    return it == mFaceClasses.end() ? -1 : it->second;
}

int VertexFigureGrowth::MatchVertexFigureAt(Vert4D* vert)
{
    VertInfo& info = Info(vert);
    if (!info.figure)
    {
        info.figure = mTemplate.MakeLocalCopy();
        info.figure->mKey = info.key;
        vert->mVertFigure = info.figure.get();
    }
    LocalVertexFigure& figure = *info.figure;
    figure.ClearCandidates();
    vert->mFlags &= ~kMustRematch;

    Vec4D p = vert->mPos;
    if (!Unit(p))
        return 0;
    Vec4D e;
    Vec4ScaleTo(e, p, mW0);
    // The reference face: its two neighbours of the vertex must not lie on one line through e.
    const Face4D* reference = nullptr;
    Vec4D a, b;
    for (const Face4D* face : info.faces)
    {
        Vert4D* before = nullptr;
        Vert4D* after = nullptr;
        if (!NeighboursIn(face, vert, before, after))
            continue;
        Vec4Sub(a, before->mPos, e);
        Vec4Sub(b, after->mPos, e);
        if (!Unit(a) || Vec4Parallel(a, b, kPosTol))
            continue;
        Vec4AddScaledTo(b, -Vec4Dot(b, a), a);
        if (!Unit(b))
            continue;
        reference = face;
        break;
    }
    if (!reference)
        return 0;
    const int cls = ClassOf(reference);
    Vec4D c;
    Vec4Cross(c, p, a, b);
    if (!Unit(c))
        return 0;

    for (const TemplateVertex& r : figure.mVerts)
    {
        Vec3D o = r.mPos;
        if (!Vec3Normalize(o))
            continue;
        for (const TemplateEdge* edge : r.mEdges)
        {
            if (edge->mClass != cls)
                continue;
            Vec3D x = edge->GetOtherEnd(&r)->mPos;
            if (!Vec3Normalize(x) || Vec3Parallel(x, o, kPosTol))
                continue;
            Vec3AddScaledTo(x, -Vec3Dot(x, o), o);
            if (!Vec3Normalize(x))
                continue;
            Vec3D y;
            Vec3Cross(y, o, x);
            for (const double side : {1.0, -1.0})
            {
                auto placement = std::make_unique<VertexFigurePlacement>();
                placement->mCentre = e;
                for (int k = 0; k < 3; ++k)
                {
                    Vec4D& axis = placement->mAxes[k];
                    Vec4ScaleTo(axis, a, o[k]);
                    Vec4AddScaledTo(axis, x[k], b);
                    Vec4AddScaledTo(axis, side * y[k], c);
                }
                if (!FitVertexFigurePlacement(vert, *placement, false))
                    continue;
                bool known = false;
                for (const VertexFigurePlacement* q = figure.mFirstCandidate.get(); q && !known; q = q->mNext.get())
                    known = SamePlacement(figure, *placement, *q);
                if (known)
                    continue;
                // Mirrored against the seed, whose axes are the polytope's own x, y, z beside p.
                if (Det4(placement->mAxes[0], placement->mAxes[1], placement->mAxes[2], p) * SeedOrientation() < 0.0)
                    placement->mFlags |= VertexFigurePlacement::kMirrored;
                auto pairs = std::make_unique<VertexFigurePlacement::Pair[]>(1);
                pairs[0] = {const_cast<TemplateVertex*>(&r), nullptr, const_cast<TemplateEdge*>(edge),
                            const_cast<Face4D*>(reference)};
                placement->mPairs = std::move(pairs);
                placement->mNumPairs = 1;
                figure.AddCandidate(std::move(placement));
            }
        }
    }
    return figure.mNumCandidates;
}

void VertexFigureGrowth::RetestCandidates(Vert4D* vert)
{
    VertInfo& info = Info(vert);
    vert->mFlags &= ~kMustRematch;
    if (!info.figure)
        return;
    LocalVertexFigure& figure = *info.figure;
    std::unique_ptr<VertexFigurePlacement>* link = &figure.mFirstCandidate;
    while (*link)
    {
        if (FitVertexFigurePlacement(vert, **link, false))
        {
            link = &(*link)->mNext;
            continue;
        }
        *link = std::move((*link)->mNext);
        --figure.mNumCandidates;
    }
}

bool VertexFigureGrowth::FitVertexFigurePlacement(Vert4D* vert, const VertexFigurePlacement& placement, bool apply)
{
    const LocalVertexFigure& figure = mTemplate;
    VertInfo& info = Info(vert);
    if (!apply)
    {
        for (const Face4D* face : info.faces)
        {
            Vert4D* before = nullptr;
            Vert4D* after = nullptr;
            if (!NeighboursIn(face, vert, before, after))
                return false;
            const int i = FindImage(figure, placement, before->mPos);
            const int j = FindImage(figure, placement, after->mPos);
            if (i < 0 || j < 0)
                return false;
            const TemplateEdge* edge = EdgeBetween(figure.mVerts[size_t(i)], figure.mVerts[size_t(j)]);
            if (!edge || edge->mClass != ClassOf(face) || edge->mN != face->mNumSides)
                return false;
        }
        return true;
    }

    const int key = info.key + 1;
    std::vector<Face4D*> edgeFaces(figure.mEdges.size(), nullptr);
    for (size_t g = 0; g < figure.mEdges.size(); ++g)
    {
        const TemplateEdge& edge = figure.mEdges[g];
        Vec4D pa, pb;
        placement.Map(pa, edge.mEnds[0]->mPos);
        placement.Map(pb, edge.mEnds[1]->mPos);
        Vert4D* va = Reach(pa, key);
        Vert4D* vb = Reach(pb, key);
        if (!va || !vb || va == vb || va == vert || vb == vert)
        {
            DebugTrace("Placement at vertex %d makes a degenerate face\n", Vert4D::GetNumber(vert));
            return false;
        }
        Face4D* found = nullptr;
        for (Face4D* face : Info(vert).faces)
        {
            Vert4D* before = nullptr;
            Vert4D* after = nullptr;
            if (NeighboursIn(face, vert, before, after) &&
                ((before == va && after == vb) || (before == vb && after == va)))
            {
                found = face;
                break;
            }
        }
        if (!found)
        {
            const int n = edge.mN;
            found = mPolytope.NewFace(n);
            found->mFlags |= edge.mClassBit;
            mFaceClasses[found] = edge.mClass;
            found->SetVert(0, vert);
            found->SetVert(1, vb);
            found->SetVert(n - 1, va);
            if (n > 3)
            {
                // The face's circle: from its centre toward the vertex, and toward its next corner.
                Vec4D mid, t, centre, side;
                Vec4Add(mid, va->mPos, vb->mPos);
                Vec4Scale(mid, 0.5);
                Vec4Sub(t, vert->mPos, mid);
                Unit(t);
                Vec4ScaleTo(centre, t, -edge.mRadius);
                Vec4Add(centre, centre, vert->mPos);
                const double length = Vec4Length(centre);
                if (edge.mPlaneDistance == 0.0 || length < kDirTol)
                    Vec4Set(centre, 0.0, 0.0, 0.0, 0.0);
                else
                    Vec4Scale(centre, edge.mPlaneDistance / length);
                Vec4Sub(side, vb->mPos, centre);
                Vec4AddScaledTo(side, -Vec4Dot(side, t), t);
                Unit(side);
                for (int k = 2; k <= n - 2; ++k)
                {
                    double s = 0.0;
                    double co = 1.0;
                    SineTable::SinCos(k * edge.mD, n, s, co);
                    Vec4D q = centre;
                    Vec4AddScaledTo(q, edge.mRadius * co, t);
                    Vec4AddScaledTo(q, edge.mRadius * s, side);
                    Vert4D* corner = Reach(q, key);
                    if (!corner)
                        return false;
                    found->SetVert(k, corner);
                }
            }
            for (int k = 0; k < n; ++k)
            {
                Vert4D* corner = found->mVerts[size_t(k)];
                std::vector<Face4D*>& faces = Info(corner).faces;
                if (std::find(faces.begin(), faces.end(), found) == faces.end())
                    faces.push_back(found);
                if (corner != vert)
                    corner->mFlags |= kMustRematch;
            }
        }
        edgeFaces[g] = found;
    }
    VertInfo& placed = Info(vert);
    placed.centre = placement.mCentre;
    for (int k = 0; k < 3; ++k)
        placed.axes[k] = placement.mAxes[k];
    placed.edgeFaces = std::move(edgeFaces);
    vert->mFlags |= (placement.mFlags & VertexFigurePlacement::kMirrored) ? kPlacedMirrored : kPlaced;
    mPlaced.push_back(vert);
    return true;
}

int VertexFigureGrowth::CountLandings(const VertexFigurePlacement& placement) const
{
    int count = 0;
    for (const TemplateVertex& v : mTemplate.mVerts)
    {
        Vec4D image;
        placement.Map(image, v.mPos);
        const double length = Vec4Length(image);
        if (length > kDirTol)
            Vec4Scale(image, mRho / length);
        if (mPolytope.FindVert(image))
            ++count;
    }
    return count;
}

void VertexFigureGrowth::MakeCells()
{
    const int numTemplateFaces = int(mTemplate.mFaces.size());
    // One slot per placed vertex and figure face; the slots of one cell are joined.
    const int numSlots = int(mPlaced.size()) * numTemplateFaces;
    std::vector<int> parent(static_cast<size_t>(numSlots));
    std::iota(parent.begin(), parent.end(), 0);
    struct Incidence
    {
        int slot;
        Vec4D normal;
        double offset;
    };
    std::unordered_map<const Face4D*, std::vector<Incidence>> around;
    for (size_t pi = 0; pi < mPlaced.size(); ++pi)
    {
        const VertInfo& info = Info(mPlaced[pi]);
        VertexFigurePlacement placement;
        placement.mCentre = info.centre;
        for (int k = 0; k < 3; ++k)
            placement.mAxes[k] = info.axes[k];
        std::vector<Vec4D> normals(static_cast<size_t>(numTemplateFaces));
        std::vector<double> offsets(size_t(numTemplateFaces), 0.0);
        std::vector<bool> valid(size_t(numTemplateFaces), false);
        for (int f = 0; f < numTemplateFaces; ++f)
            valid[size_t(f)] = CellPlane(placement, mTemplate.mFaces[size_t(f)], mPlaced[pi]->mPos, normals[size_t(f)],
                                         offsets[size_t(f)]);
        for (size_t g = 0; g < info.edgeFaces.size(); ++g)
        {
            const TemplateEdge& edge = mTemplate.mEdges[g];
            for (const TemplateFace* tf : edge.mFaces)
            {
                const auto f = size_t(tf - mTemplate.mFaces.data());
                if (valid[f])
                    around[info.edgeFaces[g]].push_back({int(pi) * numTemplateFaces + int(f), normals[f], offsets[f]});
            }
        }
    }
    const double tol = 1e-6 * std::max(1.0, mRho);
    for (auto& [face, list] : around)
        for (size_t i = 0; i < list.size(); ++i)
            for (size_t j = i + 1; j < list.size(); ++j)
            {
                if (Vec4Equal(list[i].normal, list[j].normal, 1e-6) && std::fabs(list[i].offset - list[j].offset) < tol)
                    parent[size_t(Find(parent, list[i].slot))] = Find(parent, list[j].slot);
            }
    // The faces of each cell in the order met, walking the faces in list order.
    std::unordered_map<int, std::vector<Face4D*>> cellFaces;
    std::vector<int> roots;
    for (Face4D* face = Lists4D::FirstFace(mPolytope); face; face = Lists4D::Next(face))
    {
        const auto it = around.find(face);
        if (it == around.end())
            continue;
        for (const Incidence& inc : it->second)
        {
            const int root = Find(parent, inc.slot);
            std::vector<Face4D*>& faces = cellFaces[root];
            if (faces.empty())
                roots.push_back(root);
            if (std::find(faces.begin(), faces.end(), face) == faces.end())
                faces.push_back(face);
        }
    }
    for (const int root : roots)
    {
        const std::vector<Face4D*>& faces = cellFaces[root];
        Cell4D* cell = mPolytope.NewCell(int(faces.size()));
        for (size_t i = 0; i < faces.size(); ++i)
            cell->SetFace(int(i), faces[i]);
        const FaceVert* source = mTemplate.mFaces[size_t(root % numTemplateFaces)].mFace;
        if (source)
            cell->mColor = ColorToRGB(source->mColor);
    }
}

void VertexFigureGrowth::Clear()
{
    for (Vert4D* vert = Lists4D::FirstVert(mPolytope); vert; vert = Lists4D::Next(vert))
    {
        vert->mVertFigure = nullptr;
        vert->mFlags &= ~kMarks;
    }
    mInfos.clear();
    mQueue.clear();
}
