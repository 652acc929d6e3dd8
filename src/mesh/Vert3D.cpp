#include "mesh/Vert3D.h"

#include "mesh/Edge3D.h"

void Vert3D::AddEdge(Edge3D* edge)
{
    edge->mNextAtVert = mFirstEdge;
    mFirstEdge = edge;
}
