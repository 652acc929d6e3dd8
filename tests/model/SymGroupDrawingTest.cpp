#include "kernel/RecordingSceneDrawer.h"
#include "kernel/ScriptedServices.h"
#include "kernel/Tolerance.h"
#include "model/SymGroup.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace
{
using G = SymGroup;

constexpr double kEps = 1e-9;

struct Segment
{
    Vec3D a;
    Vec3D b;
    float rgba[4];
};

// The segments of each DrawLines call, in order.
std::vector<std::vector<Segment>> Batches(const RecordingSceneDrawer& drawer)
{
    std::vector<std::vector<Segment>> batches;
    for (const RecordingSceneDrawer::Call& c : drawer.calls)
    {
        if (c.name == "DrawLines")
            batches.emplace_back();
        else if (c.name == "Line" && !batches.empty())
        {
            const std::vector<double>& v = c.values;
            batches.back().push_back(
                {{v[0], v[1], v[2]}, {v[3], v[4], v[5]}, {float(v[6]), float(v[7]), float(v[8]), float(v[9])}});
        }
    }
    return batches;
}

bool Near(const Vec3D& a, const Vec3D& b, double tol = kEps)
{
    return Vec3Equal(a, b, tol);
}

Vec3D Scaled(const Vec3D& v, double s)
{
    Vec3D out;
    Vec3Scale(out, v, s);
    return out;
}

// What surrounds one end of an axis: the spokes (from the end to the circle) and the circle's
// segments (both ends on the circle about the end, in the plane across the axis).
struct Marker
{
    int spokes = 0;
    int arcs = 0;
    int strays = 0;
};

Marker ReadMarker(const std::vector<Segment>& batch, const Vec3D& centre, const Vec3D& dir, double radius, int arcs)
{
    Marker m;
    const double chord = 2.0 * radius * std::sin(kPi / arcs);
    auto onCircle = [&](const Vec3D& p) {
        Vec3D d;
        Vec3Sub(d, p, centre);
        return std::fabs(Vec3Length(d) - radius) < 1e-9 && std::fabs(Vec3Dot(d, dir)) < 1e-9;
    };
    for (const Segment& s : batch)
    {
        if (Near(s.a, centre) && onCircle(s.b))
            ++m.spokes;
        else if (onCircle(s.a) && onCircle(s.b))
        {
            if (std::fabs(Vec3Distance(s.a, s.b) - chord) < 1e-9)
                ++m.arcs;
            else
                ++m.strays;
        }
    }
    return m;
}

bool SameColor(const float rgba[4], float r, float g, float b)
{
    return rgba[0] == r && rgba[1] == g && rgba[2] == b && rgba[3] == 1.0f;
}
}  // namespace

TEST(SymGroupDrawing, AxesCarryMarkersOfTheirOrder)
{
    RecordingSceneDrawer drawer;
    drawer.viewRadius = 2.0;
    ScopedSceneDrawer scope(&drawer);
    std::unique_ptr<SymGroup> ico = SymGroup::Create(G::kIcosahedral);
    ico->DrawAxes(nullptr, 1.5);
    const double length = 3.0;

    const std::vector<std::vector<Segment>> batches = Batches(drawer);
    ASSERT_EQ(batches.size(), 31u);
    struct ClassCase
    {
        int spokes;
        int arcs;
        float rgb[3];
    };
    const ClassCase classes[3] = {{5, 15, {1, 1, 0}}, {3, 15, {0, 1, 1}}, {2, 16, {1, 0, 1}}};
    size_t k = 0;
    for (int c = 0; c < 3; ++c)
    {
        const SymAxisSet& set = ico->mAxisSets[c];
        for (int i = 0; i < set.mNumAxes; ++i, ++k)
        {
            SCOPED_TRACE("class " + std::to_string(c) + " axis " + std::to_string(i));
            const std::vector<Segment>& batch = batches[k];
            const Vec3D end = Scaled(set.mAxes[i].mDir, 1.2 * length);
            ASSERT_FALSE(batch.empty());
            EXPECT_TRUE(Near(batch[0].a, end));
            EXPECT_TRUE(Near(batch[0].b, Scaled(end, -1.0)));
            for (const Vec3D& centre : {end, Scaled(end, -1.0)})
            {
                const Marker m = ReadMarker(batch, centre, set.mAxes[i].mDir, 0.05 * length, classes[c].arcs);
                EXPECT_EQ(m.spokes, classes[c].spokes);
                EXPECT_EQ(m.arcs, classes[c].arcs);
                EXPECT_EQ(m.strays, 0);
            }
            EXPECT_EQ(batch.size(), size_t(1 + 2 * (classes[c].spokes + classes[c].arcs)));
            // The first spoke points along the reference direction.
            EXPECT_TRUE(Near(batch[1].b, Vec3D{end.x + 0.05 * length * set.mAxes[i].mRef.x,
                                               end.y + 0.05 * length * set.mAxes[i].mRef.y,
                                               end.z + 0.05 * length * set.mAxes[i].mRef.z}));
            for (const Segment& s : batch)
                EXPECT_TRUE(SameColor(s.rgba, classes[c].rgb[0], classes[c].rgb[1], classes[c].rgb[2]));
        }
    }
    EXPECT_TRUE(drawer.lighting);  // restored
    EXPECT_EQ(drawer.CountCalls("SetGLSelectionItem"), 0);
}

