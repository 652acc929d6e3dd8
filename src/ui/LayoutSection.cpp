#include "ui/LayoutSection.h"

#include "kernel/Messages.h"
#include "kernel/TokenFile.h"
#include "platform/MainWindow.h"
#include "ui/NewFrame.h"
#include "ui/PaneLayout.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace
{
// A layout has at most three ratios; more in a file are read and dropped, up to this many.
constexpr int kMaxRatiosRead = 64;

const char* const kTokenNames[] = {"EndSection", "CurrentLayout", "Layout", "Ratios"};

const ioEnumEntry kLayoutNames[] = {{0, "Layout1"},
                                    {1, "Layout2"},
                                    {2, "Layout3Equal"},
                                    {3, "Layout3SplitLeft"},
                                    {4, "Layout3SplitRight"},
                                    {5, "Layout4Grid"},
                                    {6, "Layout4SplitLeft"},
                                    {7, "Layout4SplitRight"},
                                    {8, "Layout5SplitLeft"},
                                    {9, "Layout5SplitRight"},
                                    {10, "Layout6"},
                                    {0, nullptr}};

const char* LayoutTokenName(int token)
{
    return token >= 0 && token < int(std::size(kTokenNames)) ? kTokenNames[token] : nullptr;
}

int ShowLayoutError(int level, const char* fullText, const char* /*message*/)
{
    if (level > 0)
        ErrorMessage("%s", fullText);
    else
        WarningMessage("%s", fullText);
    return 0;
}
}  // namespace

bool WriteLayoutSection(ioFile* f, int indent)
{
    const ioCallbacks previous = ioSetCallbacks(f, LayoutTokenName, ShowLayoutError);
    const int current = GetCurrentLayoutIndex();
    if (current >= 0)
    {
        ioWriteToken(f, kLayoutTokenCurrentLayout, indent);
        ioWriteEnum(f, current, kLayoutNames, "\t", "\n");
    }
    for (int i = 0; i < kNumPaneLayouts; ++i)
    {
        const PaneLayout& record = GetPaneLayout(i);
        if (record.ratioCount < 0)
            continue;
        ioWriteToken(f, kLayoutTokenLayout, indent);
        ioWriteEnum(f, i, kLayoutNames, "\t", "\n");
        // A count read from a file may exceed what the record holds: only the ratios held are written.
        const int count = std::min(record.ratioCount, kMaxLayoutRatios);
        if (count > 0)
        {
            ioWriteToken(f, kLayoutTokenRatios, indent + 2);
            ioPrintf(f, "\t%d", count);
            for (int r = 0; r < count; ++r)
                ioPrintf(f, "\t%hg", double(record.ratios[r]));
            ioPrintf(f, "\n");
        }
    }
    ioWriteToken(f, kLayoutTokenEndSection, indent);
    ioPrintf(f, "\n");
    const bool ok = ioGood(f);
    ioRestoreCallbacks(f, previous);
    return ok;
}

bool ReadLayoutSection(ioFile* f, int startLayout, bool apply)
{
    // A word the section does not know is reported once, as a layout token out of place.
    std::string unknownWord;
    const ioCallbacks previous = ioSetCallbacks(
        f, LayoutTokenName, [&unknownWord](int level, const char* fullText, const char* message) {
            static const char kUnknown[] = "Unknown token '";
            const size_t prefix = sizeof kUnknown - 1;
            if (level > 0 && std::strncmp(message, kUnknown, prefix) == 0)
            {
                unknownWord.assign(message + prefix);
                if (!unknownWord.empty() && unknownWord.back() == '\'')
                    unknownWord.pop_back();
                return 0;
            }
            return ShowLayoutError(level, fullText, message);
        });
    if (apply)
        PaneLayout::InitAll();

    int current = startLayout;
    int record = startLayout;
    bool ok = true;
    for (;;)
    {
        unknownWord.clear();
        const int token = ioReadToken(f);
        if (token == kIoNoToken || token == kLayoutTokenEndSection)
            break;
        if (token == kLayoutTokenCurrentLayout)
            current = ioReadEnum(f, kLayoutNames);
        else if (token == kLayoutTokenLayout)
        {
            const int layout = ioReadEnum(f, kLayoutNames);
            if (layout >= 0 && layout < kNumPaneLayouts && apply)
                record = layout;
        }
        else if (token == kLayoutTokenRatios)
        {
            const int count = ioReadInt(f);
            if (count < 0 || count > kMaxRatiosRead)
            {
                ioError(f, 1, "Too many layout ratios (%d)", count);
                ok = false;
                break;
            }
            float ratios[kMaxLayoutRatios] = {};
            for (int i = 0; i < count; ++i)
            {
                const float ratio = ioReadFloat(f);
                if (i < kMaxLayoutRatios)
                    ratios[i] = ratio;
            }
            if (apply && record >= 0 && record < kNumPaneLayouts)
            {
                PaneLayout& r = GetPaneLayout(record);
                std::copy(ratios, ratios + kMaxLayoutRatios, r.ratios);
                r.ratioCount = count;
            }
        }
        else
        {
            const char* name = ioTokenName(f, token);
            const std::string shown = name ? name : !unknownWord.empty() ? unknownWord : std::to_string(token);
            ioError(f, 1, "Didn't expect layout token '%s'", shown.c_str());
            ok = false;
            break;
        }
    }

    if (apply)
        if (auto* frame = dynamic_cast<NewFrame*>(GetMainFrame()))
        {
            // A layout the file names that this program does not have leaves the one shown.
            const int shown = GetCurrentLayoutIndex();
            if (current == shown || current < 0 || current >= kNumPaneLayouts)
                frame->RefreshLayout();
            else
            {
                // Leaving the layout shown stores its panes' ratios: the file's must stay.
                const PaneLayout read = GetPaneLayout(shown);
                frame->SetLayout(current);
                if (shown >= 0)
                    GetPaneLayout(shown) = read;
            }
        }
    ioRestoreCallbacks(f, previous);
    return ok;
}
