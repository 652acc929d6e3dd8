#include "RenderTestView.h"

#include "kernel/RenderSettings.h"
#include "kernel/ScriptedServices.h"
#include "kernel/UserServices.h"
#include "render/FontCache.h"
#include "render/GLFont.h"
#include "render/GLSelection.h"
#include "render/HtmlText.h"
#include "render/MipmapTextureFont.h"
#include "render/SceneText.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace
{
const char* const kDejaVu = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

std::vector<TextRunRecord>& Runs()
{
    static std::vector<TextRunRecord> runs;
    return runs;
}

void Record(const TextRunRecord& run)
{
    Runs().push_back(run);
}

// FreeType's own advance of a string at a pixel size, with the unfitted kerning FTGL applies.
double FreeTypeAdvance(const char* text, int pixels)
{
    FT_Library library = nullptr;
    FT_Init_FreeType(&library);
    FT_Face face = nullptr;
    FT_New_Face(library, kDejaVu, 0, &face);
    FT_Set_Char_Size(face, 0, pixels * 64, 72, 72);
    double advance = 0.0;
    FT_UInt previous = 0;
    for (const char* p = text; *p; ++p)
    {
        const FT_UInt index = FT_Get_Char_Index(face, FT_ULong(static_cast<unsigned char>(*p)));
        if (previous && FT_HAS_KERNING(face))
        {
            FT_Vector kern;
            FT_Get_Kerning(face, previous, index, FT_KERNING_UNFITTED, &kern);
            advance += kern.x / 64.0;
        }
        FT_Load_Glyph(face, index, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP);
        advance += face->glyph->advance.x / 64.0;
        previous = index;
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return advance;
}

// Fonts, runs and markup drawn in a live view; the cache is emptied around each test.
class SceneTextTest : public RenderTest
{
protected:
    void SetUp() override
    {
        RenderTest::SetUp();
        if (IsSkipped())
            return;
        mSavedResolution = GetFontResolution();
        mSavedSize = GetGlobalFontSize();
        SetFontResolution(48);
        SetGlobalFontSize(48.0f);  // one model unit per glyph pixel
        SetTextScaleMultiplier(1.0f);
        mView->PreOpenGL();
        FreeFontCache();
        mPrevious = SetTextRunObserver(&Record);
        Runs().clear();
    }
    void TearDown() override
    {
        if (mView)
        {
            SetTextRunObserver(mPrevious);
            FreeFontCache();
            mView->PostOpenGL();
            SetFontResolution(mSavedResolution);
            SetGlobalFontSize(mSavedSize);
        }
        RenderTest::TearDown();
    }

    // The runs drawn (not only measured).
    std::vector<TextRunRecord> Drawn() const
    {
        std::vector<TextRunRecord> out;
        for (const TextRunRecord& r : Runs())
            if (r.drawn)
                out.push_back(r);
        return out;
    }

    int mSavedResolution = 48;
    float mSavedSize = 1.0f;
    TextRunObserver mPrevious = nullptr;
};

TEST(DefaultCharacterSetTest, HoldsNinetySixCharactersInNinetyEightBytes)
{
    EXPECT_EQ(std::strlen(DefaultCharacterSet), 98u);
    int characters = 0;
    for (const char* p = DefaultCharacterSet; *p; ++p)
        if ((static_cast<unsigned char>(*p) & 0xC0) != 0x80)
            ++characters;
    EXPECT_EQ(characters, 96);
}

TEST_F(SceneTextTest, PagesArePlannedForTheCapacityAndCutToTheContext)
{
    MipmapTextureFont font(kDejaVu);
    ASSERT_EQ(font.Error(), 0);
    font.SetGlyphCapacity(98);
    font.SetMipmaps(true);
    ASSERT_TRUE(font.FaceSize(48, 72));
    font.Advance("a");
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    // 98 glyphs (one made) of the face's cell width plus both margins, to the next power of two.
    int expected = 1;
    while (expected < 97 * font.CellWidth() + 16)
        expected <<= 1;
    EXPECT_EQ(font.PageWidth(), std::min(expected, int(maxSize)));
    EXPECT_EQ(font.GlyphsToPlace(), 97);
    // With a cell width of 50 the same plan is 4916 wide: 8192.
    int plan = 1;
    while (plan < 98 * 50 + 16)
        plan <<= 1;
    EXPECT_EQ(plan, 8192);
}

TEST_F(SceneTextTest, FullPagesGetMipmapsAndANewPageStarts)
{
    MipmapTextureFont font(kDejaVu);
    font.SetGlyphCapacity(4);  // a page planned for four glyphs fills with the fifth
    font.SetMipmaps(true);
    ASSERT_TRUE(font.FaceSize(48, 72));
    font.Advance(DefaultCharacterSet);
    font.SetMipmaps(false);
    ASSERT_GE(font.Pages().size(), 2u);
    for (unsigned page : font.Pages())
    {
        SCOPED_TRACE(page);
        glBindTexture(GL_TEXTURE_2D, page);
        GLint w1 = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &w1);
        EXPECT_GT(w1, 0) << "level 1 of a finished page";
    }
}

TEST_F(SceneTextTest, AdvanceEqualsFreeTypesWithKerning)
{
    GLFont font;
    ASSERT_TRUE(font.CreateFonts(GLFont::kTexture, 48.0f, 0.0f, 48, "Fonts", kDejaVu, nullptr, nullptr, nullptr,
                                 nullptr));
    EXPECT_NEAR(font.GetFont(0)->Advance("Hello, world"), FreeTypeAdvance("Hello, world", 48), 0.01);
}

TEST_F(SceneTextTest, ShearMovesTheTopEdgeByItsHeight)
{
    // A white "l" drawn with and without shear: the top of the stroke moves right by 0.26 x its height.
    GLFont font;
    ASSERT_TRUE(font.CreateFonts(GLFont::kTexture, 48.0f, 0.0f, 48, "Fonts", kDejaVu, nullptr, nullptr, nullptr,
                                 nullptr));
    SizeView(200, 200);
    auto leftmostLit = [](int row) {
        unsigned char pixels[200 * 3];
        glReadPixels(0, row, 200, 1, GL_RGB, GL_UNSIGNED_BYTE, pixels);
        for (int x = 0; x < 200; ++x)
            if (pixels[3 * x] > 128)
                return x;
        return -1;
    };
    int plain = -1, slanted = -1;
    const float white[4] = {1, 1, 1, 1};
    for (int flags : {0, kRunItalic})
    {
        DrawWith([&] {
            mView->UsePixelProjection();
            glClearColor(0, 0, 0, 1);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            glDisable(GL_DEPTH_TEST);
            glDisable(GL_LIGHTING);
            float pen[3] = {50.0f, 50.0f, 0.0f};
            font.DrawRun(pen, 1.0f, 0.0f, 3.4028235e38f, white, flags, "l", -1, nullptr, nullptr);
            (flags ? slanted : plain) = leftmostLit(50 + 30);
        });
    }
    ASSERT_GE(plain, 0);
    ASSERT_GE(slanted, 0);
    EXPECT_NEAR(slanted - plain, 0.26 * 30, 1.5);
}

TEST_F(SceneTextTest, RunsWrapAtWordsAndLineFeeds)
{
    GLFont font;
    ASSERT_TRUE(font.CreateFonts(GLFont::kTexture, 48.0f, 0.0f, 48, "Fonts", kDejaVu, "DejaVu Sans", nullptr, nullptr,
                                 nullptr));
    const float white[4] = {1, 1, 1, 1};
    const float line = font.LineHeight();
    struct Case
    {
        const char* name;
        const char* text;
        float width;
        std::vector<std::pair<std::string, int>> pieces;  // text and line number
    };
    const Case cases[] = {
        {"a long word stays on its line", "Incomprehensibilities ab", 100.0f, {{"Incomprehensibilities", 0}, {"ab", 1}}},
        {"two line feeds give an empty line", "a\n\nb", 1000.0f, {{"a", 0}, {"b", 2}}},
        {"a line feed after a wrap adds none", "aaaa bbbb\nc", 120.0f, {{"aaaa", 0}, {"bbbb", 1}, {"c", 2}}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Runs().clear();
        DrawWith([&] {
            float pen[3] = {0, 0, 0};
            font.DrawRun(pen, 1.0f, 0.0f, c.width, white, 0, c.text, -1, nullptr, nullptr);
        });
        const std::vector<TextRunRecord> drawn = Drawn();
        ASSERT_EQ(drawn.size(), c.pieces.size());
        for (size_t i = 0; i < drawn.size(); ++i)
        {
            std::string piece = drawn[i].text;
            while (!piece.empty() && piece.back() == ' ')
                piece.pop_back();
            EXPECT_EQ(piece, c.pieces[i].first);
            EXPECT_NEAR(drawn[i].y, -line * float(c.pieces[i].second), 0.01f);
        }
    }
}

TEST_F(SceneTextTest, MeasureOnlyFillsTheBoxAndDrawsNothing)
{
    GLFont font;
    ASSERT_TRUE(font.CreateFonts(GLFont::kTexture, 48.0f, 0.0f, 48, "Fonts", kDejaVu, nullptr, nullptr, nullptr,
                                 nullptr));
    const float white[4] = {1, 1, 1, 1};
    float bbMin[2] = {1e30f, 1e30f}, bbMax[2] = {-1e30f, -1e30f};
    DrawWith([&] {
        float pen[3] = {0, 0, 0};
        font.DrawRun(pen, 1.0f, 0.0f, 3.4028235e38f, white, kRunMeasureOnly, "Wide", -1, bbMin, bbMax);
    });
    EXPECT_TRUE(Drawn().empty());
    EXPECT_GT(bbMax[0] - bbMin[0], 60.0f);
    EXPECT_GT(bbMax[1] - bbMin[1], 25.0f);
}

TEST_F(SceneTextTest, EmboldeningWidensEachGlyphByTwoPixels)
{
    // DejaVu Sans has a bold file of its own: its bold is another font, not the regular one.
    GLFont face;
    ASSERT_TRUE(face.CreateFonts(GLFont::kTexture, 48.0f, 0.0f, 48, "Fonts", "DejaVu Sans", "DejaVu Sans", nullptr,
                                 nullptr, nullptr));
    ASSERT_NE(face.GetFont(1), nullptr);
    EXPECT_NE(face.GetFont(1), face.GetFont(0));
    // Two texture fonts of one file, the second emboldened by 2 pixels: the inked width of an "l"
    // grows by 2 pixels.
    SizeView(200, 200);
    MipmapTextureFont plainFont(kDejaVu), boldFont(kDejaVu);
    boldFont.SetEmbolden(2.0f);
    ASSERT_TRUE(plainFont.FaceSize(48, 72));
    ASSERT_TRUE(boldFont.FaceSize(48, 72));
    int ink[2] = {0, 0};
    MipmapTextureFont* fonts[2] = {&plainFont, &boldFont};
    for (int i = 0; i < 2; ++i)
    {
        DrawWith([&] {
            mView->UsePixelProjection();
            glClearColor(0, 0, 0, 1);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            glDisable(GL_DEPTH_TEST);
            glDisable(GL_LIGHTING);
            const float white[4] = {1, 1, 1, 1};
            for (int c = 0; c < 4; ++c)
                SetGlyphColor(c, white);
            SetGlyphMaterialMode(false);
            glPushMatrix();
            glTranslatef(50.0f, 50.0f, 0.0f);
            fonts[i]->Render("l");
            glPopMatrix();
            unsigned char pixels[200 * 3];
            glReadPixels(0, 65, 200, 1, GL_RGB, GL_UNSIGNED_BYTE, pixels);
            for (int x = 0; x < 200; ++x)
                ink[i] += pixels[3 * x] > 100;
        });
    }
    EXPECT_GT(ink[0], 0);
    EXPECT_NEAR(ink[1] - ink[0], 2, 1);
}

TEST_F(SceneTextTest, MarkupDrawsTheRunsItShould)
{
    SetFontResolution(48);
    GLFont* font = GetCachedGLFont("DejaVu Sans");
    ASSERT_TRUE(font && font->IsValid());
    const float line = font->LineHeight() * font->GetScale();
    struct Case
    {
        const char* name;
        const char* text;
        int flags;
        int maxBytes;
        std::vector<std::pair<std::string, int>> runs;  // text and line
    };
    const Case cases[] = {
        {"numbered list", "<ol><li>a<li>b</ol>", 0, -1, {{"    1. ", 0}, {"a", 0}, {"    2. ", 1}, {"b", 1}}},
        {"nested bullets", "<ul><li>a<ul><li>b</ul></ul>", 0, -1,
         {{"    * ", 0}, {"a", 0}, {"        - ", 1}, {"b", 1}}},
        {"entities", "&lt;&amp;&nbsp;x", 0, -1, {{"<", 0}, {"&", 0}, {" ", 0}, {"x", 0}}},
        {"doubled less-than", "<<b>", 0, -1, {{"<", 0}, {"b>", 0}}},
        {"byte limit", "abcde fghij", 0, 5, {{"abcde", 0}}},
        {"selected part", "<sel>on<else>off</sel>", kRunSelected, -1, {{"on", 0}}},
        {"unselected part", "<sel>on<else>off</sel>", 0, -1, {{"off", 0}}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Runs().clear();
        DrawWith([&] {
            float pen[3] = {0, 0, 0};
            font->DrawHtml(pen, 1.0f, -1.0f, c.text, c.flags, nullptr, nullptr, c.maxBytes, 0);
        });
        const std::vector<TextRunRecord> drawn = Drawn();
        ASSERT_EQ(drawn.size(), c.runs.size());
        for (size_t i = 0; i < drawn.size(); ++i)
        {
            EXPECT_EQ(drawn[i].text, c.runs[i].first);
            EXPECT_NEAR(drawn[i].y, -line * float(c.runs[i].second), 0.01f);
        }
    }
}

TEST_F(SceneTextTest, CentredWordHasEqualSpaceOnBothSides)
{
    GLFont* font = GetCachedGLFont("DejaVu Sans");
    ASSERT_TRUE(font && font->IsValid());
    const float width = 10.0f / font->GetScale() / 10.0f * 10.0f;  // ten model units
    DrawWith([&] {
        float pen[3] = {0, 0, 0};
        font->DrawHtml(pen, 1.0f, width, "<center>mid</center>", 0, nullptr, nullptr, -1, 0);
    });
    const std::vector<TextRunRecord> drawn = Drawn();
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_NEAR(drawn[0].x, width - (drawn[0].x + drawn[0].width), 0.01f);
}

TEST_F(SceneTextTest, HeightIsZeroForNothingAndOneLineForOne)
{
    GLFont* font = GetCachedGLFont("DejaVu Sans");
    ASSERT_TRUE(font && font->IsValid());
    float pen[3] = {0, 0, 0};
    EXPECT_EQ(font->DrawHtml(pen, 1.0f, -1.0f, "", 0, nullptr, nullptr, -1, 0), 0.0f);
    float height = 0.0f;
    DrawWith([&] {
        float p[3] = {0, 0, 0};
        height = font->DrawHtml(p, 1.0f, -1.0f, "one", kRunMeasureOnly, nullptr, nullptr, -1, 0);
    });
    EXPECT_NEAR(height, font->LineHeight() * font->GetScale(), 1e-4);
}

TEST_F(SceneTextTest, DeepListsStayInsideTheirCounters)
{
    GLFont* font = GetCachedGLFont("DejaVu Sans");
    ASSERT_TRUE(font && font->IsValid());
    std::string text;
    for (int i = 0; i < 25; ++i)
        text += "<ol>";
    text += "<li>deep";
    for (int i = 0; i < 25; ++i)
        text += "</ol>";
    text += "<li>top";
    DrawWith([&] {
        float pen[3] = {0, 0, 0};
        font->DrawHtml(pen, 1.0f, -1.0f, text.c_str(), 0, nullptr, nullptr, -1, 0);
    });
    const std::vector<TextRunRecord> drawn = Drawn();
    ASSERT_EQ(drawn.size(), 4u);
    // Depth 25 counts as bulleted (odd: "* "), behind 100 spaces.
    EXPECT_EQ(drawn[0].text, std::string(100, ' ') + "* ");
    EXPECT_EQ(drawn[2].text, "- ");
}

TEST_F(SceneTextTest, LinksGetSelectionNamesInOrder)
{
    GLFont* font = GetCachedGLFont("DejaVu Sans");
    ASSERT_TRUE(font && font->IsValid());
    InitGLSelection(37);
    ClearHtmlLinks(0x4000, 17);
    mView->SetSelecting(0x4000);
    DrawWith([&] {
        float pen[3] = {0, 0, 0};
        font->DrawHtml(pen, 1.0f, -1.0f, "<a href=\"shape:Cube\">one</a> and <a id=7 href=\"http://x\">two</a>", 0,
                       nullptr, nullptr, -1, 5);
    });
    mView->SetSelecting(0);
    ASSERT_EQ(CountHtmlLinks(), 2);
    EXPECT_EQ(GetHtmlLink(0)->target, "shape:Cube");
    EXPECT_EQ(GetHtmlLink(0)->id, -1);
    EXPECT_EQ(GetHtmlLink(1)->target, "http://x");
    EXPECT_EQ(GetHtmlLink(1)->id, 7);
    EXPECT_EQ(GetHtmlLink(1)->data, 5);
    EXPECT_EQ(GetHtmlLink(2), nullptr);
    // Link colours: bluish becomes blue, anything else gains full blue.
    for (const TextRunRecord& r : Runs())
        if (r.text == "one")
        {
            EXPECT_EQ(r.color[0], 0.0f);
            EXPECT_EQ(r.color[2], 1.0f);
        }
}

TEST_F(SceneTextTest, FaceListsAreLookedUpInOrderAndKeptWhole)
{
    ScriptedServices services;
    UserServices* previous = SetServices(&services);
    FontCacheEntry* entry = GetCachedFont("NoSuchFace, DejaVu Sans");
    ASSERT_TRUE(entry->mFont.IsValid());
    EXPECT_EQ(entry->mFaceList, "NoSuchFace, DejaVu Sans");
    EXPECT_EQ(entry->mFaceList.substr(entry->mLoadedFace, entry->mLoadedFaceLength), "DejaVu Sans");
    FontCacheEntry* same = GetCachedFont("dejavu sans");
    FontCacheEntry* other = GetCachedFont("DejaVu Sans ");
    EXPECT_NE(same, entry);
    EXPECT_EQ(GetCachedFont("DEJAVU SANS"), same);
    EXPECT_NE(other, same);
    // A face that is not installed is reported once.
    GetCachedFont("NoSuchFaceAtAll");
    GetCachedFont("NoSuchFaceAtAll");
    int reports = 0;
    for (const ScriptedServices::Call& call : services.calls)
        reports += call.text == "Can't load font \"NoSuchFaceAtAll\".  Make sure you have it installed.";
    EXPECT_EQ(reports, 1);
    // A new resolution reloads at the next lookup.
    SetFontResolution(24);
    EXPECT_EQ(GetCachedFont("dejavu sans")->mFont.GetResolution(), 24);
    SetServices(previous);
}

TEST(FontLookupTest, FontconfigAnswersFaceNames)
{
    std::string regular, bold;
    ASSERT_TRUE(FindFontFiles("DejaVu Sans", nullptr, regular, bold));
    EXPECT_NE(regular.find("DejaVuSans.ttf"), std::string::npos) << regular;
    EXPECT_NE(bold.find("DejaVuSans-Bold.ttf"), std::string::npos) << bold;
    ASSERT_TRUE(FindFontFiles("dejavu", nullptr, regular, bold));
    EXPECT_NE(regular.find("DejaVuMathTeXGyre.ttf"), std::string::npos) << "the first family that begins with it";
    ASSERT_TRUE(FindFontFiles("Arial", nullptr, regular, bold));
    EXPECT_NE(regular.find("LiberationSans-Regular"), std::string::npos) << regular;
    EXPECT_FALSE(FindFontFiles("NoSuchFaceAtAll", nullptr, regular, bold));
    EXPECT_FALSE(FindFontFiles("  ", nullptr, regular, bold));
}

TEST(SceneTextPlacementTest, FramesFollowTheModeAndTheKeepBits)
{
    const double box[4] = {0.0, -1.0, 4.0, 2.0};
    const Vec3D up{0, 1, 0}, towardsEye{0, 0, 5};
    const Vec3D normal{0, 0, 1}, back{0, 0, -1}, along{1, 0, 0};
    // Flat on a face seen from the front: u along x, centred.
    SceneTextFrame f = PlaceSceneText(kTextFlat | kTextKeepUpright | kTextKeepForward, box, up, towardsEye, &normal,
                                      &along);
    EXPECT_NEAR(f.u.x, 1.0, 1e-12);
    EXPECT_NEAR(f.ox, 2.0, 1e-12);
    EXPECT_NEAR(f.oy, 0.5, 1e-12);
    // Seen from behind with keep forward: it still reads left to right (u towards +x on screen).
    f = PlaceSceneText(kTextFlat | kTextKeepForward, box, up, towardsEye, &back, nullptr);
    EXPECT_GT(f.u.x, 0.0);
    EXPECT_GT(Vec3Dot(f.n, towardsEye), 0.0);
    // Screen aligned: facing the eye whatever the directions given.
    for (const Vec3D& eye : {Vec3D{0, 0, 3}, Vec3D{3, 0, 0}, Vec3D{0, 2, 2}})
    {
        f = PlaceSceneText(kTextScreenAlign, box, up, eye, &along, &normal);
        Vec3D n = eye;
        Vec3Normalize(n);
        EXPECT_NEAR(Vec3Dot(f.n, n), 1.0, 1e-9);
    }
    // Extend: starts at the anchor and runs along the direction given.
    f = PlaceSceneText(kTextExtend, box, up, towardsEye, &along, nullptr);
    EXPECT_NEAR(f.u.x, 1.0, 1e-12);
    EXPECT_NEAR(f.ox, 0.0, 1e-12);
}
}  // namespace
