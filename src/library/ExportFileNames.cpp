#include "library/ExportFileNames.h"

#include "kernel/ViewTypes.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <strings.h>

namespace
{
bool StartsWithNoCase(const char* text, const char* word)
{
    return strncasecmp(text, word, std::strlen(word)) == 0;
}

bool IsRemovedSeparator(char c)
{
    return c == '"' || c == ':' || c == '/' || c == '\\';
}
}  // namespace

void AbbreviateModelName(std::string& name)
{
    std::string out;
    const char* p = name.c_str();
    if (std::strncmp(p, "D-", 2) == 0)
    {
        out = "D-";
        p += 2;
    }
    bool upper = false;
    auto copy = [&](char c) {
        out += upper ? char(std::toupper(static_cast<unsigned char>(c))) : c;
        upper = false;
    };
    while (*p)
    {
        if (StartsWithNoCase(p, "hedron"))
        {
            p += 6;
            upper = false;
        }
        else if (StartsWithNoCase(p, "gonal"))
        {
            p += 5;
            upper = false;
        }
        else if (StartsWithNoCase(p, "grammic"))
        {
            out.append(p, 4);
            p += 7;
            upper = false;
        }
        else if (StartsWithNoCase(p, "truncated"))
        {
            copy(p[0]);
            out.append(p + 1, 4);
            p += 9;
        }
        else if (IsRemovedSeparator(*p))
        {
            ++p;
            upper = true;
        }
        else
            copy(*p++);
    }
    name = out;
}

std::string ViewTypeFileSuffix(int viewType, double morphRatio, double sliceRatio, bool model4D)
{
    char text[64] = "";
    if (ViewTypeHasAll(viewType, kViewFamilyMorph))
        std::snprintf(text, sizeof text, "-Morph%.3f", morphRatio);
    else if (viewType == kViewTypeSlice)
        std::snprintf(text, sizeof text, "-Slice%.3f", sliceRatio);
    else
    {
        switch (viewType)
        {
        case kViewTypeFacetDiagram:
            return "-FacetDiag";
        case kViewTypeFace:
            return model4D ? "-Cell" : "-Face";
        case kViewTypeVertexFigure:
            return "-Verf";
        case kViewTypeStelFace:
            return "-StelFace";
        case kViewTypeStelDiagram:
            return "-StelDiag";
        case kViewTypeCellDiagram:
            return "-CellDiag";
        default:
            break;
        }
    }
    return text;
}
