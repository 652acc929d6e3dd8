// Adding a memory slot's model to the current one: the compound's names and its one scale.

#include "SolidModels.h"

#include "model/MemorySlots.h"
#include "model/SimplePoly.h"
#include "polytope4d/Polytope4D.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

namespace
{
TEST(MemoryCompoundTest, NamesOfTheCompound)
{
    struct Case
    {
        const char* a;
        const char* b;
        bool dual;
        const char* name;
    };
    const std::string longName(120, 'x');
    const Case cases[] = {
        {"Octahedron", "Cube", false, "Compound of Octahedron and Cube"},
        {"Cube", "cube", false, "Compound of Cube"},
        {"Octahedron", "Octahedron", true, "Compound of Octahedron and Octahedron"},
        {"Cube", "", false, "Compound with Cube"},
        {"  ", "Cube", false, "Compound with Cube"},
        {"", "", false, "Compound"},
        {"", "", true, "Compound"},
        // A compound added again is named by its parts, not "Compound of Compound of ...".
        {"compound of Cube and Octahedron", "Tetrahedron", false, "Compound of Cube and Octahedron and Tetrahedron"},
        {"Compound with Cube", "COMPOUND OF Cube", false, "Compound of Cube"},
        {"Compound of Compound with Cube", "Cube", false, "Compound of Cube"},
        // 127 characters at most.
        {longName.c_str(), "Cube", false, "Compound"},
        {longName.substr(0, 106).c_str(), "Cube", false, nullptr},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.a) + " + " + c.b);
        const std::string name = CompoundOfNames(c.a, c.b, c.dual);
        if (c.name)
            EXPECT_EQ(name, c.name);
        else
            EXPECT_EQ(name, "Compound of " + std::string(c.a) + " and Cube");  // exactly 127 characters
    }
    EXPECT_EQ(CompoundOfNames(longName.substr(0, 106), "Cube", false).size(), 127u);
    EXPECT_EQ(CompoundOfNames(longName.substr(0, 107), "Cube", false), "Compound");
}

double Circumradius(const SimplePoly& model, int from, int to)
{
    double r = 0.0;
    for (int i = from; i < to; ++i)
        r = std::max(r, Vec3Length(model.mVerts[i].mPos));
    return r;
}

std::unique_ptr<SimplePoly> Cube(double scale)
{
    std::vector<Vec3D> points;
    for (int i = 0; i < 8; ++i)
        points.push_back(Vec3D{i & 1 ? 1.0 : -1.0, i & 2 ? 1.0 : -1.0, i & 4 ? 1.0 : -1.0});
    std::unique_ptr<SimplePoly> model = MakeModel(ConvexSolid(points));
    model->mScale = scale;
    model->mName = "Cube";
    model->mDualName = "Octahedron";
    return model;
}

std::unique_ptr<SimplePoly> Octahedron(double scale)
{
    std::vector<Vec3D> points;
    for (int axis = 0; axis < 3; ++axis)
        for (double s : {1.0, -1.0})
        {
            Vec3D p{0.0, 0.0, 0.0};
            (axis == 0 ? p.x : axis == 1 ? p.y : p.z) = s;
            points.push_back(p);
        }
    std::unique_ptr<SimplePoly> model = MakeModel(ConvexSolid(points));
    model->mScale = scale;
    model->mName = "Octahedron";
    model->mDualName = "Cube";
    return model;
}

TEST(MemoryCompoundTest, EachPartKeepsItsRealSize)
{
    // Real size = coordinates times the model scale, whichever side has the larger scale.
    struct Case
    {
        double currentScale;
        double slotScale;
    };
    for (const Case c : {Case{1.0, 2.0}, Case{2.0, 1.0}, Case{1.5, 1.5}})
    {
        SCOPED_TRACE(c.slotScale);
        std::unique_ptr<SimplePoly> current = Octahedron(c.currentScale);
        std::unique_ptr<SimplePoly> slot = Cube(c.slotScale);
        const double octahedron = Circumradius(*current, 0, 6) * c.currentScale;
        const double cube = Circumradius(*slot, 0, 8) * c.slotScale;
        std::unique_ptr<SimplePoly> compound = CombineAtOneScale(*current, *slot);
        ASSERT_TRUE(compound);
        EXPECT_EQ(compound->mNumFaces, 14);
        EXPECT_EQ(compound->mNumVerts, 14);
        EXPECT_DOUBLE_EQ(compound->mScale, std::max(c.currentScale, c.slotScale));
        EXPECT_NEAR(Circumradius(*compound, 0, 6) * compound->mScale, octahedron, 1e-12);
        EXPECT_NEAR(Circumradius(*compound, 6, 14) * compound->mScale, cube, 1e-12);
        EXPECT_EQ(compound->mName, "Compound of Octahedron and Cube");
        EXPECT_EQ(compound->mDualName, "Compound of Cube and Octahedron");
    }
}

TEST(MemoryCompoundTest, A3DAndA4DModelMakeNoCompound)
{
    std::unique_ptr<SimplePoly> cube = Cube(1.0);
    SimplePoly fourD;
    auto polytope = std::make_unique<Polytope4D>();
    polytope->mNumCells = 8;
    polytope->mNumVerts = 16;
    fourD.InitFromPolytope4D(std::move(polytope), false);
    EXPECT_EQ(CombineAtOneScale(*cube, fourD), nullptr);
    EXPECT_EQ(CombineAtOneScale(fourD, *cube), nullptr);
}
}  // namespace
