#include "polytope4d/Polytope4D.h"

#include "kernel/Intersect2D.h"
#include "kernel/Messages.h"
#include "kernel/Tolerance.h"
#include "kernel/Vec2D.h"
#include "polytope4d/ElementLists4D.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <unordered_map>
#include <vector>

// The classification steps of the completion: winding of faces, coincident vertices, corealmic
// cells and the four kinds of element type; and the rarest type, which the automatic projection
// direction looks along.
//
// Sorting: every order here compares with tolerances, which is no strict weak order. The sorts are
// stable merge sorts, which never read outside the range whatever the comparisons answer, and leave
// elements that compare equal in list order; groups are then formed against each group's first.

using namespace Lists4D;

namespace
{
// Lexicographic over the values, those within tol counting as equal.
bool TolerantLess(const double* a, const double* b, int count, double tol)
{
    for (int i = 0; i < count; ++i)
    {
        if (a[i] < b[i] - tol)
            return true;
        if (a[i] > b[i] + tol)
            return false;
    }
    return false;
}

// Links the elements into a ring through the link member; a single element keeps null.
template <class Elem>
void LinkRing(Elem* const* run, size_t count, Elem* Elem::*link)
{
    if (count < 2)
        return;
    for (size_t i = 0; i < count; ++i)
        run[i]->*link = run[(i + 1) % count];
}

// Sorts the keyed elements and appends one type per group, in sorted order: each group starts a
// new type and takes the elements that `same` finds alike to its first.
template <class Type, class Item, class Less, class Same>
void GroupIntoTypes(std::vector<Item>& items, Less less, Same same, Type*& head, Type*& tail)
{
    std::stable_sort(items.begin(), items.end(), less);
    Type* type = nullptr;
    const Item* leader = nullptr;
    for (const Item& item : items)
    {
        if (!leader || !same(*leader, item))
        {
            type = new Type;
            ListAppend(type, head, tail);
            leader = &item;
        }
        type->AddMember(item.elem);
    }
}

// 0-based positions of the type records in their list.
template <class Type>
std::unordered_map<const Type*, int> TypePositions(const Type* first)
{
    std::unordered_map<const Type*, int> positions;
    int i = 0;
    for (const Type* t = first; t; t = t->next)
        positions[t] = i++;
    return positions;
}

template <class Type>
int PositionOf(const std::unordered_map<const Type*, int>& positions, const Type* type)
{
    const auto found = positions.find(type);
    return found == positions.end() ? -1 : found->second;
}

double DistanceSq(const Vec4D& a, const Vec4D& b)
{
    Vec4D d;
    Vec4Sub(d, a, b);
    return Vec4LengthSq(d);
}
}  // namespace

void Polytope4D::SetNumWraps()
{
    TraceScope trace("Polytope4D::SetNumWraps");
    for (Face4D* face = FirstFace(*this); face; face = Next(face))
    {
        const int n = face->mNumSides;
        if (n < 5)
            continue;
        int u = 0, v = 1;
        if (!FacePlaneAxes4D(face->mVerts[0]->mPos, face->mVerts[1]->mPos, face->mVerts[2]->mPos, u, v))
            continue;
        auto side = [&](int i) {
            const Vec4D& p = face->mVerts[i]->mPos;
            const Vec4D& q = face->mVerts[(i + 1) % n]->mPos;
            return Vec2D{q[u] - p[u], q[v] - p[v]};
        };
        Vec2D previous = side(n - 1);
        int quadrant = Quadrant2D(previous);
        int quarterTurns = 0;
        for (int i = 0; i < n; ++i)
            quarterTurns += WindingStep(side(i), previous, quadrant, kTol);
        const int total = std::abs(quarterTurns);
        face->mNumWraps = std::max(1, total / 4);
        if (total % 4 != 0)
            ErrorMessage("totalQuadrants %d", total);
    }
}

