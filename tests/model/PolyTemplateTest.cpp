#include "kernel/Palette.h"
#include "kernel/ScriptedServices.h"
#include "library/LibraryEntry.h"
#include "model/PolyTemplate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>
#include <string>

namespace
{
const double kSqrt2 = std::sqrt(2.0);
const double kSqrt3 = std::sqrt(3.0);
const double kSqrt5 = std::sqrt(5.0);
const double kDeg = 180.0 / 3.141592653589793;

// Circumradius for unit edge of a solved template (its vertices lie on the unit sphere).
double UnitEdgeRadius(const PolyTemplate& t)
{
    return t.mRadius / t.mEdgeLength;
}

// The uniform polyhedra U1..U80 with their vertex configurations as the library lists them.
struct UniformRow
{
    int u;
    const char* name;
    const char* configuration;
};
const UniformRow kUniform[] = {
    {1, "Tetrahedron", "3.3.3"},
    {2, "Truncated Tetrahedron", "6.6.3"},
    {3, "Octahemioctahedron", "3.6.3/2.6"},
    {4, "Tetrahemihexahedron", "3.4.3/2.4"},
    {5, "Octahedron", "3.3.3.3"},
    {6, "Cube", "4.4.4"},
    {7, "Cuboctahedron", "4.3.4.3"},
    {8, "Truncated Octahedron", "4.6.6"},
    {9, "Truncated Cube", "8.8.3"},
    {10, "Rhombicuboctahedron", "4.4.3.4"},
    {11, "Truncated Cuboctahedron", "8.4.6"},
    {12, "Snub Cube", "4.3.3.3.3"},
    {13, "Small Cubicuboctahedron", "4.8.3/2.8"},
    {14, "Great Cubicuboctahedron", "8/3.3.8/3.4"},
    {15, "Cubohemioctahedron", "4.6.4/3.6"},
    {16, "Cubitruncated Cuboctahedron", "8/3.6.8"},
    {17, "Great Rhombicuboctahedron", "4.3/2.4.4"},
    {18, "Small Rhombihexahedron", "8.4.8/7.4/3"},
    {19, "Stellated Truncated Hexahedron", "8/3.8/3.3"},
    {20, "Great Truncated Cuboctahedron", "8/3.4.6"},
    {21, "Great Rhombihexahedron", "8/3.4.8/5.4/3"},
    {22, "Icosahedron", "3.3.3.3.3"},
    {23, "Dodecahedron", "5.5.5"},
    {24, "Icosidodecahedron", "5.3.5.3"},
    {25, "Truncated Icosahedron", "5.6.6"},
    {26, "Truncated Dodecahedron", "10.10.3"},
    {27, "Rhombicosidodecahedron", "5.4.3.4"},
    {28, "Truncated Icosidodecahedron", "10.4.6"},
    {29, "Snub Dodecahedron", "5.3.3.3.3"},
    {30, "Small Ditrigonal Icosidodecahedron", "5/2.3.5/2.3.5/2.3"},
    {31, "Small Icosicosidodecahedron", "5/2.6.3.6"},
    {32, "Small Snub Icosicosidodecahedron", "5/2.3.3.3.3.3"},
    {33, "Small Dodecicosidodecahedron", "5.10.3/2.10"},
    {34, "Small Stellated Dodecahedron", "5/2.5/2.5/2.5/2.5/2"},
    {35, "Great Dodecahedron", "(5.5.5.5.5)/2"},
    {36, "Dodecadodecahedron", "5/2.5.5/2.5"},
    {37, "Great Truncated Dodecahedron", "5/2.10.10"},
    {38, "Rhombidodecadodecahedron", "5/2.4.5.4"},
    {39, "Small Rhombidodecahedron", "10.4.10/9.4/3"},
    {40, "Snub Dodecadodecahedron", "5/2.3.5.3.3"},
    {41, "Ditrigonal Dodecadodecahedron", "5/3.5.5/3.5.5/3.5"},
    {42, "Great Ditrigonal Dodecicosidodecahedron", "10/3.3.10/3.5"},
    {43, "Small Ditrigonal Dodecicosidodecahedron", "5/3.10.3.10"},
    {44, "Icosidodecadodecahedron", "5/3.6.5.6"},
    {45, "Icositruncated Dodecadodecahedron", "10/3.6.10"},
    {46, "Snub Icosidodecadodecahedron", "5/3.3.3.3.5.3"},
    {47, "Great Ditrigonal Icosidodecahedron", "(5.3.5.3.5.3)/2"},
    {48, "Great Icosicosidodecahedron", "6.3/2.6.5"},
    {49, "Small Icosihemidodecahedron", "10.3.10.3/2"},
    {50, "Small Dodecicosahedron", "10.6.10/9.6/5"},
    {51, "Small Dodecahemidodecahedron", "10.5.10.5/4"},
    {52, "Great Stellated Dodecahedron", "5/2.5/2.5/2"},
    {53, "Great Icosahedron", "(3.3.3.3.3)/2"},
    {54, "Great Icosidodecahedron", "5/2.3.5/2.3"},
    {55, "Great Truncated Icosahedron", "5/2.6.6"},
    {56, "Rhombicosahedron", "6.4.6/5.4/3"},
    {57, "Great Snub Icosidodecahedron", "5/2.3.3.3.3"},
    {58, "Small Stellated Truncated Dodecahedron", "10/3.10/3.5"},
    {59, "Truncated Dodecadodecahedron", "10/3.4.10"},
    {60, "Inverted Snub Dodecadodecahedron", "5/3.3.3.5.3"},
    {61, "Great Dodecicosidodecahedron", "10/3.5/2.10/3.3"},
    {62, "Small Dodecahemicosahedron", "5/2.6.5/3.6"},
    {63, "Great Dodecicosahedron", "10/3.6.10/7.6/5"},
    {64, "Great Snub Dodecicosidodecahedron", "5/2.3.3.3.5/3.3"},
    {65, "Great Dodecahemicosahedron", "6.5.6.5/4"},
    {66, "Great Stellated Truncated Dodecahedron", "10/3.10/3.3"},
    {67, "Great Rhombicosidodecahedron", "4.5/3.4.3"},
    {68, "Great Truncated Icosidodecahedron", "10/3.4.6"},
    {69, "Great Inverted Snub Icosidodecahedron", "5/3.3.3.3.3"},
    {70, "Great Dodecahemidodecahedron", "5/2.10/3.5/3.10/3"},
    {71, "Great Icosihemidodecahedron", "10/3.3.10/3.3/2"},
    {72, "Small Inverted Retrosnub Icosicosidodecahedron", "(5/3.3.3.3.3.3)/2"},
    {73, "Great Rhombidodecahedron", "10/3.4.10/7.4/3"},
    {74, "Great Inverted Retrosnub Icosidodecahedron", "(5/2.3.3.3.3)/2"},
    {75, "Great Dirhombicosidodecahedron", "(5/2.4.3.4.5/3.4.3/2.4)/2"},
    {76, "Pentagonal Prism", "5.4.4"},
    {77, "Pentagonal Antiprism", "5.3.3.3"},
    {78, "Pentagrammic Prism", "5/2.4.4"},
    {79, "Pentagrammic Antiprism", "5/2.3.3.3"},
    {80, "Pentagrammic Crossed Antiprism", "5/3.3.3.3"},
};
}  // namespace

