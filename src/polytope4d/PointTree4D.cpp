#include "polytope4d/PointTree4D.h"

#include "polytope4d/Element4D.h"

namespace
{
// -1 to go left, 1 to go right, 0 when pos matches the node's position in every coordinate.
int Compare(const Vec4D& pos, const Vec4D& node)
{
    for (int axis = 0; axis < 4; ++axis)
    {
        if (pos[axis] < node[axis] - PointTree4D::kTolerance)
            return -1;
        if (pos[axis] > node[axis] + PointTree4D::kTolerance)
            return 1;
    }
    return 0;
}
}  // namespace

PointTree4D::Walk PointTree4D::Locate(const Vec4D& pos) const
{
    Walk walk;
    int32_t i = mNodes.empty() ? -1 : 0;
    while (i >= 0)
    {
        const Node& node = mNodes[size_t(i)];
        const int order = Compare(pos, node.vert->mPos);
        if (order == 0)
        {
            walk.found = node.vert;
            return walk;
        }
        walk.parent = i;
        walk.right = order > 0;
        i = walk.right ? node.right : node.left;
    }
    return walk;
}

void PointTree4D::Attach(const Walk& walk, Vert4D* vert)
{
    const int32_t i = int32_t(mNodes.size());
    mNodes.push_back(Node{vert});
    if (walk.parent < 0)
        return;
    Node& parent = mNodes[size_t(walk.parent)];
    (walk.right ? parent.right : parent.left) = i;
}

Vert4D* PointTree4D::Find(const Vec4D& pos) const
{
    return Locate(pos).found;
}

bool PointTree4D::Insert(Vert4D* vert)
{
    const Walk walk = Locate(vert->mPos);
    if (walk.found)
        return false;
    Attach(walk, vert);
    return true;
}