void Polytope4D::FindCoincidentVerts()
{
    TraceScope trace("Polytope4D::FindCoincidentVerts");
    std::vector<Vert4D*> verts;
    for (Vert4D* vert = FirstVert(*this); vert; vert = Next(vert))
    {
        vert->mNextCoincident = nullptr;
        verts.push_back(vert);
    }
    std::stable_sort(verts.begin(), verts.end(), [](const Vert4D* a, const Vert4D* b) {
        const double pa[4] = {a->mPos.x, a->mPos.y, a->mPos.z, a->mPos.w};
        const double pb[4] = {b->mPos.x, b->mPos.y, b->mPos.z, b->mPos.w};
        return TolerantLess(pa, pb, 4, kTol);
    });
    for (size_t i = 0; i < verts.size();)
    {
        size_t j = i + 1;
        while (j < verts.size() && Vec4Equal(verts[j]->mPos, verts[i]->mPos, kTol))
            ++j;
        LinkRing(&verts[i], j - i, &Vert4D::mNextCoincident);
        i = j;
    }
}

void Polytope4D::FindCorealmicCells()
{
    TraceScope trace("Polytope4D::FindCorealmicCells");
    struct Item
    {
        Cell4D* cell;
        Hyperplane plane;
    };
    std::vector<Item> items;
    for (Cell4D* cell = FirstCell(*this); cell; cell = Next(cell))
    {
        cell->mNextCorealmic = nullptr;
        if (!cell->HasPlane())
            continue;
        // One sign for both orientations of a hyperplane: the first clear normal component positive.
        Hyperplane plane = cell->mPlane;
        for (int axis = 0; axis < 4; ++axis)
        {
            if (!IsZeroTol(plane.n[axis], kTol))
            {
                if (plane.n[axis] < 0.0)
                    HyperplaneNegate(plane);
                break;
            }
        }
        items.push_back({cell, plane});
    }
    std::stable_sort(items.begin(), items.end(),
                     [](const Item& a, const Item& b) { return HyperplaneCompare(a.plane, b.plane, kTol) < 0; });
    std::vector<Cell4D*> run;
    for (size_t i = 0; i < items.size();)
    {
        Hyperplane flipped;
        HyperplaneNeg(flipped, items[i].plane);
        run.assign(1, items[i].cell);
        size_t j = i + 1;
        while (j < items.size() && (HyperplaneEqual(items[j].plane, items[i].plane, kTol) ||
                                    HyperplaneEqual(items[j].plane, flipped, kTol)))
            run.push_back(items[j++].cell);
        LinkRing(run.data(), run.size(), &Cell4D::mNextCorealmic);
        i = j;
    }
}

void Polytope4D::SetCellTypes()
{
    TraceScope trace("Polytope4D::SetCellTypes");
    if (mFirstCellType)
        return;
    struct Item
    {
        Cell4D* elem;
        int faces, edges, verts, signature;
        double radius, d;
    };
    std::vector<Item> items;
    for (Cell4D* cell = FirstCell(*this); cell; cell = Next(cell))
    {
        int signature = 0;
        for (int i = 0; i < cell->mNumFaces; ++i)
        {
            if (const Cell4D* neighbour = cell->GetNeighbour(i))
                signature += neighbour->mNumFaces;
        }
        items.push_back({cell, cell->mNumFaces, cell->mNumEdges, cell->mNumVerts, signature, cell->mRadius,
                         cell->mPlane.d});
    }
    GroupIntoTypes(
        items,
        [](const Item& a, const Item& b) {
            if (a.faces != b.faces)
                return a.faces < b.faces;
            if (a.edges != b.edges)
                return a.edges < b.edges;
            if (a.verts != b.verts)
                return a.verts < b.verts;
            if (a.signature != b.signature)
                return a.signature < b.signature;
            if (!WithinTol(a.radius, b.radius, k4DTol))
                return a.radius < b.radius;
            return a.d < b.d;
        },
        [](const Item& lead, const Item& x) {
            return x.signature == lead.signature && x.verts == lead.verts && x.edges == lead.edges &&
                   x.faces == lead.faces && WithinTol(x.d, lead.d, k4DTol) && WithinTol(x.radius, lead.radius, k4DTol);
        },
        mFirstCellType, mLastCellType);
    // A cell hyperplane through the centre has no pole: the dual would need a vertex at infinity.
    for (CellType4D* type = mFirstCellType; type; type = type->next)
    {
        if (!type->mFirst || !type->mFirst->HasPlane() || !IsZeroTol(type->mFirst->mPlane.d, kTol))
            continue;
        mFlags |= kNoFiniteDual;
        for (Cell4D* cell = type->mFirst; cell; cell = cell->mNextOfType)
            cell->mFlags |= Cell4D::kThroughCentre;
    }
}