TEST(PolyTemplateTest, IcosahedronFromFiveTriangles)
{
    ScopedScriptedServices scope;
    PolyTemplate t;
    ASSERT_TRUE(t.Parse("3.3.3.3.3"));
    EXPECT_EQ(scope.services.calls.size(), 0u);
    EXPECT_EQ(t.mValence, 5);
    EXPECT_EQ(t.mWraps, 1);
    EXPECT_FALSE(t.mHasHemi);
    EXPECT_DOUBLE_EQ(t.mRadius, 1.0);
    EXPECT_NEAR(t.mEdgeLength, 1.0514622, 1e-7);
    EXPECT_NEAR(t.mEdgeLength, 1.0 / std::sin(2.0 * 3.141592653589793 / 5.0), 1e-12);
    // Known ratios of the icosahedron to its circumradius: midradius, face distance, and the
    // circumradius of the dodecahedron that shares its midsphere.
    EXPECT_NEAR(t.mMidRadius, 0.8506508, 1e-7);
    EXPECT_NEAR(t.mFirst->mHeight, 0.7946545, 1e-7);
    EXPECT_NEAR(t.mDualRadius, 0.8506508 * 1.4012585 / 1.3090170, 1e-6);
    EXPECT_NEAR(t.mFirst->mDihedralAngle * kDeg, 138.1896851, 1e-6);
    const TemplatePolygon* p = t.mFirst;
    do
    {
        EXPECT_EQ(p->mNumSides, 3);
        EXPECT_EQ(p->mDensity, 1);
        EXPECT_FALSE(p->mHemi);
        EXPECT_NEAR(p->mProjectedAngle, 2.0 * 3.141592653589793 / 5.0, 1e-9);
        EXPECT_EQ(p->mMatchId, 1u);
        EXPECT_EQ(p->mOwner, &t);
        p = p->next;
    } while (p != t.mFirst);
    EXPECT_EQ(t.mBackwardHead, nullptr);
    EXPECT_FALSE(t.mHalfTurn);
    // The solved template names its library row.
    ASSERT_NE(t.mLibraryEntry, nullptr);
    EXPECT_STREQ(t.mLibraryEntry->mName, "Icosahedron");
}

