#include "LibraryStateFixture.h"

#include "kernel/ScriptedServices.h"
#include "library/LibraryEntry.h"
#include "library/LibraryLookup.h"
#include "library/LibraryVertexFigure.h"
#include "model/SimplePoly.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

namespace
{
class LibraryVertexFigureTest : public LibraryStateTest
{
};

double Dist(const Vec3D& a, const Vec3D& b)
{
    return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) + (a.z - b.z) * (a.z - b.z));
}
}  // namespace

TEST_F(LibraryVertexFigureTest, RegularPolychoraNameTheirFigureByConfiguration)
{
    struct Case
    {
        int position;
        const char* config;
        const char* figure;
    };
    const Case cases[] = {
        {264, "3.3.3", "Tetrahedron"},        // 5-cell
        {265, "3.3.3", "Tetrahedron"},        // tesseract: three cubes at a vertex
        {266, "3.3.3.3", "Octahedron"},       // 16-cell
        {267, "4.4.4", "Cube"},               // 24-cell
        {268, "(3.3.3.3.3)/2", "Great Icosahedron"},
        {269, "3.3.3", "Tetrahedron"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.position);
        EXPECT_EQ(GetLibraryVertexFigureConfig(Row(c.position)), c.config);
        const LibraryEntry* figure = FindLibraryEntry(c.config, nullptr, false);
        ASSERT_NE(figure, nullptr);
        EXPECT_STREQ(figure->mName, c.figure);
    }
}

TEST_F(LibraryVertexFigureTest, FurtherValuesGiveATetrahedronOfPolygonChords)
{
    struct Case
    {
        int position;
        const char* faceDesc;
        double edges[6];  // V0V2, V1V2, V0V1, V1V3, V0V3, V2V3
    };
    const double c8 = 2.0 * std::cos(M_PI / 8.0);
    const double c83 = 2.0 * std::cos(3.0 * M_PI / 8.0);
    const double c6 = std::sqrt(3.0);
    const double c4 = std::sqrt(2.0);
    const double c5 = (1.0 + std::sqrt(5.0)) / 2.0;
    const Case cases[] = {
        {270, "(3;1)", {1.0, 1.0, 1.0, c8, c8, c8}},    // 3 3 3 and 8 8 8
        {271, "(3;1)", {1.0, c4, c4, c6, c6, c6}},      // 3 4 4 and 6 6 6
        {272, "(8;3)", {1.0, c6, c6, c83, c4, c4}},     // 3 6 6 and 8/3 4 4
        {273, "(4;1)", {c5, c6, c6, c4, c4, c4}},       // 5 6 6 and 4 4 4
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.position);
        std::string faceDesc;
        std::unique_ptr<SimplePoly> figure = CreateLibraryVertexFigure(Row(c.position), faceDesc);
        ASSERT_NE(figure, nullptr);
        EXPECT_EQ(faceDesc, c.faceDesc);
        ASSERT_EQ(figure->mNumVerts, 4);
        const int ends[6][2] = {{0, 2}, {1, 2}, {0, 1}, {1, 3}, {0, 3}, {2, 3}};
        for (int i = 0; i < 6; ++i)
            EXPECT_NEAR(Dist(figure->mVerts[ends[i][0]].mPos, figure->mVerts[ends[i][1]].mPos), c.edges[i], 1e-9)
                << "edge " << i;
    }
}

TEST_F(LibraryVertexFigureTest, UnreadableValuesGiveNoFigure)
{
    ScopedScriptedServices scripted;
    for (const char* values : {"8 x 8", "8 8", "8/0 8 8", "8/ 8 8"})
    {
        SCOPED_TRACE(values);
        LibraryEntry row = Row(270);
        row.mWythoff = values;
        std::string faceDesc = "unchanged";
        EXPECT_EQ(CreateLibraryVertexFigure(row, faceDesc), nullptr);
        EXPECT_EQ(faceDesc, "unchanged");
    }
    // White space may stand around the parts of a fraction.
    LibraryEntry row = Row(272);
    row.mWythoff = " 8 / 3  4 4 ";
    std::string faceDesc;
    EXPECT_NE(CreateLibraryVertexFigure(row, faceDesc), nullptr);
    EXPECT_EQ(faceDesc, "(8;3)");
}