void Polytope4D::SetVertTypes()
{
    TraceScope trace("Polytope4D::SetVertTypes");
    if (mFirstVertType)
        return;
    struct Item
    {
        Vert4D* elem;
        int faces, edges, cells, signature;
        double toCentres, distanceSq;
    };
    std::vector<Item> items;
    for (Vert4D* vert = FirstVert(*this); vert; vert = Next(vert))
    {
        int signature = 0;
        for (int i = 0; i < vert->mNumEdges; ++i)
        {
            if (const Vert4D* other = vert->GetNeighbour(i))
                signature += other->mNumEdges;
        }
        double toCentres = 0.0;
        for (int i = 0; i < vert->mNumCells; ++i)
            toCentres += DistanceSq(vert->mPos, vert->mCells[i]->mCentre);
        items.push_back({vert, vert->mNumFaces, vert->mNumEdges, vert->mNumCells, signature, toCentres,
                         Vec4LengthSq(vert->mPos)});
    }
    GroupIntoTypes(
        items,
        [](const Item& a, const Item& b) {
            if (a.faces != b.faces)
                return a.faces < b.faces;
            if (a.edges != b.edges)
                return a.edges < b.edges;
            if (a.cells != b.cells)
                return a.cells < b.cells;
            if (a.signature != b.signature)
                return a.signature < b.signature;
            if (!WithinTol(a.toCentres, b.toCentres, kTol))
                return a.toCentres < b.toCentres;
            return a.distanceSq < b.distanceSq;
        },
        [](const Item& lead, const Item& x) {
            return x.signature == lead.signature && x.cells == lead.cells && x.edges == lead.edges &&
                   x.faces == lead.faces && WithinTol(x.toCentres, lead.toCentres, kTol) &&
                   WithinTol(x.distanceSq, lead.distanceSq, kTol);
        },
        mFirstVertType, mLastVertType);
}

void Polytope4D::SetEdgeTypes()
{
    TraceScope trace("Polytope4D::SetEdgeTypes");
    if (mFirstEdgeType)
        return;
    const std::unordered_map<const VertType4D*, int> vertTypes = TypePositions(mFirstVertType);
    struct Item
    {
        Edge4D* elem;
        int faces, firstType, secondType, signature;
        double lengthSq;
    };
    std::vector<Item> items;
    for (Edge4D* edge = FirstEdge(*this); edge; edge = Next(edge))
    {
        int first = PositionOf(vertTypes, edge->mVerts[0]->mType);
        int second = PositionOf(vertTypes, edge->mVerts[1]->mType);
        if (second < first)
        {
            std::swap(edge->mVerts[0], edge->mVerts[1]);
            std::swap(first, second);
        }
        int signature = 0;
        for (int k = 0; edge->mCells && k < edge->mNumFaces; ++k)
        {
            if (const Cell4D* cell = edge->mCells[k])
                signature += cell->mNumFaces;
        }
        items.push_back({edge, edge->mNumFaces, first, second, signature, edge->GetLengthSq()});
    }
    GroupIntoTypes(
        items,
        [](const Item& a, const Item& b) {
            if (a.faces != b.faces)
                return a.faces < b.faces;
            if (a.firstType != b.firstType)
                return a.firstType < b.firstType;
            if (a.secondType != b.secondType)
                return a.secondType < b.secondType;
            if (a.signature != b.signature)
                return a.signature < b.signature;
            return a.lengthSq < b.lengthSq;
        },
        [](const Item& lead, const Item& x) {
            return x.signature == lead.signature && x.firstType == lead.firstType && x.secondType == lead.secondType &&
                   x.faces == lead.faces && WithinTol(x.lengthSq, lead.lengthSq, kTol);
        },
        mFirstEdgeType, mLastEdgeType);
}