TEST(PolyTemplateTest, ParseErrorsAreShownWithTheText)
{
    struct Case
    {
        const char* text;
        const char* message;
    };
    const Case kCases[] = {
        {"2.4.4", "Polygons must have at least three sides."},
        {"4.4", "Must have at least three faces at a vertex."},
        {"6.6.6", "Faces at vertex lie in plane."},
        {"6.6.6.6", "Faces can't connect around vertex."},
        {"(5.5.5.5.5.5.5.5)/2", "Faces can't connect around vertex."},
        {"5/5.3.3", "Number of wraps may not be >= number of sides."},
        {"6/2.3.3", "Number of sides (6) and number of wraps (2) may not have a common factor (2)."},
        {"(3.3.3.3.3", "Missing closing parenthesis."},
        {"{3.4.4", "Missing closing parenthesis."},
        {"3.3.3 x", "Expected ',' or '.', got 'x'."},
        {"4.4/3.4.4/3", "Face 4/1 may not be followed by matching retrograde face 4/3."},
        {"3.4.4.3/2", "Face 3/2 may not be followed by matching retrograde face 3/1."},
        {"3.3/.3", "Expected a number after '/'."},
        {"(3.3.3)/x", "Expected a number after '/'."},
        {"3..3.3", "Expected a number at '.3.3'."},
        {"3.3.", "Expected a number at end."},
        {"", "Expected a number at end."},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.text);
        ScopedScriptedServices scope;
        PolyTemplate t;
        EXPECT_FALSE(t.Parse(c.text));
        ASSERT_EQ(scope.services.CountCalls("MessageBox"), 1);
        EXPECT_EQ(scope.services.LastCall()->caption, "Error");
        EXPECT_EQ(scope.services.LastCall()->text, "\"" + std::string(c.text) + "\" - " + c.message);

        // Quietly, the same text fails without a word.
        ScopedScriptedServices quiet;
        PolyTemplate q;
        EXPECT_FALSE(q.Parse(c.text, false));
        EXPECT_EQ(quiet.services.calls.size(), 0u);
    }
    PolyTemplate t;
    EXPECT_FALSE(t.Parse(nullptr));
}

TEST(PolyTemplateTest, TrailingCharactersAfterBracketOnlyWarn)
{
    ScopedScriptedServices scope;
    PolyTemplate t;
    ASSERT_TRUE(t.Parse("(3.3.3) x"));
    ASSERT_EQ(scope.services.CountCalls("MessageBox"), 1);
    EXPECT_EQ(scope.services.LastCall()->caption, "Warning");
    EXPECT_EQ(scope.services.LastCall()->text, "\"(3.3.3) x\" - Ignoring trailing characters: 'x'.");
    EXPECT_EQ(t.mValence, 3);
    EXPECT_NEAR(UnitEdgeRadius(t), std::sqrt(6.0) / 4.0, 1e-9);
}

TEST(PolyTemplateTest, VertexThatCannotCloseWarnsAndFails)
{
    // Two triangles, a square and a retrograde square: the angles never add up to a full turn.
    ScopedScriptedServices scope;
    PolyTemplate t;
    EXPECT_FALSE(t.Parse("3.4.3.4/3"));
    ASSERT_EQ(scope.services.CountCalls("MessageBox"), 1);
    EXPECT_EQ(scope.services.LastCall()->caption, "Warning");
    EXPECT_EQ(scope.services.LastCall()->text, "\"3.4.3.4/3\" - Can't form a vertex surrounded by those faces\n");
}

