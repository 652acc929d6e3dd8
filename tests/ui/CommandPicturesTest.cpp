// The program's own pictures: one for every command that names one, each drawn, the view types
// told apart at the size the toolbar shows them, and the menu items showing their buttons' pictures.

#include "MainFrameFixture.h"

#include "platform/CommandIds.h"
#include "platform/CommandTable.h"
#include "platform/MenuPictureChecks.h"
#include "ui/CommandPictures.h"
#include "ui/Commands.h"

#include <wx/artprov.h>
#include <wx/bmpbndl.h>
#include <wx/menu.h>

#include <set>
#include <string>
#include <vector>

namespace
{
// The picture at 16 x 16 over a white ground, as RGB.
std::vector<int> OnWhite(const std::string& name)
{
    const wxImage image = GetCommandPicture(name).GetBitmap(wxSize(16, 16)).ConvertToImage();
    std::vector<int> rgb;
    for (int y = 0; y < image.GetHeight(); ++y)
        for (int x = 0; x < image.GetWidth(); ++x)
        {
            const int a = image.HasAlpha() ? image.GetAlpha(x, y) : 255;
            for (int c = 0; c < 3; ++c)
            {
                const int v = c == 0 ? image.GetRed(x, y) : c == 1 ? image.GetGreen(x, y) : image.GetBlue(x, y);
                rgb.push_back((v * a + 255 * (255 - a)) / 255);
            }
        }
    return rgb;
}

// Pixels whose colour differs clearly.
int DifferentPixels(const std::vector<int>& a, const std::vector<int>& b)
{
    int count = 0;
    for (size_t i = 0; i + 2 < a.size() && i + 2 < b.size(); i += 3)
    {
        const int d = std::abs(a[i] - b[i]) + std::abs(a[i + 1] - b[i + 1]) + std::abs(a[i + 2] - b[i + 2]);
        count += d > 90 ? 1 : 0;
    }
    return count;
}
}  // namespace

TEST(CommandPictures, EveryNamedPictureExistsAndIsDrawn)
{
    if (!WxTestAppRunning())
        GTEST_SKIP() << "needs a display (the GUI tests run under Xvfb)";
    std::set<std::string> names;
    for (const std::string& name : GetCommandPictureNames())
    {
        SCOPED_TRACE(name);
        EXPECT_TRUE(names.insert(name).second) << "named twice";
        const wxBitmapBundle picture = GetCommandPicture(name);
        ASSERT_TRUE(picture.IsOk());
        const wxImage image = picture.GetBitmap(wxSize(16, 16)).ConvertToImage();
        ASSERT_EQ(image.GetSize(), wxSize(16, 16));
        ASSERT_TRUE(image.HasAlpha());
        int opaque = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                opaque += image.GetAlpha(x, y) > 128 ? 1 : 0;
        EXPECT_GT(opaque, 30) << "hardly drawn";
        EXPECT_LT(opaque, 256 + 1);
    }
    // Every picture a command names, and the view types, edge styles and icon.
    const CommandTable& table = GetCommandTable();
    for (size_t i = 0; i < table.count; ++i)
        if (table.entries[i].bitmap)
        {
            EXPECT_TRUE(names.count(table.entries[i].bitmap)) << table.entries[i].bitmap;
        }
    for (const std::string& name : GetViewTypePictureNames())
        EXPECT_TRUE(names.count(name)) << name;
    EXPECT_EQ(GetViewTypePictureNames().size(), 25u);
    for (const std::string& name : GetKitEdgeStylePictureNames())
        EXPECT_TRUE(names.count(name)) << name;
    EXPECT_EQ(GetKitEdgeStylePictureNames().size(), 11u);
    EXPECT_TRUE(names.count(kProgramIconPicture));
    EXPECT_TRUE(GetCommandPictureSvg("no-such-picture").empty());
    EXPECT_FALSE(GetCommandPicture("no-such-picture").IsOk());
}

TEST(CommandPictures, TheViewTypesAndEdgeStylesAreToldApartAtSixteenPixels)
{
    if (!WxTestAppRunning())
        GTEST_SKIP() << "needs a display (the GUI tests run under Xvfb)";
    for (const std::vector<std::string>* set : {&GetViewTypePictureNames(), &GetKitEdgeStylePictureNames()})
    {
        std::vector<std::vector<int>> pixels;
        for (const std::string& name : *set)
            pixels.push_back(OnWhite(name));
        for (size_t i = 0; i < set->size(); ++i)
            for (size_t j = i + 1; j < set->size(); ++j)
                EXPECT_GE(DifferentPixels(pixels[i], pixels[j]), 12) << (*set)[i] << " and " << (*set)[j];
    }
}

class MenuPicturesTest : public MainFrameFixture
{
};

TEST_F(MenuPicturesTest, MenuItemsShowThePictureOfTheirButton)
{
    wxMenuBar* menus = mFrame->GetMenuBar();
    const CommandTable& table = GetCommandTable();
    int shown = 0;
    for (size_t i = 0; i < table.count; ++i)
    {
        const CommandInfo& c = table.entries[i];
        wxMenuItem* item = c.bitmap && c.menuPath ? menus->FindItem(c.id) : nullptr;
        if (!item)
            continue;
        SCOPED_TRACE(c.bitmap);
        const wxImage expected = GetCommandPicture(c.bitmap).GetBitmap(wxSize(16, 16)).ConvertToImage();
        wxBitmap plain = item->GetBitmap();
        if (IsPictureCheckItem(item) && IsPictureCheckItemChecked(item))
            continue;  // shows the checked look
        ASSERT_TRUE(plain.IsOk());
        const wxImage got = plain.ConvertToImage();
        ASSERT_EQ(got.GetSize(), expected.GetSize());
        EXPECT_TRUE(std::equal(got.GetData(), got.GetData() + 16 * 16 * 3, expected.GetData()));
        EXPECT_EQ(IsPictureCheckItem(item), c.update.checkable);
        ++shown;
    }
    EXPECT_GT(shown, 60);
    // The View menu's view types carry their pictures and their marks.
    wxMenuItem* base = menus->FindItem(kCmdViewBasePolyhedron);
    ASSERT_NE(base, nullptr);
    EXPECT_TRUE(IsPictureCheckItem(base));
}
