#include "Polytope4DFixtures.h"

#include "kernel/ColorRGB.h"

#include <gtest/gtest.h>

// Colours and hidden bits follow 4D duality: a vertex is the dual's cell of equal index, an edge the
// dual's face, and back.

namespace
{
using Element4DColorsTest = Polytope4DTestBase;

struct MirrorCase
{
    const char* name;
    uint32_t kind;
};
const MirrorCase kKinds[] = {{"vertex to cell", Element4D::kVertKind},
                             {"edge to face", Element4D::kEdgeKind},
                             {"face to edge", Element4D::kFaceKind},
                             {"cell to vertex", Element4D::kCellKind}};

Element4D* ElementOf(Polytope4D& p, uint32_t kind, int i)
{
    switch (kind)
    {
    case Element4D::kVertKind:
        return p.GetVert(i);
    case Element4D::kEdgeKind:
        return p.GetEdge(i);
    case Element4D::kFaceKind:
        return p.GetFace(i);
    default:
        return p.GetCell(i);
    }
}

uint32_t DualKind(uint32_t kind)
{
    return 3 - kind;
}

void SetColorOf(Element4D* e, uint32_t color)
{
    if (Vert4D* v = Element4D::AsVert(e))
        Vert4D::SetColor(v, color);
    else if (Edge4D* edge = Element4D::AsEdge(e))
        Edge4D::SetColor(edge, color);
    else if (Face4D* f = Element4D::AsFace(e))
        Face4D::SetColor(f, color);
    else
        Cell4D::SetColor(Element4D::AsCell(e), color);
}
}  // namespace

TEST_F(Element4DColorsTest, ColourSettersMirrorOntoTheDualElementOfEqualIndex)
{
    for (const MirrorCase& c : kKinds)
    {
        SCOPED_TRACE(c.name);
        LinkedPair pair = MakeLinkedPair();
        // From the base to the dual, and from the dual back to the base.
        for (bool fromDual : {false, true})
        {
            Polytope4D& from = fromDual ? *pair.dual : *pair.base;
            Polytope4D& to = fromDual ? *pair.base : *pair.dual;
            const uint32_t color = fromDual ? 0x445566 : 0x112233;
            const uint32_t otherBefore = ElementOf(to, DualKind(c.kind), 2)->mColor;
            SetColorOf(ElementOf(from, c.kind, 3), color);
            EXPECT_EQ(ElementOf(from, c.kind, 3)->mColor, color);
            EXPECT_EQ(ElementOf(to, DualKind(c.kind), 3)->mColor, color);
            EXPECT_EQ(ElementOf(to, DualKind(c.kind), 2)->mColor, otherBefore);
        }
    }

    // Without a dual only the element changes.
    Polytope4D alone;
    AddSimplex(alone, 0.0, 0x0000FF);
    Cell4D::SetColor(alone.GetCell(1), 0x00ABCD);
    EXPECT_EQ(alone.GetCell(1)->mColor, 0x00ABCDu);
    Cell4D::SetColor(nullptr, 0x00ABCD);  // nothing to colour
}

TEST_F(Element4DColorsTest, ColourSettersWithoutAnElementSetTheDefaults)
{
    ElementDisplayOptions& options = GetElementDisplayOptions();
    Vert4D::SetColor(nullptr, 0x00FF00);
    EXPECT_EQ(options.mDefaultVertColor.r, 0.0f);
    EXPECT_EQ(options.mDefaultVertColor.g, 1.0f);
    EXPECT_EQ(options.mDefaultVertColor.b, 0.0f);
    Edge4D::SetColor(nullptr, 0xFF0000);
    EXPECT_EQ(options.mDefaultEdgeColor.b, 1.0f);
    EXPECT_EQ(options.mDefaultEdgeColor.r, 0.0f);
    Face4D::SetColor(nullptr, 0x0000FF);
    EXPECT_EQ(options.mDefaultEdgeColor.r, 1.0f);
    EXPECT_EQ(options.mDefaultEdgeColor.b, 0.0f);
    EXPECT_EQ(Edge4D::GetColor(nullptr), 0x0000FFu);
    // New elements take the defaults.
    Polytope4D p;
    EXPECT_EQ(p.NewVert(nullptr)->mColor, 0x00FF00u);
    EXPECT_EQ(p.NewFace(3)->mColor, 0x0000FFu);
}