TEST(PolyTemplateTest, SpellingsOfOneConfiguration)
{
    const char* kSpellings[] = {"3.5.3.5", "3,5,3,5", " 3 . 5 .3. 5 ", "(3.5.3.5)", "{3,5,3,5}", "(3.5.3.5)/1"};
    for (const char* text : kSpellings)
    {
        SCOPED_TRACE(text);
        PolyTemplate t;
        ASSERT_TRUE(t.Parse(text, false));
        EXPECT_EQ(t.GetName(), "3.5.3.5");
        EXPECT_NEAR(UnitEdgeRadius(t), (1.0 + kSqrt5) / 2.0, 1e-9);
    }
}

TEST(PolyTemplateTest, GetNameWritesTheConfigurationBack)
{
    const char* kRoundTrips[] = {"3.5.3.5", "5/2.5/2.5/2.5/2.5/2", "(5.5.5.5.5)/2", "(5/2.4.3.4.5/3.4.3/2.4)/2",
                                 "3.4.3/2.4", "10/3.4.10/7.4/3"};
    for (const char* text : kRoundTrips)
    {
        PolyTemplate t;
        ASSERT_TRUE(t.Parse(text, false)) << text;
        EXPECT_EQ(t.GetName(), text);
    }
    EXPECT_EQ(PolyTemplate::GetName(nullptr), "Not-uniform");

    PolyTemplate t;
    ASSERT_TRUE(t.Parse("4.6.8", false));
    EXPECT_EQ(PolyTemplate::GetName(&t, nullptr, 1), "4.8.6");
    EXPECT_EQ(PolyTemplate::GetName(&t, t.PolygonAt(1), 0), "6.8.4");
    EXPECT_EQ(PolyTemplate::GetName(&t, t.PolygonAt(2), 1), "8.6.4");
    EXPECT_EQ(t.IndexOf(t.PolygonAt(5)), 2);
    EXPECT_EQ(t.IndexOf(nullptr), -1);
}

TEST(PolyTemplateTest, EveryUniformPolyhedronSolves)
{
    std::set<int> seen;
    for (const UniformRow& row : kUniform)
    {
        SCOPED_TRACE(row.name);
        ScopedScriptedServices scope;
        PolyTemplate t;
        ASSERT_TRUE(t.Parse(row.configuration)) << row.configuration;
        EXPECT_EQ(scope.services.calls.size(), 0u);
        EXPECT_TRUE(seen.insert(row.u).second);
        EXPECT_DOUBLE_EQ(t.mRadius, 1.0);
        EXPECT_GT(t.mEdgeLength, 0.0);
        EXPECT_TRUE(std::isfinite(UnitEdgeRadius(t)));
        EXPECT_GT(UnitEdgeRadius(t), 0.0);
        EXPECT_EQ(t.GetName(), row.configuration);

        // The polygons close up around the vertex: their projected angles fill the wraps, or cancel
        // when every polygon comes with its retrograde partner.
        std::multiset<std::pair<int, int>> unpaired;
        double sum = 0.0;
        const TemplatePolygon* p = t.mFirst;
        do
        {
            sum += p->mProjectedAngle;
            const auto partner = unpaired.find({p->mNumSides, p->mNumSides - p->mDensity});
            if (partner != unpaired.end())
                unpaired.erase(partner);
            else
                unpaired.insert({p->mNumSides, p->mDensity});
            EXPECT_LE(p->mRadius, 1.0 + 1e-6);
            EXPECT_EQ(p->mHemi, p->mHeight == 0.0);
            p = p->next;
        } while (p != t.mFirst);
        EXPECT_NEAR(std::fabs(sum), unpaired.empty() ? 0.0 : 2.0 * 3.141592653589793 * t.mWraps, 1e-6);
    }
    EXPECT_EQ(seen.size(), 80u);
    EXPECT_EQ(*seen.begin(), 1);
    EXPECT_EQ(*seen.rbegin(), 80);
}

