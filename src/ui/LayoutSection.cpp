#include "ui/LayoutSection.h"

#include "kernel/Messages.h"
#include "kernel/TokenFile.h"
#include "platform/MainWindow.h"
#include "ui/NewFrame.h"
#include "ui/PaneLayout.h"

#include <algorithm>
#include <string>

namespace
{
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
    const ioCallbacks previous = ioSetCallbacks(f, LayoutSectionTokenName, ShowLayoutError);
    const int current = GetCurrentLayoutIndex();
    if (current >= 0)
    {
        ioWriteToken(f, kLayoutTokenCurrentLayout, indent);
        ioWriteEnum(f, current, kLayoutSectionNames, "\t", "\n");
    }
    for (int i = 0; i < kNumPaneLayouts; ++i)
    {
        const PaneLayout& record = GetPaneLayout(i);
        if (record.ratioCount < 0)
            continue;
        ioWriteToken(f, kLayoutTokenLayout, indent);
        ioWriteEnum(f, i, kLayoutSectionNames, "\t", "\n");
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
    // Standing alone the section reports in boxes of its own; inside a model file the file's
    // callback hears it.
    const bool ownBoxes = !f->mError;
    ioCallbacks previous;
    if (ownBoxes)
        previous = ioSetCallbacks(f, nullptr, ShowLayoutError);
    LayoutSectionData data;
    const bool ok = ReadLayoutSectionData(f, startLayout, data);
    if (ownBoxes)
        ioRestoreCallbacks(f, previous);

    if (apply)
    {
        PaneLayout::InitAll();
        for (int i = 0; i < kNumPaneLayouts && i < kLayoutSectionLayouts; ++i)
        {
            const LayoutSectionRecord& read = data.records[i];
            if (read.ratioCount < 0)
                continue;
            PaneLayout& r = GetPaneLayout(i);
            std::copy(read.ratios, read.ratios + kMaxLayoutRatios, r.ratios);
            r.ratioCount = read.ratioCount;
        }
        if (auto* frame = dynamic_cast<NewFrame*>(GetMainFrame()))
        {
            // A layout the file names that this program does not have leaves the one shown.
            const int current = data.current;
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
    }
    return ok;
}
