#include "kernel/ScriptedServices.h"
#include "model/SimplePoly.h"
#include "operations/SpringNetwork.h"
#include "operations/SpringSystem.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace
{
int CountNodes()
{
    int n = 0;
    for (SpringNode* node = GetSpringNetwork().mFirstNode; node; node = node->next)
        ++n;
    return n;
}

std::vector<SpringPolygon*> Polygons()
{
    std::vector<SpringPolygon*> list;
    for (SpringPolygon* p = GetSpringNetwork().mFirstPolygon; p; p = p->next)
        list.push_back(p);
    return list;
}
}  // namespace

TEST(SpringDescTest, RefusedTextsNameTheirFaultAndLeaveNoNetwork)
{
    struct Case
    {
        const char* name;
        const char* text;
        const char* message;
    };
    const std::string longTail(80, '7');
    const std::string longText = "(0 1 2) " + longTail;
    const std::string longMessage = "Expected '(', got '" + longTail.substr(0, 50) + "'";
    const Case cases[] = {
        {"digits after a space are no hop limit", "h 12 (0 1 2)", "Expected '(', got '12 (0 1 2)'"},
        {"empty parentheses", "(0 1 2) ()", "Expected digit after '(', got ')'"},
        {"a letter among the indices", "(0 1 x)", "Expected digit after '(', got 'x)'"},
        {"no closing parenthesis", "h L3 (0 1 2", "No closing ')' in '(0 1 2'"},
        {"a slash and a letter", "(0 1 2 3)/d (0 1 2)", "Expected digit after '/', got 'd (0 1 2)'"},
        {"what is shown is cut at 50 characters", longText.c_str(), longMessage.c_str()},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ScopedScriptedServices scripted;
        SpringSystem system;
        EXPECT_FALSE(system.CreateFromDesc(c.text));
        ASSERT_EQ(scripted.services.CountCalls("MessageBox"), 1);
        EXPECT_EQ(scripted.services.LastCall()->caption, "Internal Error");
        EXPECT_EQ(scripted.services.LastCall()->text, c.message);
        EXPECT_EQ(CountNodes(), 0);
        EXPECT_EQ(GetSpringNetwork().mFirstPolygon, nullptr);
    }
}

TEST(SpringDescTest, OptionsLayersAndPolygonsAreRead)
{
    ScopedScriptedServices scripted;
    SpringSystem system;
    ASSERT_TRUE(system.CreateFromDesc("  h12 ~ L1 L+4/3 (1 2 3 4)/3 t (1 2 0) T(2 3 0)(3 4 0) / 2"));
    EXPECT_EQ(scripted.services.calls.size(), 0u);
    EXPECT_EQ(system.mFlags, SpringSystem::kAddHopSprings);
    EXPECT_EQ(system.mHopLimit, 12);
    EXPECT_EQ(system.mPlanarityLimit, 4);
    ASSERT_NE(system.mLayerText, nullptr);
    EXPECT_EQ(std::string(system.mLayerText).rfind("L1 L+4/3 (", 0), 0u);
    EXPECT_EQ(system.mNumNodes, 5);
    EXPECT_EQ(system.mNumPolygons, 4);

    const std::vector<SpringPolygon*> polygons = Polygons();
    ASSERT_EQ(polygons.size(), 4u);
    EXPECT_EQ(polygons[0]->mNumSides, 4);
    EXPECT_EQ(polygons[0]->mDensity, 3);
    // A {4/3} square has the circumradius of the square: 1 / (2 sin(3 pi / 4)).
    EXPECT_NEAR(polygons[0]->mCircumradius, std::sqrt(0.5), 1e-15);
    EXPECT_EQ(polygons[0]->mNodes[0]->mIndex, 1);
    EXPECT_EQ(polygons[1]->mFlags, SpringPolygon::kHidden);
    EXPECT_EQ(polygons[2]->mFlags, SpringPolygon::kHidden | SpringPolygon::kTemporary);
    EXPECT_EQ(polygons[3]->mFlags, 0);
    EXPECT_EQ(polygons[3]->mDensity, 2);

    // Without options there is no planarity pass and the hop limit stays open.
    ASSERT_TRUE(system.CreateFromDesc("(0 1 2)"));
    EXPECT_EQ(system.mFlags, 0);
    EXPECT_EQ(system.mHopLimit, 9999);
    EXPECT_EQ(system.mPlanarityLimit, -1);
    ASSERT_TRUE(system.CreateFromDesc("H ~3 (0 1 2)"));
    EXPECT_EQ(system.mFlags, SpringSystem::kAddHopSprings);
    EXPECT_EQ(system.mHopLimit, 9999);
    EXPECT_EQ(system.mPlanarityLimit, 3);
    ResetSpringNetwork();
}

TEST(SpringDescTest, SkippedIndicesBecomeDeletedVertices)
{
    ScopedScriptedServices scripted;
    SpringSystem system;
    ASSERT_TRUE(system.CreateFromDesc("(0 2 4) (4 2 6) t(0 4 6)"));
    EXPECT_EQ(system.mNumNodes, 7);
    EXPECT_EQ(CountNodes(), 7);
    for (SpringNode* node = GetSpringNetwork().mFirstNode; node; node = node->next)
    {
        const bool used = node->mIndex % 2 == 0;
        EXPECT_EQ(node->mFlags, used ? SpringNode::kPolygonVertex : SpringNode::kUnused) << node->mIndex;
    }

    system.CreateSimplePoly();
    std::unique_ptr<SimplePoly> result = system.TakeResult();
    ASSERT_NE(result, nullptr);
    ASSERT_EQ(result->mNumVerts, 7);
    ASSERT_EQ(result->mNumFaces, 3);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ((result->mVerts[i].mFlags & SimpleElem::kTemp) != 0, i % 2 == 1) << i;
    EXPECT_FALSE(result->mFaces[0].mFlags & SimpleElem::kTemp);
    EXPECT_TRUE(result->mFaces[2].mFlags & SimpleElem::kTemp);  // the hidden polygon
    EXPECT_EQ(SimpleVert::GetIndex(result->mFaces[1].GetVert(2)), 6);
    // Making the model resets the network.
    EXPECT_EQ(CountNodes(), 0);
}