TEST(PolyTemplateTest, CircumradiiMatchPublishedValues)
{
    struct Case
    {
        const char* configuration;
        double radius;  // for unit edge
        double tol;
    };
    const Case kCases[] = {
        {"3.3.3", std::sqrt(6.0) / 4.0, 1e-9},
        {"4.4.4", kSqrt3 / 2.0, 1e-9},
        {"3.3.3.3", kSqrt2 / 2.0, 1e-9},
        {"5.5.5", 1.4012585, 1e-7},
        {"5.5.5", kSqrt3 * (1.0 + kSqrt5) / 4.0, 1e-9},
        {"3.3.3.3.3", std::sqrt(10.0 + 2.0 * kSqrt5) / 4.0, 1e-9},
        {"6.6.3", std::sqrt(22.0) / 4.0, 1e-9},
        {"4.3.4.3", 1.0, 1e-9},
        {"4.6.6", std::sqrt(10.0) / 2.0, 1e-9},
        {"8.8.3", std::sqrt(7.0 + 4.0 * kSqrt2) / 2.0, 1e-9},
        {"4.4.3.4", std::sqrt(5.0 + 2.0 * kSqrt2) / 2.0, 1e-9},
        {"8.4.6", std::sqrt(13.0 + 6.0 * kSqrt2) / 2.0, 1e-9},
        {"4.3.3.3.3", 1.3437134, 1e-7},
        {"5.3.5.3", (1.0 + kSqrt5) / 2.0, 1e-9},
        {"5.6.6", std::sqrt(58.0 + 18.0 * kSqrt5) / 4.0, 1e-9},
        {"10.10.3", std::sqrt(74.0 + 30.0 * kSqrt5) / 4.0, 1e-9},
        {"5.4.3.4", std::sqrt(11.0 + 4.0 * kSqrt5) / 2.0, 1e-9},
        {"10.4.6", std::sqrt(31.0 + 12.0 * kSqrt5) / 2.0, 1e-9},
        {"5.3.3.3.3", 2.1558374, 1e-7},
        // Kepler-Poinsot solids.
        {"5/2.5/2.5/2.5/2.5/2", std::sqrt(10.0 - 2.0 * kSqrt5) / 4.0, 1e-9},
        {"(5.5.5.5.5)/2", std::sqrt(10.0 + 2.0 * kSqrt5) / 4.0, 1e-9},
        {"5/2.5/2.5/2", kSqrt3 * (kSqrt5 - 1.0) / 4.0, 1e-9},
        {"(3.3.3.3.3)/2", std::sqrt(10.0 - 2.0 * kSqrt5) / 4.0, 1e-9},
        // Star forms, hemi forms and the forms whose vertex height the angles alone leave open.
        {"5/2.3.5/2.3.5/2.3", kSqrt3 / 2.0, 1e-9},
        {"5/3.5.5/3.5.5/3.5", kSqrt3 / 2.0, 1e-9},
        {"(5.3.5.3.5.3)/2", kSqrt3 / 2.0, 1e-9},
        {"5/2.5.5/2.5", 1.0, 1e-9},
        {"5/2.3.5/2.3", (kSqrt5 - 1.0) / 2.0, 1e-9},
        {"10/3.6.10", 2.0, 1e-9},
        {"5/3.10.3.10", std::sqrt(2.0 * (17.0 + 3.0 * kSqrt5)) / 4.0, 1e-9},
        {"4.3/2.4.4", std::sqrt(5.0 - 2.0 * kSqrt2) / 2.0, 1e-9},
        {"8/3.8/3.3", std::sqrt(7.0 - 4.0 * kSqrt2) / 2.0, 1e-9},
        {"4.5/3.4.3", std::sqrt(11.0 - 4.0 * kSqrt5) / 2.0, 1e-9},
        {"3.4.3/2.4", kSqrt2 / 2.0, 1e-9},
        {"3.6.3/2.6", 1.0, 1e-9},
        {"4.6.4/3.6", 1.0, 1e-9},
        {"8.4.8/7.4/3", std::sqrt(5.0 + 2.0 * kSqrt2) / 2.0, 1e-9},
        {"8/3.4.8/5.4/3", std::sqrt(5.0 - 2.0 * kSqrt2) / 2.0, 1e-9},
        {"(5/2.3.3.3.3)/2", 1.1600030093 / 2.0, 1e-9},
        {"(5/2.4.3.4.5/3.4.3/2.4)/2", kSqrt2 / 2.0, 1e-9},
        {"5.4.4", std::sqrt(0.25 + 1.0 / (4.0 * std::pow(std::sin(3.141592653589793 / 5.0), 2))), 1e-9},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.configuration);
        PolyTemplate t;
        ASSERT_TRUE(t.Parse(c.configuration, false));
        EXPECT_NEAR(UnitEdgeRadius(t), c.radius, c.tol);
    }
}

