#include "kernel/Messages.h"
#include "model/SimplePoly.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <tuple>
#include <unordered_set>
#include <vector>

namespace
{
// True when walking the ring from start comes back to start before meeting any element twice.
template <class Elem, class Next>
bool RingCloses(const Elem* start, Next next)
{
    std::unordered_set<const Elem*> seen;
    const Elem* e = start;
    do
    {
        if (!e || !seen.insert(e).second)
            return false;
        e = next(e);
    } while (e != start);
    return true;
}

// The vertices of the search tree in its order: finite before infinite, then by x, y and z.
void DumpTree(std::vector<const SimpleVert*> verts)
{
    auto key = [](const SimpleVert* v) {
        return std::make_tuple((v->mFlags & SimpleElem::kInf) != 0, v->mPos.x, v->mPos.y, v->mPos.z, v);
    };
    std::sort(verts.begin(), verts.end(), [&](const SimpleVert* a, const SimpleVert* b) { return key(a) < key(b); });
    for (const SimpleVert* vert : verts)
    {
        DebugTrace("  %d: (%g, %g, %g)%s%s%s\n", vert->GetIndex(), vert->mPos.x, vert->mPos.y, vert->mPos.z,
                   (vert->mFlags & SimpleElem::kDone) ? ", Done" : "", (vert->mFlags & SimpleElem::kTemp) ? ", Temp" : "",
                   (vert->mFlags & SimpleElem::kInf) ? " Inf" : "");
    }
}
}  // namespace

void SimplePoly::Dump(const SimplePoly* poly)
{
    if (!poly)
    {
        DebugTrace("\nSimplePoly: NULL\n");
        return;
    }
    DebugTrace("\nSimplePoly '%s': %d verts, %d faces, scale %g\n", poly->mName.c_str(), poly->mNumVerts,
               poly->mNumFaces, poly->mScale);

    std::string flags = "  Flags:";
    static const struct
    {
        uint32_t bit;
        const char* name;
    } kFlagNames[] = {{kHasVertFaceLists, " HasVertFaceLists,"}, {kSortedFaceLists, " SortedFaceLists,"},
                      {kWantNewColors, " WantNewColors,"},       {kIsOk, " IsOk,"},
                      {kKeepOrientation, " KeepOrientation,"},   {kKeepCentre, " KeepCentre,"}};
    for (const auto& f : kFlagNames)
    {
        if (poly->mFlags & f.bit)
            flags += f.name;
    }
    DebugTrace("%s\n", flags.c_str());

    DebugTrace("  Sorted vertices:\n");
    if (poly->mVertTree)
        DumpTree(poly->mVertGrid.Entries());

    DebugTrace("  Vertices:\n");
    for (int i = 0; i < poly->mNumVerts; ++i)
    {
        const SimpleVert& v = poly->mVerts[i];
        std::string line = "    " + std::to_string(i) + ": (";
        char buffer[160];
        std::snprintf(buffer, sizeof buffer, "%g, %g, %g), id %d, nextOfType %d, coinc %d", v.mPos.x, v.mPos.y,
                      v.mPos.z, v.mId, v.mNextOfType ? v.mNextOfType->GetIndex() : -1,
                      SimpleVert::GetIndex(v.mNextCoincident));
        line += buffer;
        if (!RingCloses<SimpleElem>(&v, [](const SimpleElem* e) { return e->mNextOfType; }))
            line += ", BAD_TYPE_LIST!";
        if (!RingCloses<SimpleVert>(&v, [](const SimpleVert* e) { return e->mNextCoincident; }))
            line += ", BAD_COINC_LIST!";
        line += ", " + std::to_string(v.mNum) + " faces:";
        for (int k = 0; k < v.mNum; ++k)
            line += " " + std::to_string(SimpleFace::GetIndex(v.GetFace(k)));
        DebugTrace("%s\n", line.c_str());
    }

    DebugTrace("  Faces:\n");
    for (int i = 0; i < poly->mNumFaces; ++i)
    {
        const SimpleFace& f = poly->mFaces[i];
        std::string line = "    " + std::to_string(i) + " (" + std::to_string(f.GetLiveIndex()) + ")";
        if (f.mDensity != 1)
            line += "/" + std::to_string(f.mDensity);
        line += ":";
        for (int k = 0; k < f.mNum; ++k)
            line += " " + std::to_string(SimpleVert::GetIndex(f.GetVert(k)));
        char buffer[200];
        std::snprintf(buffer, sizeof buffer, " n(%.2g, %.2g, %.2g), id %d, Flags 0x%x%s%s", f.mNormal.x, f.mNormal.y,
                      f.mNormal.z, f.mId, f.mFlags, (f.mFlags & SimpleElem::kTemp) ? ", Temp" : "",
                      (f.mFlags & SimpleElem::kHidden) ? ", Hidden" : "");
        line += buffer;
        if (f.mRots != 1)
            line += ", " + std::to_string(f.mRots) + " rots";
        if (!f.mText.empty())
            line += ", '" + f.mText + "'";
        DebugTrace("%s\n", line.c_str());
    }

    DebugTrace("  Edges:\n");
    for (int i = 0; i < poly->mNumEdges; ++i)
    {
        const SimpleEdge& e = poly->mEdges[i];
        DebugTrace("    %d: verts %d-%d, faces %d-%d\n", i, SimpleVert::GetIndex(e.mVerts[0]),
                   SimpleVert::GetIndex(e.mVerts[1]), SimpleFace::GetIndex(e.mFaces[0]),
                   SimpleFace::GetIndex(e.mFaces[1]));
    }
}