void Polytope4D::SetFaceTypes()
{
    TraceScope trace("Polytope4D::SetFaceTypes");
    if (mFirstFaceType)
        return;
    const std::unordered_map<const CellType4D*, int> cellTypes = TypePositions(mFirstCellType);
    struct Item
    {
        Face4D* elem;
        int sides, cells, signature, firstType, secondType;
        double centreSq;
    };
    std::vector<Item> items;
    for (Face4D* face = FirstFace(*this); face; face = Next(face))
    {
        // The face between types A and B is alike to one between B and A.
        int first = face->mNumCells > 0 && face->mCells[0] ? PositionOf(cellTypes, face->mCells[0]->mType) : -1;
        int second = face->mNumCells > 1 && face->mCells[1] ? PositionOf(cellTypes, face->mCells[1]->mType) : -1;
        if (second < first)
            std::swap(first, second);
        int signature = 0;
        for (int k = 0; k < face->mNumSides; ++k)
        {
            if (const Edge4D* edge = face->mEdges[k])
                signature += edge->mNumFaces;
        }
        Vec4D centre;
        face->GetCentre(centre);
        items.push_back({face, face->mNumSides, face->mNumCells, signature, first, second, Vec4LengthSq(centre)});
    }
    GroupIntoTypes(
        items,
        [](const Item& a, const Item& b) {
            if (a.sides != b.sides)
                return a.sides < b.sides;
            if (a.cells != b.cells)
                return a.cells < b.cells;
            if (a.signature != b.signature)
                return a.signature < b.signature;
            if (a.firstType != b.firstType)
                return a.firstType < b.firstType;
            if (a.secondType != b.secondType)
                return a.secondType < b.secondType;
            return a.centreSq < b.centreSq;
        },
        [](const Item& lead, const Item& x) {
            return x.signature == lead.signature && x.cells == lead.cells && x.sides == lead.sides &&
                   x.firstType == lead.firstType && x.secondType == lead.secondType &&
                   WithinTol(x.centreSq, lead.centreSq, kTol);
        },
        mFirstFaceType, mLastFaceType);
}

namespace
{
// 1 plus the other members of the element's ring that share its type: a type whose members come
// in coincident or corealmic groups counts each group once.
template <class Elem>
int RingShare(const Elem* first, Elem* Elem::*link, int limit)
{
    int share = 1;
    for (const Elem* e = first->*link; e && e != first && limit-- > 0; e = e->*link)
    {
        if (e->mType == first->mType)
            ++share;
    }
    return share;
}
}  // namespace

Element4D* Polytope4D::FindRarestMember(bool nearest)
{
    CellType4D* bestCellType = nullptr;
    VertType4D* bestVertType = nullptr;
    int bestRarity = INT_MAX;
    int bestCount = 0;
    // Fewest members first; among equally rare ones, the element with the most faces (a cell) or
    // edges (a vertex).
    for (CellType4D* type = mFirstCellType; type; type = type->next)
    {
        if (!type->mFirst)
            continue;
        const int rarity = type->mCount / RingShare(type->mFirst, &Cell4D::mNextCorealmic, mNumCells);
        if (rarity < bestRarity || (rarity == bestRarity && type->mFirst->mNumFaces > bestCount))
        {
            bestRarity = rarity;
            bestCount = type->mFirst->mNumFaces;
            bestCellType = type;
        }
    }
    for (VertType4D* type = mFirstVertType; type; type = type->next)
    {
        if (!type->mFirst)
            continue;
        const int rarity = type->mCount / RingShare(type->mFirst, &Vert4D::mNextCoincident, mNumVerts);
        if (rarity < bestRarity || (rarity == bestRarity && type->mFirst->mNumEdges > bestCount))
        {
            bestRarity = rarity;
            bestCount = type->mFirst->mNumEdges;
            bestVertType = type;
        }
    }
    if (bestVertType)
    {
        Vert4D* best = bestVertType->mFirst;
        for (Vert4D* vert = best; nearest && vert; vert = vert->mNextOfType)
        {
            if (std::fabs(vert->mPos.w) < std::fabs(best->mPos.w))
                best = vert;
        }
        return best;
    }
    if (bestCellType)
    {
        Cell4D* best = bestCellType->mFirst;
        for (Cell4D* cell = best; nearest && cell; cell = cell->mNextOfType)
        {
            if (std::fabs(cell->mPlane.n.w) < std::fabs(best->mPlane.n.w))
                best = cell;
        }
        return best;
    }
    return nullptr;
}