TEST(SymGroupDrawing, OneSidedAxesRunFromTheCentreWithOneMarker)
{
    RecordingSceneDrawer drawer;
    ScopedSceneDrawer scope(&drawer);
    std::unique_ptr<SymGroup> t = SymGroup::Create(G::kTetrahedral);
    t->DrawAxes(nullptr, 1.0);
    const std::vector<std::vector<Segment>> batches = Batches(drawer);
    ASSERT_EQ(batches.size(), 11u);  // the skipped class is drawn too
    for (size_t k = 0; k < 8; ++k)
    {
        const SymAxis& axis = t->mAxisSets[k / 4].mAxes[k % 4];
        const Vec3D end = Scaled(axis.mDir, 1.2);
        EXPECT_TRUE(Near(batches[k][0].a, end));
        EXPECT_TRUE(Near(batches[k][0].b, Vec3D{}));
        const Marker m = ReadMarker(batches[k], end, axis.mDir, 0.05, 15);
        EXPECT_EQ(m.spokes, 3);
        EXPECT_EQ(m.arcs, 15);
        EXPECT_EQ(batches[k].size(), 1u + 3u + 15u);
    }
    EXPECT_EQ(batches[8].size(), 1u + 2u * (2u + 16u));
}

TEST(SymGroupDrawing, PickingNamesEveryAxisAndTheSelectedOneStandsOut)
{
    ScopedScriptedServices quiet;
    RecordingSceneDrawer drawer;
    drawer.picking = true;
    drawer.lineWidth = 3.0f;
    ScopedSceneDrawer scope(&drawer);
    std::unique_ptr<SymGroup> oh = SymGroup::Create(G::kOctahedral);
    oh->SelectAxis(4);  // the second 3-fold axis
    ASSERT_EQ(SymGroup::SelectedAxis(), &oh->mAxisSets[1].mAxes[1]);
    oh->DrawAxes(nullptr, 1.0);

    // Each axis is named before it is drawn; the recorder keeps only the last state, so replay it.
    std::vector<int> names;
    std::vector<float> widths;  // at each batch
    std::vector<int> namedAs;   // at each batch
    float width = 3.0f;
    int name = -1;
    for (const RecordingSceneDrawer::Call& c : drawer.calls)
    {
        if (c.name == "SetGLSelectionItem")
        {
            EXPECT_EQ(c.values[0], 24.0);
            name = int(c.values[1]);
            names.push_back(name);
        }
        else if (c.name == "SetLineWidth")
            width = float(c.values[0]);
        else if (c.name == "DrawLines")
        {
            widths.push_back(width);
            namedAs.push_back(name);
        }
    }
    const std::vector<int> expected = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    EXPECT_EQ(names, expected);
    EXPECT_EQ(namedAs, expected);
    ASSERT_NE(drawer.LastCall("ClearGLSelectionItem"), nullptr);
    EXPECT_EQ(drawer.selectionType, -1);
    ASSERT_EQ(widths.size(), 13u);
    for (size_t k = 0; k < widths.size(); ++k)
        EXPECT_EQ(widths[k], k == 4 ? 5.0f : 3.0f) << k;
    EXPECT_EQ(drawer.lineWidth, 3.0f);

    const std::vector<std::vector<Segment>> batches = Batches(drawer);
    ASSERT_EQ(batches.size(), 13u);
    for (const Segment& s : batches[4])
        EXPECT_TRUE(SameColor(s.rgba, 1, 1, 1));
    for (const Segment& s : batches[5])
        EXPECT_TRUE(SameColor(s.rgba, 0, 1, 1));
    oh.reset();
    EXPECT_EQ(SymGroup::SelectedAxis(), nullptr);
}