TEST(PolyTemplateTest, DihedralAnglesOfRegularAndQuasiRegularSolids)
{
    struct Case
    {
        const char* configuration;
        double degrees;
    };
    const Case kCases[] = {{"4.4.4", 90.0},
                           {"3.3.3", 70.5287794},
                           {"5.5.5", 116.5650512},
                           {"3.3.3.3.3", 138.1896851},
                           {"3.4.3.4", 125.2643897},
                           {"3.5.3.5", 142.6226318}};
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.configuration);
        PolyTemplate t;
        ASSERT_TRUE(t.Parse(c.configuration, false));
        const TemplatePolygon* p = t.mFirst;
        do
        {
            EXPECT_NEAR(p->mDihedralAngle * kDeg, c.degrees, 1e-6);
            p = p->next;
        } while (p != t.mFirst);
    }
}

TEST(PolyTemplateTest, HemiPolygonsPassThroughTheCentre)
{
    struct Case
    {
        const char* configuration;
        int hemiSides;
    };
    const Case kCases[] = {{"3.4.3/2.4", 4}, {"3.6.3/2.6", 6}, {"10.5.10.5/4", 10}, {"6.5.6.5/4", 6}};
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.configuration);
        PolyTemplate t;
        ASSERT_TRUE(t.Parse(c.configuration, false));
        EXPECT_TRUE(t.mHasHemi);
        const TemplatePolygon* p = t.mFirst;
        do
        {
            EXPECT_EQ(p->mHemi, p->mNumSides == c.hemiSides);
            if (p->mHemi)
            {
                EXPECT_NEAR(p->mRadius, 1.0, 1e-6);
                EXPECT_EQ(p->mHalfDihedralAngle, 0.0);
            }
            p = p->next;
        } while (p != t.mFirst);
    }
}

TEST(PolyTemplateTest, AmbiguousHeights)
{
    // Every polygon with its retrograde partner: the height comes from the configuration with the
    // same vertex figure (here the rhombicuboctahedron's, already checked above).
    {
        ScopedScriptedServices scope;
        PolyTemplate t;
        EXPECT_TRUE(t.Parse("8.4.8/7.4/3"));
        EXPECT_EQ(scope.services.calls.size(), 0u);
    }
    struct Case
    {
        const char* configuration;
        const char* message;
    };
    const Case kCases[] = {
        {"3.4.5.3/2.4/3.5/4", "Can't solve for ambiguous vertex height of valence > 4."},
        {"7.4.7/6.4/3", "Can't find good height for vertex with ambiguous height."},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.configuration);
        ScopedScriptedServices scope;
        PolyTemplate t;
        EXPECT_FALSE(t.Parse(c.configuration));
        ASSERT_EQ(scope.services.CountCalls("MessageBox"), 1);
        EXPECT_EQ(scope.services.LastCall()->text, "\"" + std::string(c.configuration) + "\" - " + c.message);
    }
}

TEST(PolyTemplateTest, MatchIdsClassifyPositions)
{
    // Around a rhombicuboctahedron vertex the two squares beside the triangle are mirror images of
    // each other; the square opposite the triangle and the triangle are classes of their own.
    PolyTemplate t;
    ASSERT_TRUE(t.Parse("3.4.4.4", false));
    const uint32_t tri = t.PolygonAt(0)->mMatchId;
    const uint32_t beside = t.PolygonAt(1)->mMatchId;
    const uint32_t opposite = t.PolygonAt(2)->mMatchId;
    EXPECT_EQ(t.PolygonAt(3)->mMatchId, beside);
    EXPECT_EQ(std::set<uint32_t>({tri, beside, opposite}).size(), 3u);
    for (uint32_t id : {tri, beside, opposite})
        EXPECT_EQ(id & (id - 1), 0u) << "one bit per class";
    EXPECT_EQ(t.mBackwardHead, nullptr);

    // Read backward, 4.6.8 is a different ring: every position also starts a backward class.
    PolyTemplate g;
    ASSERT_TRUE(g.Parse("4.6.8", false));
    EXPECT_EQ(std::set<uint32_t>({g.PolygonAt(0)->mMatchId, g.PolygonAt(1)->mMatchId, g.PolygonAt(2)->mMatchId}).size(),
              3u);
    ASSERT_NE(g.mBackwardHead, nullptr);
    int backward = 0;
    for (const TemplatePolygon* p = g.mBackwardHead; p; p = p->mPrevToTry)
        ++backward;
    EXPECT_EQ(backward, 3);
    int forward = 0;
    for (const TemplatePolygon* p = g.mFirst; p; p = p->mNextToTry)
        ++forward;
    EXPECT_EQ(forward, 3);

    // The retrograde triangle of the tetrahemihexahedron is the triangle traversed the other way.
    PolyTemplate h;
    ASSERT_TRUE(h.Parse("3.4.3/2.4", false));
    EXPECT_EQ(h.PolygonAt(0)->mMatchId, h.PolygonAt(2)->mMatchId);
    EXPECT_EQ(h.PolygonAt(1)->mMatchId, h.PolygonAt(3)->mMatchId);
}

