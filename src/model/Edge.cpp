#include "model/Edge.h"

#include "model/ElementDisplayOptions.h"
#include "model/Face.h"
#include "model/Poly.h"
#include "model/Vert.h"

Edge::Edge()
{
    mColor = GetElementDisplayOptions().mDefaultEdgeColor;
}

Edge::~Edge()
{
    SetText(this, nullptr);
}

int Edge::GetIndex(const Edge* edge, const Poly* poly)
{
    if (!edge || !poly || !poly->mEdges.items)
        return -1;
    const Edge* first = poly->mEdges.begin();
    if (edge < first || edge >= poly->mEdges.end())
        return -1;
    return int(edge - first);
}

bool Edge::Touches(const PolyElement* element) const
{
    return element && (element == mVerts[0] || element == mVerts[1] || element == mFaces[0] || element == mFaces[1]);
}

Vert* Edge::GetOtherVert(const Edge* edge, const Vert* vert)
{
    if (!edge)
        return nullptr;
    if (vert == edge->mVerts[0])
        return edge->mVerts[1];
    return edge->mVerts[0];
}

Face* Edge::GetOtherFace(const Edge* edge, const Face* face)
{
    if (!edge)
        return nullptr;
    if (face == edge->mFaces[0])
        return edge->mFaces[1];
    return edge->mFaces[0];
}

FaceVert* Edge::GetOther(const FaceVert* element) const
{
    if (element && element->IsVert())
        return GetOtherVert(this, static_cast<const Vert*>(element));
    if (element && element->IsFace())
        return GetOtherFace(this, static_cast<const Face*>(element));
    return nullptr;
}

std::array<FaceVert*, 2> Edge::GetVerts(bool dual) const
{
    if (dual)
        return {mFaces[0], mFaces[1]};
    return {mVerts[0], mVerts[1]};
}

std::array<FaceVert*, 2> Edge::GetFaces(bool dual) const
{
    return GetVerts(!dual);
}

FaceVert* Edge::GetEnd(bool dual, int i) const
{
    return dual ? static_cast<FaceVert*>(mFaces[i]) : static_cast<FaceVert*>(mVerts[i]);
}

FaceVert* Edge::GetSide(bool dual, int i) const
{
    return GetEnd(!dual, i);
}

int EdgeType::GetIndex(const EdgeType* type, const Poly* poly)
{
    if (!type || !poly || !poly->mEdgeTypes.items)
        return -1;
    const EdgeType* first = poly->mEdgeTypes.begin();
    if (type < first || type >= poly->mEdgeTypes.end())
        return -1;
    return int(type - first);
}
