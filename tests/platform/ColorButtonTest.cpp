// Colour swatch buttons as drawn on the screen and clicked.

#include "GuiInput.h"
#include "platform/ColorButton.h"
#include "support/WxTestApp.h"

#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/dialog.h>
#include <wx/image.h>
#include <wx/settings.h>

namespace
{
// The window's pixels as the display shows them.
wxImage Screen(wxWindow* window)
{
    GdkWindow* gdk = GuiInput::MouseWindow(window);
    const wxSize size = window->GetClientSize();
    GdkPixbuf* pixbuf = gdk ? gdk_pixbuf_get_from_window(gdk, 0, 0, size.x, size.y) : nullptr;
    if (!pixbuf)
        return wxImage();
    wxImage image(size.x, size.y);
    const int stride = gdk_pixbuf_get_rowstride(pixbuf);
    const int channels = gdk_pixbuf_get_n_channels(pixbuf);
    const guchar* pixels = gdk_pixbuf_get_pixels(pixbuf);
    for (int y = 0; y < size.y; ++y)
        for (int x = 0; x < size.x; ++x)
        {
            const guchar* p = pixels + y * stride + x * channels;
            image.SetRGB(x, y, p[0], p[1], p[2]);
        }
    g_object_unref(pixbuf);
    return image;
}

wxColour Pixel(const wxImage& image, int x, int y)
{
    return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
}

// How many pixels of a colour lie inside the rectangle.
int Count(const wxImage& image, const wxRect& rect, const wxColour& color)
{
    int count = 0;
    for (int y = rect.y; y <= rect.GetBottom(); ++y)
        for (int x = rect.x; x <= rect.GetRight(); ++x)
            count += Pixel(image, x, y) == color;
    return count;
}

class ColorButtonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!WxTestAppRunning())
            GTEST_SKIP() << "needs a display (the GUI tests run under Xvfb)";
        dialog = new wxDialog(nullptr, wxID_ANY, "Swatches", wxPoint(60, 60), wxSize(300, 120));
    }
    void TearDown() override
    {
        if (dialog)
        {
            wxDialog* d = dialog;
            d->Destroy();
            PumpEventsUntil([d] { return !wxTopLevelWindows.Find(d); }, 200);
        }
    }

    wxDialog* dialog = nullptr;
};
}  // namespace

TEST_F(ColorButtonTest, TheCaptionTurnsWhiteBelowAChannelSumOf383)
{
    struct Case
    {
        const char* name;
        uint32_t color;
        uint32_t caption;
    };
    const Case kCases[] = {
        {"grey 127, sum 381", 0x7F7F7F, 0xFFFFFF}, {"grey 128, sum 384", 0x808080, 0x000000},
        {"sum 382", 0x7F7F80, 0xFFFFFF},           {"sum 383", 0x7F8080, 0x000000},
        {"red", 0x0000FF, 0xFFFFFF},               {"yellow", 0x00FFFF, 0x000000},
    };
    auto* button = new ColorButton(dialog, wxID_ANY, "Colour");
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        button->SetColor(c.color);
        EXPECT_EQ(button->GetColor(), c.color);
        EXPECT_EQ(button->GetTextColor(), c.caption);
    }
    button->SetColors(0x123456, 0x00FF00);
    EXPECT_EQ(button->GetTextColor(), 0x123456u);
    EXPECT_EQ(button->GetColor(), 0x00FF00u);
}

TEST_F(ColorButtonTest, RedAndYellowSwatchesOnTheScreen)
{
    auto* red = new ColorButton(dialog, wxID_ANY, "Faces", wxPoint(10, 10), wxSize(120, 60));
    auto* yellow = new ColorButton(dialog, wxID_ANY, "Edges", wxPoint(150, 10), wxSize(120, 60));
    red->SetColor(0x0000FF);
    yellow->SetColor(0x00FFFF);
    int clicks = 0;
    dialog->Bind(wxEVT_BUTTON, [&clicks](wxCommandEvent&) { ++clicks; });
    dialog->Show();
    PumpEventsUntil([&] { return yellow->IsShownOnScreen() && Screen(yellow).IsOk() &&
                                 Pixel(Screen(yellow), 60, 15) == wxColour(255, 255, 0); });
    struct Swatch
    {
        ColorButton* button;
        wxColour face;
        wxColour caption;
        wxColour other;
    };
    for (const Swatch& s : {Swatch{red, *wxRED, *wxWHITE, *wxBLACK}, Swatch{yellow, wxColour(255, 255, 0), *wxBLACK, *wxWHITE}})
    {
        const wxImage image = Screen(s.button);
        ASSERT_TRUE(image.IsOk());
        const wxSize size = s.button->GetClientSize();
        // Above the caption, in the middle of the swatch.
        EXPECT_EQ(Pixel(image, size.x / 2, size.y / 4), s.face);
        // The caption, inside the frame and the focus rectangle.
        const wxRect inside = wxRect(size).Deflate(6);
        EXPECT_GT(Count(image, inside, s.caption), 10);
        EXPECT_EQ(Count(image, inside, s.other), 0);
    }

    GuiInput::Click(red, wxPoint(60, 30));
    PumpEventsUntil([&clicks] { return clicks == 1; }, 200);
    EXPECT_EQ(clicks, 1);
    red->Disable();
    GuiInput::Click(red, wxPoint(60, 30));
    PumpEventsUntil([] { return false; }, 30);
    EXPECT_EQ(clicks, 1);
}

TEST_F(ColorButtonTest, ADisabledButtonShowsTheButtonFaceAndAnEngravedCaption)
{
    auto* button = new ColorButton(dialog, wxID_ANY, "Faces", wxPoint(10, 10), wxSize(120, 60));
    button->SetColor(0x0000FF);
    button->Disable();
    wxBitmap bitmap(120, 60, 24);
    {
        wxMemoryDC dc(bitmap);
        button->DrawItem(dc, wxRect(0, 0, 120, 60), false, false);
    }
    const wxImage image = bitmap.ConvertToImage();
    const wxColour face = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE);
    EXPECT_EQ(Pixel(image, 60, 12), face);
    EXPECT_EQ(Count(image, wxRect(0, 0, 120, 60), *wxRED), 0);
    // The caption twice: white one pixel lower and right, grey on top.
    EXPECT_GT(Count(image, wxRect(6, 6, 108, 48), wxColour(128, 128, 128)), 10);
    EXPECT_GT(Count(image, wxRect(6, 6, 108, 48), *wxWHITE), 0);

    // Pressed, the enabled caption moves one pixel right and down.
    button->Enable();
    auto captionTop = [button](bool pressed) {
        wxBitmap b(120, 60, 24);
        {
            wxMemoryDC dc(b);
            button->DrawItem(dc, wxRect(0, 0, 120, 60), pressed, false);
        }
        const wxImage im = b.ConvertToImage();
        for (int y = 3; y < 57; ++y)
            for (int x = 3; x < 117; ++x)
                if (Pixel(im, x, y) == *wxWHITE)
                    return wxPoint(x, y);
        return wxPoint(-1, -1);
    };
    const wxPoint up = captionTop(false);
    const wxPoint down = captionTop(true);
    ASSERT_GE(up.y, 0);
    EXPECT_EQ(down.y, up.y + 1);
}
