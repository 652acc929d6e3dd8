#include "LibraryStateFixture.h"

#include "kernel/ScriptedServices.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"
#include "stellation/FaceType.h"
#include "stellation/Stellation.h"
#include "stellation/StellationCell.h"
#include "stellation/StellationFacet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

namespace
{
class StellationSurveyTest : public LibraryStateTest
{
};

// A cell's sides as labels, each central facet side written as the lesser of itself and its hemi
// partner's other side: the same half-plane either way.
std::set<std::string> CellSides(const StellationCell* cell, bool mirrored)
{
    std::set<std::string> out;
    for (int i = 0; i < cell->GetNumFacets(); ++i)
    {
        StellationFacet* f = cell->mFacets[size_t(i)];
        int side = i < cell->mNumLower ? 0 : 1;
        if (mirrored)
        {
            StellationFacet* m = f->GetMirror();
            if (m->mFaceType && (m->mFaceType->mFlags & kFaceTypeMirrorReversed))
                side = 1 - side;
            f = m;
        }
        std::string label = StellationFacet::GetLabel(f) + "/" + std::to_string(side);
        if (f->mHemiPartner && f->mHemiPartner != f)
            label = std::min(label, StellationFacet::GetLabel(f->mHemiPartner) + "/" + std::to_string(1 - side));
        out.insert(label);
    }
    return out;
}
}  // namespace

// The stellation of both sides of every uniform row with a symmetry group builds its cells without
// an internal error, and on a reflexible model the mirror image of every cell is a cell. Before the
// vertex types of the doubly wrapped rows were orbits, the dual side of the great disnub
// dirhombidodecahedron found no cell and said nothing; the own side of the great
// dirhombicosidodecahedron, whose squares pass through the centre, took the wrong side of a facet
// met across the edge of the diagram and built a cell twice.
TEST_F(StellationSurveyTest, EveryUniformRowStellatesOnBothSides)
{
    int built = 0;
    for (int position = 0; position < 105; ++position)
    {
        const LibraryEntry& row = Row(position);
        if (row.mFlags & LibraryEntry::kParametricFamily)
            continue;
        for (int dual = 0; dual < 2; ++dual)
        {
            SCOPED_TRACE(std::to_string(position) + " " + row.mName + (dual ? ", dual" : ""));
            ScopedScriptedServices scripted;
            PolyTemplate templ;
            Poly poly;
            if (!poly.CreateFromLibraryEntry(&templ, &row, false) || !poly.mGroup)
                continue;
            scripted.services.Clear();
            Stellation* st = dual ? poly.GetVertStellation() : poly.GetFaceStellation();
            poly.CreateStellation(st, kStellationBuilt);
            for (const ScriptedServices::Call& call : scripted.services.calls)
                EXPECT_NE(call.caption, "Internal Error") << call.text;
            if (!st->IsBuilt())
            {
                ADD_FAILURE() << "not built";
                continue;
            }
            ++built;
            EXPECT_GE(st->GetNumCellsTotal(), 1);
            if (!poly.mReflexible)
                continue;
            std::set<std::set<std::string>> cells;
            for (const StellationCell* cell = st->mFirstCell; cell; cell = cell->next)
                cells.insert(CellSides(cell, false));
            for (const StellationCell* cell = st->mFirstCell; cell; cell = cell->next)
                EXPECT_EQ(cells.count(CellSides(cell, true)), 1u) << "cell " << cell->mIndex;
        }
    }
    EXPECT_EQ(built, 2 * 103);
}
