#include "PaneFixture.h"

#include "render/GLSelection.h"
#include "render/HtmlText.h"
#include "view/Picking.h"

#include <cstdio>
#include <cstdlib>

namespace
{
class SceneTextPaneTest : public PaneFixture
{
};

// Writes the frame as a PPM when ORVANE_DUMP_DIR names a folder, for looking at.
void Dump(const PaneFrame& frame, const char* name)
{
    const char* dir = std::getenv("ORVANE_DUMP_DIR");
    if (!dir)
        return;
    const std::string path = std::string(dir) + "/" + name;
    if (FILE* f = std::fopen(path.c_str(), "wb"))
    {
        std::fprintf(f, "P6\n%d %d\n255\n", frame.width, frame.height);
        for (int y = 0; y < frame.height; ++y)
            std::fwrite(frame.At(0, y), 3, size_t(frame.width), f);
        std::fclose(f);
    }
}

TEST_F(SceneTextPaneTest, TextPutOnACubeFaceIsDrawnOnThatFace)
{
    Poly* poly = OpenModel("Cube");
    ASSERT_NE(poly, nullptr);
    CPolyView* pane = Pane(0);
    ASSERT_NE(pane, nullptr);
    // The face under the middle of the pane faces the viewer.
    const PaneFrame before = DrawAndRead(pane);
    PickRequest request;
    request.x = before.width / 2;
    request.y = before.height / 2;
    pane->PickAt(request, nullptr);
    PolyElement* face = poly->mSelectedElement;
    ASSERT_NE(face, nullptr);

    mScripted.services.PushText("<b>Top</b> face");
    ASSERT_TRUE(mDocument->EditElementText());
    EXPECT_STREQ(face->GetText(), "<b>Top</b> face");
    // The selection's highlight would hide white letters.
    poly->ClearSelection();
    const PaneFrame text = DrawAndRead(pane);
    PolyElement::SetText(face, "");
    const PaneFrame plain = DrawAndRead(pane);
    Dump(text, "cube-face-text.ppm");

    // The letters change pixels near the middle of the face only, and the face shows between them.
    int changed = 0, outside = 0, minX = text.width, maxX = -1;
    for (int y = 0; y < text.height; ++y)
        for (int x = 0; x < text.width; ++x)
        {
            const unsigned char* a = text.At(x, y);
            const unsigned char* b = plain.At(x, y);
            if (std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2]) < 60)
                continue;
            ++changed;
            if (!plain.Covered(x, y))
                ++outside;
            minX = std::min(minX, x);
            maxX = std::max(maxX, x);
        }
    EXPECT_GT(changed, 50);
    EXPECT_EQ(outside, 0) << "text inked outside the face";
    EXPECT_LT(minX, text.width / 2);
    EXPECT_GT(maxX, text.width / 2);
}

TEST_F(SceneTextPaneTest, ShapeLinksOpenTheirLibraryModel)
{
    ASSERT_NE(OpenModel("Cube"), nullptr);
    CPolyView* pane = Pane(0);
    // A picking pass names the links of the texts it draws, in order.
    Poly* poly = GetCurrentPoly();
    const PaneFrame frame = DrawAndRead(pane);
    PickRequest request;
    request.x = frame.width / 2;
    request.y = frame.height / 2;
    pane->PickAt(request, nullptr);
    ASSERT_NE(poly->mSelectedElement, nullptr);
    PolyElement::SetText(poly->mSelectedElement, "<a href=\"shape:Icosahedron\">ICO</a> <a href=\"shape:/NoSuch\">X</a>");
    DrawAndRead(pane);
    PickResult result;
    pane->PickAt(request, &result);
    // Every pass over the layers names the links it draws, numbering on.
    ASSERT_GE(CountHtmlLinks(), 2);
    ASSERT_EQ(CountHtmlLinks() % 2, 0);
    EXPECT_EQ(GetHtmlLink(0)->target, "shape:Icosahedron");
    EXPECT_EQ(GetHtmlLink(1)->target, "shape:/NoSuch");
    pane->FollowTextLink(1);
    bool reported = false;
    for (const ScriptedServices::Call& call : mScripted.services.calls)
        reported = reported || call.text == "Couldn't find shape 'NoSuch'.";
    EXPECT_TRUE(reported);
    pane->FollowTextLink(0);
    mDocument->FinishAllTransitions();
    EXPECT_EQ(GetCurrentPoly()->mFaces.mCount, 20);
}
}  // namespace
