// Reading a spring-network description: options, start layers and the polygons by node index.

#include "operations/SpringSystem.h"

#include "kernel/Messages.h"
#include "kernel/Strings.h"
#include "operations/SpringNetwork.h"

#include <cctype>
#include <vector>

namespace
{
// Larger indices are no description of ours: they would only ask for memory.
constexpr long kMaxNodeIndex = 10000000;

bool IsDigit(char c)
{
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

bool IsWhite(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

long ReadDigits(const char*& p)
{
    long value = 0;
    while (IsDigit(*p))
    {
        if (value <= kMaxNodeIndex)
            value = value * 10 + (*p - '0');
        ++p;
    }
    return value;
}

// One polygon as the text gives it.
struct PolygonText
{
    bool hidden = false;
    bool temporary = false;
    std::vector<long> indices;
    int density = 1;
};

// Reads the polygon at p, leaving p after it and the white space that follows; false after telling
// what is wrong. part is the whole polygon part, for the message about a missing ')'.
bool ReadPolygon(const char*& p, const char* part, PolygonText& out)
{
    out = PolygonText();
    if (*p == 't')
    {
        out.hidden = true;
        p = SkipSpaces(p + 1);
    }
    if (*p == 'T')
    {
        out.hidden = true;
        out.temporary = true;
        p = SkipSpaces(p + 1);
    }
    if (*p != '(')
    {
        InternalError("Expected '(', got '%.50s'", p);
        return false;
    }
    p = SkipSpaces(p + 1);
    if (!IsDigit(*p))
    {
        InternalError("Expected digit after '(', got '%.50s'", p);
        return false;
    }
    for (;;)
    {
        const long index = ReadDigits(p);
        if (index > kMaxNodeIndex)
        {
            InternalError("Node index too large in '%.50s'", part);
            return false;
        }
        out.indices.push_back(index);
        p = SkipSpaces(p);
        if (*p == ')')
            break;
        if (*p == 0)
        {
            InternalError("No closing ')' in '%s'", part);
            return false;
        }
        if (!IsDigit(*p))
        {
            InternalError("Expected digit after '(', got '%.50s'", p);
            return false;
        }
    }
    p = SkipSpaces(p + 1);
    if (*p == '/')
    {
        p = SkipSpaces(p + 1);
        if (!IsDigit(*p))
        {
            InternalError("Expected digit after '/', got '%.50s'", p);
            return false;
        }
        out.density = int(ReadDigits(p));
        p = SkipSpaces(p);
    }
    return true;
}
}  // namespace

bool SpringSystem::CreateFromDesc(const char* text)
{
    TraceScope trace("Create from desc");
    ResetSpringNetwork();
    mFlags = 0;
    mNumNodes = 0;
    mNumPolygons = 0;
    mDesc = text ? text : "";
    const char* p = SkipSpaces(mDesc.c_str());
    mHopLimit = 9999;
    mPlanarityLimit = -1;

    while (*p == 'h' || *p == 'H' || *p == '~')
    {
        if (*p == '~')
        {
            ++p;
            mPlanarityLimit = IsDigit(*p) ? int(ReadDigits(p)) : 4;
        }
        else
        {
            ++p;
            mFlags |= kAddHopSprings;
            if (IsDigit(*p))
                mHopLimit = int(ReadDigits(p));
        }
        p = SkipSpaces(p);
    }

    mLayerText = p;
    while (*p == 'L' || *p == 'l')
    {
        while (*p && !IsWhite(*p))
            ++p;
        p = SkipSpaces(p);
    }
    const char* const part = p;

    // First the counts, so that the nodes exist before the polygons name them.
    long largest = -1;
    int numPolygons = 0;
    bool ok = true;
    PolygonText polygon;
    for (p = part; *p;)
    {
        if (!ReadPolygon(p, part, polygon))
        {
            ok = false;
            break;
        }
        for (long index : polygon.indices)
            largest = index > largest ? index : largest;
        ++numPolygons;
    }
    mNumNodes = int(largest + 1);
    mNumPolygons = numPolygons;
    std::vector<SpringNode*> nodes;
    nodes.reserve(size_t(mNumNodes));
    for (int i = 0; i < mNumNodes; ++i)
    {
        SpringNode* node = NewSpringNode();
        node->mFlags = SpringNode::kUnused;
        nodes.push_back(node);
    }

    for (p = part; ok && *p;)
    {
        if (!ReadPolygon(p, part, polygon))
        {
            ok = false;
            break;
        }
        SpringPolygon* made = NewSpringPolygon(int(polygon.indices.size()));
        if (!made)
        {
            ok = false;
            break;
        }
        if (polygon.hidden)
            made->mFlags |= SpringPolygon::kHidden;
        if (polygon.temporary)
            made->mFlags |= SpringPolygon::kTemporary;
        for (size_t k = 0; k < polygon.indices.size(); ++k)
        {
            SpringNode* node = nodes[size_t(polygon.indices[k])];
            node->mFlags = (node->mFlags & ~SpringNode::kUnused) | SpringNode::kPolygonVertex;
            made->mNodes[k] = node;
        }
        made->SetDensity(polygon.density);
    }
    if (!ok)
    {
        ResetSpringNetwork();
        return false;
    }
    return true;
}
