#include "library/LayoutSectionData.h"

#include <cstring>
#include <iterator>
#include <string>

namespace
{
// More ratios than a record keeps are read and dropped, up to this many.
constexpr int kMaxRatiosRead = 64;

const char* const kTokenNames[] = {"EndSection", "CurrentLayout", "Layout", "Ratios"};
}  // namespace

const ioEnumEntry kLayoutSectionNames[] = {{0, "Layout1"},
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

const char* LayoutSectionTokenName(int token)
{
    return token >= 0 && token < int(std::size(kTokenNames)) ? kTokenNames[token] : nullptr;
}

bool ReadLayoutSectionData(ioFile* f, int startLayout, LayoutSectionData& data)
{
    // A word the section does not know is reported once, as a layout token out of place, rather
    // than also as an unknown word by the token layer.
    std::string unknownWord;
    const ioErrorFunc outer = f->mError;
    const ioCallbacks previous = ioSetCallbacks(
        f, LayoutSectionTokenName, [&unknownWord, outer](int level, const char* fullText, const char* message) {
            static const char kUnknown[] = "Unknown token '";
            const size_t prefix = sizeof kUnknown - 1;
            if (level > 0 && std::strncmp(message, kUnknown, prefix) == 0)
            {
                unknownWord.assign(message + prefix);
                if (!unknownWord.empty() && unknownWord.back() == '\'')
                    unknownWord.pop_back();
                return 0;
            }
            return outer ? outer(level, fullText, message) : 0;
        });

    data.current = startLayout;
    int record = startLayout;
    bool ok = true;
    for (;;)
    {
        unknownWord.clear();
        const int token = ioReadToken(f);
        if (token == kIoNoToken || token == kLayoutTokenEndSection)
            break;
        if (token == kLayoutTokenCurrentLayout)
            data.current = ioReadEnum(f, kLayoutSectionNames);
        else if (token == kLayoutTokenLayout)
        {
            const int layout = ioReadEnum(f, kLayoutSectionNames);
            if (layout >= 0 && layout < kLayoutSectionLayouts)
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
            float ratios[kLayoutSectionRatios] = {};
            for (int i = 0; i < count; ++i)
            {
                const float ratio = ioReadFloat(f);
                if (i < kLayoutSectionRatios)
                    ratios[i] = ratio;
            }
            if (record >= 0 && record < kLayoutSectionLayouts)
            {
                LayoutSectionRecord& r = data.records[record];
                std::memcpy(r.ratios, ratios, sizeof ratios);
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
    ioRestoreCallbacks(f, previous);
    return ok;
}
