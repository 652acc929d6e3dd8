// The colour undo item: every face, vertex and edge colour of the current model comes back through
// the packed form.

#include "document/DocumentSettings.h"
#include "document/PolyDoc.h"
#include "document/UndoList.h"
#include "kernel/UndoKinds.h"
#include "support/PolyBuilder.h"
#include "support/RecordingShell.h"
#include "support/WxTestApp.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace
{
std::vector<ColorRGB> AllColors(Poly& poly)
{
    std::vector<ColorRGB> colors;
    for (FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext)
    {
        colors.push_back(f->mColor);
        colors.push_back(f->mBackColor);
    }
    for (FaceVert* v = poly.mVerts.mFirst; v; v = v->mNext)
    {
        colors.push_back(v->mColor);
        colors.push_back(v->mBackColor);
    }
    for (int i = 0; i < poly.mNumEdges; ++i)
        colors.push_back(poly.mEdges[i].mColor);
    return colors;
}

// Distinct colours per element, some between the 1/255 steps.
void Paint(Poly& poly, float shift)
{
    float k = 0.0f;
    auto next = [&] {
        k += 1.0f;
        return ColorRGB{std::fmod(0.013f * k + shift, 1.0f), std::fmod(0.37f * k, 1.0f), 0.5f + shift / 2};
    };
    for (FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext)
    {
        f->mColor = next();
        f->mBackColor = next();
    }
    for (FaceVert* v = poly.mVerts.mFirst; v; v = v->mNext)
    {
        v->mColor = next();
        v->mBackColor = next();
    }
    for (int i = 0; i < poly.mNumEdges; ++i)
        poly.mEdges[i].mColor = next();
}

std::vector<uint32_t> Packed(const std::vector<ColorRGB>& colors)
{
    std::vector<uint32_t> packed;
    for (const ColorRGB& c : colors)
        packed.push_back(ColorToRGB(c));
    return packed;
}

TEST(ColorUndo, UndoAndRedoRestoreEveryColourToTheNearestStep)
{
    if (!WxTestAppRunning())
        GTEST_SKIP() << "needs a display (the GUI tests run under Xvfb)";
    const DocumentSettings saved = GetDocumentSettings();
    RecordingShell shell;
    ScopedShell scope(&shell);
    ClearUndoList();
    SetUndoItemMaker(nullptr);
    auto doc = std::make_unique<CPolyDoc>();
    Poly& poly = doc->GetCurrentRecord()->mPoly;

    AddUndo(kUndoColorChange, false);
    EXPECT_TRUE(IsUndoListEmpty()) << "a model without elements has no colours to record";

    BuildPoly(poly, CubeSpec(), true);
    ASSERT_EQ(poly.mNumEdges, 12);
    Paint(poly, 0.1f);
    const std::vector<uint32_t> before = Packed(AllColors(poly));
    AddUndo(kUndoColorChange, false);
    // 6 faces and 8 vertices with two colours each, 12 edges with one.
    EXPECT_EQ(GetUndoSize(), (6 + 8 + 12) * 8 + 28);
    Paint(poly, 0.4f);
    const std::vector<uint32_t> after = Packed(AllColors(poly));
    ASSERT_NE(before, after);

    UndoList::Undo();
    const std::vector<ColorRGB> undone = AllColors(poly);
    EXPECT_EQ(Packed(undone), before);
    // Each channel is a whole number of 1/255 steps.
    for (const ColorRGB& c : undone)
        for (float channel : {c.r, c.g, c.b})
            EXPECT_FLOAT_EQ(channel * 255.0f, std::round(channel * 255.0f));

    UndoList::Redo();
    EXPECT_EQ(Packed(AllColors(poly)), after);

    doc.reset();
    ClearUndoList();
    GetDocumentSettings() = saved;
}
}  // namespace
