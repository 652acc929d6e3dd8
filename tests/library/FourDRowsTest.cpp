#include "LibraryStateFixture.h"

#include "kernel/ScriptedServices.h"
#include "library/LibraryEntry.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"
#include "polytope4d/Element4D.h"
#include "polytope4d/Polytope4D.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>

namespace
{
class FourDRowsTest : public LibraryStateTest
{
};

struct RowCase
{
    const char* name;  // the row's name begins with it
    int v, e, f, c;
};

// Published element counts of the polychora.
const RowCase kRows[] = {
    {"1-Pen", 5, 10, 10, 5},        {"2-Tes", 16, 32, 24, 8},        {"3-Hex", 8, 24, 32, 16},
    {"4-Ico", 24, 96, 96, 24},      {"15-Gax", 120, 720, 1200, 600}, {"16-Gogishi", 600, 1200, 720, 120},
    {"19-Tat", 64, 128, 88, 24},    {"307-Grip", 60, 120, 80, 20},   {"315-Gaqrit", 192, 384, 248, 56},
    {"902-Tipe", 120, 240, 154, 34},
};
}  // namespace

TEST_F(FourDRowsTest, EveryRowBuildsItsPolychoron)
{
    for (const RowCase& c : kRows)
    {
        SCOPED_TRACE(c.name);
        const LibraryEntry* row = nullptr;
        for (const LibraryEntry& r : GetLibraryTable())
        {
            if (r.mCategory == LibraryEntry::kCategory4D && r.mName && std::strncmp(r.mName, c.name, std::strlen(c.name)) == 0)
                row = &r;
        }
        ASSERT_NE(row, nullptr);
        ScopedScriptedServices scripted;
        Poly poly;
        PolyTemplate templ;
        ASSERT_TRUE(poly.CreateFromLibraryEntry(&templ, row, false));
        ASSERT_NE(poly.mPolytope, nullptr);
        Polytope4D& p = *poly.mPolytope;
        EXPECT_EQ(p.mNumVerts, c.v);
        EXPECT_EQ(p.mNumEdges, c.e);
        EXPECT_EQ(p.mNumFaces, c.f);
        EXPECT_EQ(p.mNumCells, c.c);
        EXPECT_EQ(p.mNumVerts - p.mNumEdges + p.mNumFaces - p.mNumCells, 0);
        EXPECT_FALSE(p.mFlags & Polytope4D::kNotClosed);
        int vertTypes = 0;
        for (const VertType4D* t = p.mFirstVertType; t; t = static_cast<const VertType4D*>(t->next))
            ++vertTypes;
        EXPECT_EQ(vertTypes, 1);
        p.CalcEdgeLengthRange();
        EXPECT_NEAR(p.mMinEdgeLength, p.mMaxEdgeLength, 1e-9);
        for (const ScriptedServices::Call& call : scripted.services.calls)
            ADD_FAILURE() << call.kind << ": " << call.text;
    }
}
