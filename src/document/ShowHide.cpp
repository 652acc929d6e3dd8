#include "document/ShowHide.h"

#include "model/Edge.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "polytope4d/Element4D.h"
#include "polytope4d/Polytope4D.h"
#include "stellation/FaceType.h"
#include "stellation/Stellation.h"

#include <algorithm>
#include <cstdio>

namespace
{
bool SameColor(const ColorRGB& a, const ColorRGB& b)
{
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

bool Hidden(const FaceVert* e)
{
    return (e->mFlags & FaceVert::kHidden) != 0;
}

void SetHidden(FaceVert* e, bool hidden)
{
    e->mFlags = hidden ? e->mFlags | FaceVert::kHidden : e->mFlags & ~FaceVert::kHidden;
}

void SetHidden(Edge* e, bool hidden)
{
    e->mFlags = hidden ? e->mFlags | Edge::kHidden : e->mFlags & ~Edge::kHidden;
}

// The group rule on faces and vertices: flip is for Toggle.
void ApplyGroupRule(const std::vector<FaceVert*>& group, bool flip)
{
    if (flip)
    {
        for (FaceVert* e : group)
            SetHidden(e, !Hidden(e));
        return;
    }
    const bool anyHidden = std::any_of(group.begin(), group.end(), Hidden);
    for (FaceVert* e : group)
        SetHidden(e, !anyHidden);
}

bool ShowHideEdges(Poly& poly, Edge* chosen, ShowHideGroup group)
{
    const bool show = (chosen->mFlags & Edge::kHidden) != 0;
    if (group == ShowHideGroup::Single)
    {
        SetHidden(chosen, !show);
        return true;
    }
    const ColorRGB* chosenColor = PolyElement::GetColor(chosen);
    for (int i = 0; i < poly.mEdges.count; ++i)
    {
        Edge* e = poly.GetEdge(i);
        if (!e)
            continue;
        bool member = true;
        if (group == ShowHideGroup::Color)
        {
            const ColorRGB* color = PolyElement::GetColor(e);
            member = color == chosenColor || (color && chosenColor && SameColor(*color, *chosenColor));
        }
        else if (group == ShowHideGroup::Type)
            member = PolyElement::IsSameType(e, chosen);
        if (!member)
            continue;
        if (group == ShowHideGroup::Toggle)
            SetHidden(e, !(e->mFlags & Edge::kHidden));
        else
            SetHidden(e, !show);
    }
    return true;
}

bool ShowHide3D(Poly& poly, ShowHideGroup group)
{
    if (Edge* edge = poly.GetSelectedEdge();
        edge && group != ShowHideGroup::Plane && group != ShowHideGroup::CompoundPart)
        return ShowHideEdges(poly, edge, group);
    FaceVert* chosen = group == ShowHideGroup::Plane || group == ShowHideGroup::CompoundPart
                           ? poly.GetStellationFace()
                           : poly.GetSelectedFace();
    if (!chosen || !chosen->mList)
        return false;
    std::vector<FaceVert*> members;
    switch (group)
    {
    case ShowHideGroup::Single:
        SetHidden(chosen, !Hidden(chosen));
        return true;
    case ShowHideGroup::Plane:
    {
        FaceVert* e = chosen;
        int limit = chosen->mList->mCount + 1;
        do
        {
            members.push_back(e);
            e = e->mNextCoplanar;
        } while (e && e != chosen && --limit > 0);
        break;
    }
    case ShowHideGroup::CompoundPart:
    {
        std::vector<FaceVert*> buffer(size_t(poly.mFaces.mCount) + size_t(poly.mVerts.mCount) + 1);
        const int count = chosen->CollectConnected(buffer.data());
        for (int i = 0; i < count; ++i)
        {
            FaceVert* e = buffer[size_t(i)];
            e->mFlags &= ~FaceVert::kVisitMark;
            if (e->mList == chosen->mList)
                members.push_back(e);
        }
        break;
    }
    default:
        for (FaceVert* e = chosen->mList->mFirst; e; e = e->mNext)
            if ((group != ShowHideGroup::Color || SameColor(e->mColor, chosen->mColor)) &&
                (group != ShowHideGroup::Type || e->mFaceType == chosen->mFaceType))
                members.push_back(e);
        break;
    }
    ApplyGroupRule(members, group == ShowHideGroup::Toggle);
    return true;
}

// ---- 4D ----

template <class Elem>
bool Hidden4D(const Elem* e)
{
    return (e->mFlags & Element4D::kHidden) != 0;
}

void SetHidden4D(Vert4D* v, bool hidden)
{
    Vert4D::SetHidden(v, hidden);
}

void SetHidden4D(Cell4D* c, bool hidden)
{
    Cell4D::SetHidden(c, hidden);
}

void SetHidden4D(Edge4D* e, bool hidden)
{
    e->mFlags = hidden ? e->mFlags | Element4D::kHidden : e->mFlags & ~Element4D::kHidden;
}

// The elements of one kind from its list head that the test admits, under the group's rule: the
// chosen element's own state for edges, any hidden member for the others.
template <class Elem, class Test>
void ApplyRule4D(Element4D* first, Elem* chosen, bool edgeRule, ShowHideGroup group, Test admits)
{
    if (group == ShowHideGroup::Single)
    {
        SetHidden4D(chosen, !Hidden4D(chosen));
        return;
    }
    std::vector<Elem*> members;
    for (Element4D* e = first; e; e = e->next)
        if (admits(static_cast<Elem*>(e)))
            members.push_back(static_cast<Elem*>(e));
    if (group == ShowHideGroup::Toggle)
    {
        for (Elem* e : members)
            SetHidden4D(e, !Hidden4D(e));
        return;
    }
    const bool show = edgeRule ? Hidden4D(chosen)
                               : std::any_of(members.begin(), members.end(), [](Elem* e) { return Hidden4D(e); });
    for (Elem* e : members)
        SetHidden4D(e, !show);
}

bool ShowHide4D(Poly& poly, ShowHideGroup group)
{
    Polytope4D* shown = poly.GetShownPolytope4D();
    if (!shown || group == ShowHideGroup::Plane)
        return false;
    const Selection4D& selection = GetSelection4D();
    if (group == ShowHideGroup::CompoundPart)
    {
        Cell4D* cell = shown->GetCurrentCell(true);
        if (!cell || selection.mFace || selection.mEdge || selection.mVert)
            return false;
        // The part is found from the polytope's own current cell.
        Cell4D* current = shown->mCurrentCell;
        shown->mCurrentCell = cell;
        shown->MarkParts(true, false);
        shown->mCurrentCell = current;
        ApplyRule4D<Cell4D>(shown->mFirstCell, cell, false, ShowHideGroup::All,
                            [](Cell4D* c) { return (c->mFlags & Element4D::kMark) != 0; });
        shown->ClearMarks();
        return true;
    }
    if (Edge4D* edge = selection.mEdge)
    {
        ApplyRule4D<Edge4D>(shown->mFirstEdge, edge, true, group, [&](Edge4D* e) {
            return group == ShowHideGroup::Color ? Edge4D::GetColor(e) == Edge4D::GetColor(edge)
                   : group == ShowHideGroup::Type ? e->mType == edge->mType
                                                  : true;
        });
        return true;
    }
    if (Vert4D* vert = selection.mVert)
    {
        ApplyRule4D<Vert4D>(shown->mFirstVert, vert, false, group, [&](Vert4D* v) {
            return group == ShowHideGroup::Color ? Vert4D::GetColor(v) == Vert4D::GetColor(vert)
                   : group == ShowHideGroup::Type ? v->mType == vert->mType
                                                  : true;
        });
        return true;
    }
    Cell4D* cell = shown->GetCurrentCell(true);
    if (!cell)
        return false;
    ApplyRule4D<Cell4D>(shown->mFirstCell, cell, false, group, [&](Cell4D* c) {
        return group == ShowHideGroup::Color ? c->mColor == cell->mColor
               : group == ShowHideGroup::Type ? c->mType == cell->mType
                                              : true;
    });
    return true;
}

// ---- Stepping types ----

bool StepType3D(Poly& poly, int step, bool vertices, bool planeTypes)
{
    FaceVert* current = vertices ? poly.GetStellationVert() : poly.GetStellationFace();
    if (!current || !current->mFaceType)
        return false;
    Stellation* stellation = current->GetStellation();
    const int count = planeTypes ? stellation->GetNumPlaneTypes() : stellation->GetNumFaceTypes();
    const FaceType* type = current->mFaceType;
    if (planeTypes && type->mCoplanarSource)
        type = type->mCoplanarSource;
    const int start = FaceType::GetIndex(type);
    int index = start + step;
    if (index >= count || index < 0)
        index = step > 0 ? 0 : count - 1;
    FaceType* next = stellation->GetFaceType(index);
    if (step > 0 && planeTypes && next && next->IsCoplanarCopy())
        next = stellation->GetFaceType(0);
    if (!next || index == start || next == type || !next->mFirstFace)
        return false;
    if (poly.mSelectedElement)
        poly.SelectElement(next->mFirstFace, vertices);
    else
        stellation->SetSelectedFace(next->mFirstFace);
    return true;
}

template <class Type>
Type* StepTypeList(Type* first, Type* current, int step)
{
    if (step > 0)
        return current && current->next ? static_cast<Type*>(current->next) : first;
    Type* previous = nullptr;
    for (Type* t = first; t; t = static_cast<Type*>(t->next))
    {
        if (t == current && previous)
            return previous;
        previous = t;
    }
    return previous;  // the last
}

bool StepType4D(Poly& poly, int step, bool vertices)
{
    Polytope4D* shown = poly.GetShownPolytope4D();
    if (!shown)
        return false;
    if (vertices)
    {
        Vert4D* vert = GetSelection4D().mVert ? GetSelection4D().mVert : shown->mCurrentVert;
        VertType4D* next = StepTypeList(shown->mFirstVertType, vert ? vert->mType : nullptr, step);
        if (!next || !next->mFirst || (vert && next == vert->mType))
            return false;
        Vert4D::MakeCurrent(next->mFirst);
        return true;
    }
    Cell4D* cell = shown->GetCurrentCell(true);
    CellType4D* next = StepTypeList(shown->mFirstCellType, cell ? cell->mType : nullptr, step);
    if (!next || !next->mFirst || (cell && next == cell->mType))
        return false;
    Cell4D::MakeCurrent(next->mFirst);
    return true;
}
}  // namespace

bool ShowHideElements(Poly& poly, ShowHideGroup group)
{
    if (poly.mPolytope)
        return ShowHide4D(poly, group);
    return ShowHide3D(poly, group);
}

bool ShowHideAroundVertex(Poly& poly, bool includeCoincident)
{
    if (poly.mPolytope)
    {
        Polytope4D* shown = poly.GetShownPolytope4D();
        Vert4D* vert = GetSelection4D().mVert;
        if (!shown || !vert)
            return false;
        std::vector<Cell4D*> cells;
        for (int i = 0; i < vert->mNumCells; ++i)
            if (vert->mCells[size_t(i)])
                cells.push_back(vert->mCells[size_t(i)]);
        const bool anyHidden = std::any_of(cells.begin(), cells.end(), [](Cell4D* c) { return Hidden4D(c); });
        for (Cell4D* c : cells)
            Cell4D::SetHidden(c, !anyHidden);
        return true;
    }
    FaceVert* vert = poly.GetStellationVert();
    if (!vert || !vert->mList)
        return false;
    std::vector<FaceVert*> verts{vert};
    if (includeCoincident)
    {
        int limit = vert->mList->mCount + 1;
        for (FaceVert* e = vert->mNextCoplanar; e && e != vert && --limit > 0; e = e->mNextCoplanar)
            verts.push_back(e);
    }
    vert->GetStellation()->SetSelectedFace(vert);
    std::vector<FaceVert*> faces;
    for (const FaceVert* v : verts)
        for (int i = 0; i < v->mNumSides; ++i)
            if (FaceVert* face = v->mNeighbours[i];
                face && std::find(faces.begin(), faces.end(), face) == faces.end())
                faces.push_back(face);
    ApplyGroupRule(faces, false);
    return true;
}

std::string CoincidentVertexQuestion(int number, const std::vector<int>& others)
{
    const size_t count = others.size();
    char head[160];
    std::snprintf(head, sizeof head, "This vertex (index %d) is coincident with %d other%s\n(ind%s", number,
                  int(count), count > 1 ? "s" : "", count > 1 ? "ices" : "ex");
    std::string text = head;
    const size_t shown = std::min<size_t>(count, 10);
    for (size_t i = 0; i < shown; ++i)
    {
        if (i > 0)
            text += (i + 1 == count) ? " &" : ",";
        text += " " + std::to_string(others[i]);
    }
    if (count > shown)
        text += "...";
    text += ").\nShow/hide faces around those too?";
    return text;
}

bool StepSelectedType(Poly& poly, int step, bool vertices, bool planeTypes)
{
    if (poly.mPolytope)
        return StepType4D(poly, step, vertices);
    return StepType3D(poly, step, vertices, planeTypes);
}