TEST(SymGroupDrawing, AxesStretchToTheSelectedFacePlane)
{
    RecordingSceneDrawer drawer;
    drawer.viewRadius = 0.5;
    ScopedSceneDrawer scope(&drawer);
    std::unique_ptr<SymGroup> d4 = SymGroup::Create(G::kDihedral, 4);
    std::unique_ptr<SymGroup> c4 = SymGroup::Create(G::kPyramidal, 4);
    const double length = 0.5 * 1.2;
    Vec3D d{1, 1, 0};
    Vec3Normalize(d);

    d4->DrawAxes(&d, 1.0);
    std::vector<std::vector<Segment>> batches = Batches(drawer);
    ASSERT_EQ(batches.size(), 5u);
    // The main axis y: t = 0.6 * 0.707, stretched to reach the plane p.d = 1 at its + end.
    EXPECT_NEAR(Vec3Dot(batches[0][0].a, d), 1.0, 1e-12);
    EXPECT_TRUE(Vec3Parallel(batches[0][0].a, Vec3D{0, 1, 0}, 1e-12));
    EXPECT_TRUE(Near(batches[0][0].b, Vec3D{0, -length, 0}));
    // The markers stay at the unstretched ends.
    EXPECT_EQ(ReadMarker(batches[0], {0, length, 0}, {0, 1, 0}, 0.025, 16).spokes, 4);
    EXPECT_EQ(ReadMarker(batches[0], {0, -length, 0}, {0, 1, 0}, 0.025, 16).spokes, 4);
    // Across d: nothing changes.
    const Vec3D across = d4->mAxisSets[1].mAxes[1].mDir;
    ASSERT_NEAR(Vec3Dot(across, d), 0.0, 1e-12);
    EXPECT_TRUE(Near(batches[2][0].a, Scaled(across, length)));
    EXPECT_TRUE(Near(batches[2][0].b, Scaled(across, -length)));
    // Pointing away from d: the - end is stretched instead.
    const Vec3D away = d4->mAxisSets[2].mAxes[1].mDir;
    ASSERT_LT(Vec3Dot(away, d), -0.1);
    EXPECT_TRUE(Near(batches[4][0].a, Scaled(away, length)));
    EXPECT_NEAR(Vec3Dot(batches[4][0].b, d), 1.0, 1e-12);
    EXPECT_TRUE(Vec3Parallel(batches[4][0].b, away, 1e-12));

    // A one-sided axis keeps its line at the centre.
    drawer.calls.clear();
    Vec3D down{0, -1, 0};
    c4->DrawAxes(&down, 1.0);
    batches = Batches(drawer);
    ASSERT_EQ(batches.size(), 2u);
    EXPECT_TRUE(Near(batches[0][0].a, Vec3D{0, length, 0}));
    EXPECT_TRUE(Near(batches[0][0].b, Vec3D{}));
    EXPECT_NEAR(Vec3Dot(batches[1][0].a, down), 1.0, 1e-12);

    // An axis that already reaches the plane is left as it is.
    drawer.calls.clear();
    drawer.viewRadius = 2.0;
    Vec3D up{0, 1, 0};
    c4->DrawAxes(&up, 1.0);
    batches = Batches(drawer);
    EXPECT_TRUE(Near(batches[0][0].a, Vec3D{0, 2.4, 0}));
}