TEST_F(Element4DColorsTest, HiddenBitsMirrorBetweenVerticesAndDualCells)
{
    LinkedPair pair = MakeLinkedPair();
    Vert4D::SetHidden(pair.base->GetVert(4), true);
    EXPECT_TRUE(pair.base->GetVert(4)->mFlags & Element4D::kHidden);
    EXPECT_TRUE(pair.dual->GetCell(4)->mFlags & Element4D::kHidden);
    EXPECT_FALSE(pair.dual->GetCell(3)->mFlags & Element4D::kHidden);
    Cell4D::SetHidden(pair.dual->GetCell(4), false);
    EXPECT_FALSE(pair.base->GetVert(4)->mFlags & Element4D::kHidden);
    EXPECT_FALSE(pair.dual->GetCell(4)->mFlags & Element4D::kHidden);

    Cell4D::SetHidden(pair.base->GetCell(0), true);
    EXPECT_TRUE(pair.dual->GetVert(0)->mFlags & Element4D::kHidden);
    EXPECT_TRUE(Vert4D::IsHidden(pair.dual->GetVert(0)));
}

TEST_F(Element4DColorsTest, VerticesAndEdgesHideWithTheirCells)
{
    // Vertex 0 of the simplex lies on cells 1-4, edge (0, 1) on cells 2-4.
    constexpr uint32_t kOut = Element4D::kCellNotShown;
    constexpr uint32_t kHid = Element4D::kHidden;
    struct HideCase
    {
        const char* name;
        int mode;
        bool betweenHidden;
        bool ownFlag;
        uint32_t cells[5];
        bool vertHidden;
        bool edgeHidden;
    };
    const HideCase kCases[] = {
        {"own hidden flag", kCellHidingNone, false, true, {}, true, true},
        {"nothing on", kCellHidingNone, false, false, {0, kOut, kOut, kOut, kOut}, false, false},
        {"back cells hidden, all out", kCellHidingBack, false, false, {0, kOut, kOut, kOut, kOut}, true, true},
        {"front cells hidden, all out", kCellHidingFront, false, false, {0, kOut, kOut, kOut, kOut}, true, true},
        {"one cell still shown", kCellHidingBack, false, false, {0, 0, kOut, kOut, kOut}, false, true},
        {"hidden cells need the option", kCellHidingBack, false, false, {0, kHid, kHid, kHid, kHid}, false, false},
        {"option with hidden and left-out cells", kCellHidingNone, true, false, {0, kHid, kOut, kHid, kOut}, true,
         true},
        {"option, one cell visible", kCellHidingNone, true, false, {0, kHid, kOut, 0, kOut}, false, false},
    };
    for (const HideCase& c : kCases)
    {
        SCOPED_TRACE(c.name);
        LinkedPair pair = MakeLinkedPair();
        Polytope4D& p = *pair.base;
        SetCellHidingMode4D(c.mode);
        GetElementDisplayOptions().mHideBetweenHiddenFaces = c.betweenHidden;
        for (int m = 0; m < 5; ++m)
            p.GetCell(m)->mFlags |= c.cells[m];
        Vert4D* vert = p.GetVert(0);
        Edge4D* edge = vert->FindEdgeTo(p.GetVert(1));
        ASSERT_NE(edge, nullptr);
        if (c.ownFlag)
        {
            vert->mFlags |= Element4D::kHidden;
            edge->mFlags |= Element4D::kHidden;
        }
        EXPECT_EQ(Vert4D::IsHidden(vert), c.vertHidden);
        EXPECT_EQ(Edge4D::IsHidden(edge), c.edgeHidden);
    }

    // Without cells a vertex counts as hidden once hiding by cells is on; empty ring slots of an
    // edge are passed over.
    Polytope4D p;
    Vert4D* lone = p.NewVert(nullptr);
    Edge4D* edge = p.NewEdge(lone, p.NewVert(nullptr));
    Cell4D* cell = p.NewCell(0);
    edge->mNumFaces = 2;
    edge->mFaces.reset(new Face4D*[2]());
    edge->mCells.reset(new Cell4D*[2]{nullptr, cell});
    SetCellHidingMode4D(kCellHidingNone);
    GetElementDisplayOptions().mHideBetweenHiddenFaces = false;
    EXPECT_FALSE(Vert4D::IsHidden(lone));
    SetCellHidingMode4D(kCellHidingFront);
    EXPECT_TRUE(Vert4D::IsHidden(lone));
    EXPECT_FALSE(Edge4D::IsHidden(edge));
    cell->mFlags |= Element4D::kCellNotShown;
    EXPECT_TRUE(Edge4D::IsHidden(edge));
    EXPECT_FALSE(Vert4D::IsHidden(nullptr));
}