TEST(PolyTemplateTest, HalfTurn)
{
    struct Case
    {
        const char* configuration;
        bool halfTurn;
    };
    const Case kCases[] = {
        {"8.4.8/7.4/3", true},   {"8/3.4.8/5.4/3", true}, {"10.6.10/9.6/5", true},
        {"3.4.3/2.4", false},    {"3.4.3.4", false},      {"4.4.3.4", false},
        {"5/3.3.3.3.5.3", false}, {"10/3.4.10", false},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.configuration);
        PolyTemplate t;
        ASSERT_TRUE(t.Parse(c.configuration, false));
        EXPECT_EQ(t.mHalfTurn, c.halfTurn);
    }
}

TEST(PolyTemplateTest, PolygonsOfOneShapeShareAColour)
{
    PolyTemplate t;
    ASSERT_TRUE(t.Parse("5.3.5/2.3", false));
    const TemplatePolygon* p[4] = {t.PolygonAt(0), t.PolygonAt(1), t.PolygonAt(2), t.PolygonAt(3)};
    EXPECT_TRUE(ColorSame(p[1]->mColor, p[3]->mColor));
    EXPECT_FALSE(ColorSame(p[0]->mColor, p[1]->mColor));
    EXPECT_FALSE(ColorSame(p[0]->mColor, p[2]->mColor));
    EXPECT_FALSE(ColorSame(p[1]->mColor, p[2]->mColor));
    // The first shape takes the first colour of a fresh palette cursor.
    ColorRGB first;
    NextPaletteColor(nullptr, 0);
    NextPaletteColor(&first, 0);
    EXPECT_TRUE(ColorSame(p[0]->mColor, first));
}

TEST(PolyTemplateTest, PolygonTable)
{
    const PolyTemplate::TablePolygon* table = PolyTemplate::InitPolygonTable();
    int count = 0;
    for (; table[count].n > 0; ++count)
    {
        EXPECT_NEAR(table[count].twoCos, 2.0 * std::cos(3.141592653589793 * table[count].d / table[count].n), 1e-15);
        if (count > 0)
        {
            EXPECT_LT(table[count - 1].twoCos, table[count].twoCos);
        }
    }
    EXPECT_EQ(count, 9);
    EXPECT_EQ(PolyTemplate::FindTablePolygon(8, 3), 1);
    EXPECT_EQ(PolyTemplate::FindTablePolygon(10, 1), 8);
    EXPECT_EQ(PolyTemplate::FindTablePolygon(7, 2), -1);
}

TEST(PolyTemplateTest, ClearStartsAfresh)
{
    PolyTemplate t;
    ASSERT_TRUE(t.Parse("(5.5.5.5.5)/2", false));
    EXPECT_EQ(t.mWraps, 2);
    t.Clear();
    EXPECT_EQ(t.mFirst, nullptr);
    EXPECT_EQ(t.mValence, 0);
    EXPECT_EQ(t.mWraps, 1);
    EXPECT_EQ(t.mEdgeLength, 0.0);
    EXPECT_EQ(t.mReflexSides, -1);
    EXPECT_EQ(t.GetName(), "");
    ASSERT_TRUE(t.Parse("4.4.4", false));
    EXPECT_EQ(t.mValence, 3);
}