TEST(SymGroupDrawing, MirrorNormalsAndPlanes)
{
    RecordingSceneDrawer drawer;
    drawer.viewRadius = 2.0;
    ScopedSceneDrawer scope(&drawer);
    std::unique_ptr<SymGroup> ih = SymGroup::Create(G::kIcosahedral);
    ih->SetReflectionKind(G::kHorizontal);

    ih->DrawMirrorNormals(0.5);
    std::vector<std::vector<Segment>> batches = Batches(drawer);
    ASSERT_EQ(batches.size(), 1u);
    ASSERT_EQ(batches[0].size(), 15u);
    for (int i = 0; i < 15; ++i)
    {
        const Vec3D n = ih->mMirrors[i].mDir;
        EXPECT_TRUE(Near(batches[0][size_t(i)].a, Scaled(n, 1.3)));
        EXPECT_TRUE(Near(batches[0][size_t(i)].b, Scaled(n, -1.3)));
        EXPECT_TRUE(SameColor(batches[0][size_t(i)].rgba, 1, 1, 0));
    }
    EXPECT_TRUE(drawer.lighting);

    drawer.calls.clear();
    ih->DrawMirrors(0.5);
    int circles = 0;
    for (const RecordingSceneDrawer::Call& c : drawer.calls)
    {
        if (c.name != "DrawCircle3D")
            continue;
        const Vec3D n = ih->mMirrors[circles].mDir;
        EXPECT_TRUE(Near({c.values[0], c.values[1], c.values[2]}, Vec3D{}));
        EXPECT_TRUE(Near({c.values[3], c.values[4], c.values[5]}, n));
        EXPECT_NEAR(c.values[6], 1.005, 1e-12);
        EXPECT_EQ(c.values[7], 120.0);
        EXPECT_EQ(c.values[8], 0.0);
        ++circles;
    }
    EXPECT_EQ(circles, 15);
    EXPECT_EQ(drawer.color[0], 0.7f);
    EXPECT_EQ(drawer.CountCalls("DrawLines"), 0);
    EXPECT_EQ(drawer.CountCalls("DrawDoubleArrow"), 0);

    // Central inversion: four double arrows through the centre along the cube diagonals.
    drawer.calls.clear();
    std::unique_ptr<SymGroup> ci = SymGroup::Create(G::kNoSymmetry);
    ci->SetReflectionKind(G::kCentralInversion);
    ci->DrawMirrors(1.0);
    EXPECT_EQ(drawer.CountCalls("DrawCircle3D"), 0);
    const double s = 0.15 * 1.005 * 2.0;
    int arrows = 0;
    for (const RecordingSceneDrawer::Call& c : drawer.calls)
    {
        if (c.name != "DrawDoubleArrow")
            continue;
        ++arrows;
        for (int j = 0; j < 3; ++j)
        {
            EXPECT_NEAR(std::fabs(c.values[size_t(j)]), s, 1e-12);
            EXPECT_NEAR(c.values[size_t(j + 3)], -c.values[size_t(j)], 1e-12);
        }
        EXPECT_NEAR(c.values[6], 0.5 * s, 1e-12);
    }
    EXPECT_EQ(arrows, 4);
}

TEST(SymGroupDrawing, RotoreflectionCircleWavesAboutItsAxis)
{
    RecordingSceneDrawer drawer;
    ScopedSceneDrawer scope(&drawer);
    const float rgba[4] = {0.7f, 1.0f, 0.7f, 1.0f};
    struct Case
    {
        int n;
        size_t points;
    };
    for (const Case& c : {Case{5, 120}, Case{7, 140}})
    {
        SCOPED_TRACE(c.n);
        drawer.calls.clear();
        const Vec3D centre{0.5, -1, 2};
        Vec3D axis{1, 2, 2};
        Vec3Normalize(axis);
        const double radius = 3.0, amplitude = 0.4;
        DrawRotoreflectionCircle(centre, axis, radius, c.n, amplitude, rgba);
        const std::vector<std::vector<Segment>> batches = Batches(drawer);
        ASSERT_EQ(batches.size(), 1u);
        const std::vector<Segment>& loop = batches[0];
        ASSERT_EQ(loop.size(), c.points);
        const double rho = radius / std::cos(kPi / double(c.points));
        std::vector<int> signs;  // of the height of each point off the zero crossings
        for (size_t i = 0; i < loop.size(); ++i)
        {
            const Segment& s = loop[i];
            EXPECT_TRUE(Near(s.b, loop[(i + 1) % loop.size()].a));  // closed
            Vec3D rel;
            Vec3Sub(rel, s.a, centre);
            const double height = Vec3Dot(rel, axis);
            Vec3D across;
            Vec3AddScaled(across, rel, -height, axis);
            EXPECT_NEAR(Vec3Length(across), rho, 1e-9);
            EXPECT_LE(std::fabs(height), amplitude + 1e-12);
            if (std::fabs(height) > 1e-9)
                signs.push_back(height > 0 ? 1 : -1);
            EXPECT_TRUE(SameColor(s.rgba, 0.7f, 1.0f, 0.7f));
        }
        int signChanges = 0;
        for (size_t i = 0; i < signs.size(); ++i)
            signChanges += signs[i] != signs[(i + 1) % signs.size()];
        EXPECT_EQ(signChanges, 2 * c.n);
    }

    // A rotation-reflection group draws its sign about its main axis instead of mirror planes.
    drawer.calls.clear();
    std::unique_ptr<SymGroup> s10 = SymGroup::Create(G::kPyramidal, 5);
    s10->SetReflectionKind(G::kRotationReflection);
    s10->DrawMirrors(1.0);
    EXPECT_EQ(drawer.CountCalls("DrawCircle3D"), 0);
    const std::vector<std::vector<Segment>> batches = Batches(drawer);
    ASSERT_EQ(batches.size(), 1u);
    EXPECT_EQ(batches[0].size(), 120u);
    double maxHeight = 0.0;
    for (const Segment& s : batches[0])
        maxHeight = std::fmax(maxHeight, std::fabs(s.a.y));
    EXPECT_NEAR(maxHeight, 0.2 * 1.005, 1e-9);
}
