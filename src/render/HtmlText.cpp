#include "render/HtmlText.h"

#include "kernel/Messages.h"
#include "kernel/RenderSettings.h"
#include "render/FontCache.h"
#include "render/GLFont.h"
#include "render/OpenGLView.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace
{
std::vector<HtmlLink> gLinks;
int gLinkMask = 0;
int gLinkItemType = 17;

constexpr float kUnlimited = 3.4028235e38f;
constexpr int kIndentLevels = 9;
constexpr int kFontLevels = 20;

bool StartsWithNoCase(const char* p, const char* prefix)
{
    for (; *prefix; ++p, ++prefix)
        if (std::tolower(static_cast<unsigned char>(*p)) != std::tolower(static_cast<unsigned char>(*prefix)))
            return false;
    return true;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

const char* SkipBlanks(const char* p)
{
    while (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n')
        ++p;
    return p;
}

// The text of an entity name (after the ampersand, up to the semicolon).
const char* EntityText(const char* name, size_t length)
{
    struct Entity
    {
        const char* name;
        const char* text;
    };
    static const Entity kEntities[] = {{"gt", ">"},         {"lt", "<"},           {"ccedil", "c"},
                                       {"amp", "&"},        {"copy", "\xC2\xA9"}, {"deg", "\xC2\xB0"}};
    for (const Entity& e : kEntities)
        if (std::strlen(e.name) <= length && StartsWithNoCase(name, e.name))
            return e.text;
    return " ";
}

bool ParseColor(const char* p, float rgb[3])
{
    if (*p == '"')
        ++p;
    if (*p == '#')
    {
        int v[3];
        for (int i = 0; i < 3; ++i)
        {
            char hex[3] = {p[1 + 2 * i], p[2 + 2 * i], 0};
            if (!std::isxdigit(static_cast<unsigned char>(hex[0])) || !std::isxdigit(static_cast<unsigned char>(hex[1])))
                return false;
            v[i] = int(std::strtol(hex, nullptr, 16));
        }
        for (int i = 0; i < 3; ++i)
            rgb[i] = float(v[i]) / 255.0f;
        return true;
    }
    struct Named
    {
        const char* name;
        float rgb[3];
    };
    static const Named kNames[] = {{"red", {1, 0, 0}},     {"green", {0, 1, 0}}, {"blue", {0, 0, 1}},
                                   {"yellow", {1, 1, 0}},  {"orange", {1, 0.5f, 0}},
                                   {"white", {1, 1, 1}},   {"black", {0, 0, 0}}};
    for (const Named& n : kNames)
        if (StartsWithNoCase(p, n.name))
        {
            std::copy(n.rgb, n.rgb + 3, rgb);
            return true;
        }
    return false;
}

// Everything the markup's layout changes, saved whole at the start of an aligned line.
struct LayoutState
{
    HtmlTextStyle style;
    float pen[3] = {};
    const char* p = nullptr;
    GLFont* font = nullptr;
    GLFont* lastValid = nullptr;
    float left = 0.0f;
    int indentDepth = 0;
    float indents[kIndentLevels] = {};
    struct FontLevel
    {
        GLFont* font = nullptr;
        float size = 1.0f;
        float color[4] = {};
    };
    int fontDepth = 0;
    FontLevel fonts[kFontLevels];
    int resolution = 48;
    bool lineStart = true;
    bool lineHasContent = false;
    std::string linkTarget;
    int linkId = -1;
};

class HtmlLayout
{
public:
    HtmlLayout(GLFont* font, float pen[3], float scale, float width, const char* text, int flags, float* bbMin,
               float* bbMax, int maxBytes, int linkData)
        : mPenOut(pen), mScale(scale), mText(text), mBBMin(bbMin), mBBMax(bbMax), mLinkData(linkData)
    {
        s.font = s.lastValid = font;
        std::copy(pen, pen + 3, s.pen);
        s.p = text;
        s.left = pen[0];
        mStartLeft = pen[0];
        mStartY = pen[1];
        s.resolution = GetFontResolution();
        mWidth = width;
        if (width < 0.0f)
        {
            mWidth = kUnlimited;
            flags |= kRunNoWrap;
        }
        if (flags & kRunNoWrap)
            mWidth = kUnlimited;
        s.style.flags = flags & ~(kRunCentre | kRunRight | kRunMeasuringLine);
        s.style.size = scale;
        std::copy(GetRenderSettings().sceneTextColor, GetRenderSettings().sceneTextColor + 4, s.style.color);
        mAlign = (flags & kRunCentre) ? 1 : (flags & kRunRight) ? 2 : 0;
        mEnd = text + std::strlen(text);
        mLimit = maxBytes >= 0 ? text + maxBytes : nullptr;
        OpenGLView* view = OpenGLView::GetCurrentGLView();
        mView = view;
        mNaming = view && view->GetSelectionMode() != 0 && (view->GetSelectionMode() & gLinkMask) != 0;
    }

    float Run();

private:
    bool Measuring() const { return (s.style.flags & kRunMeasuringLine) != 0; }
    void BeginMeasuring();
    void FinishMeasuredLine(const char* lineEnd, bool byWidth);
    bool DrawPiece(const char* text, int len);
    void LineFeed(int count);
    void HandleTag(bool& stop);
    void ReadFontAttributes(const char* q);
    void PushFont();
    void StartLink(const char* q, bool& stop);
    void EndLink();
    const char* SkipToTag(const char* from, const char* tag);

    LayoutState s;
    LayoutState mSaved;
    float* mPenOut;
    float mScale;
    const char* mText;
    float* mBBMin;
    float* mBBMax;
    int mLinkData;
    float mWidth = kUnlimited;
    float mStartLeft = 0.0f;
    float mStartY = 0.0f;
    int mAlign = 0;  // 1 centre, 2 right
    const char* mEnd = nullptr;
    const char* mLimit = nullptr;
    const char* mDrawUntil = nullptr;  // the end of the aligned line being drawn
    bool mEndByWidth = false;
    OpenGLView* mView = nullptr;
    bool mNaming = false;
    bool mLinkNamed = false;
};

void HtmlLayout::BeginMeasuring()
{
    mSaved = s;
    s.style.flags |= kRunMeasuringLine | kRunNoWrap;
    while (s.p < mEnd && IsBlank(*s.p))
        ++s.p;
    mSaved.p = s.p;
}

void HtmlLayout::FinishMeasuredLine(const char* lineEnd, bool byWidth)
{
    float offset = s.left + (mWidth >= kUnlimited ? 0.0f : mWidth) - s.pen[0];
    if (mAlign == 1)
        offset /= 2.0f;
    const float x = mSaved.pen[0];
    s = mSaved;
    s.pen[0] = x + offset;
    mDrawUntil = lineEnd;
    mEndByWidth = byWidth;
}

bool HtmlLayout::DrawPiece(const char* text, int len)
{
    if (len <= 0)
        return true;
    bool last = false;
    if (mLimit && !Measuring() && text + len > mLimit)
    {
        len = int(mLimit - text);
        last = true;
        if (len <= 0)
            return false;
    }
    HtmlTextStyle style = s.style;
    float width = mWidth;
    if (mAlign)
    {
        style.flags |= kRunNoWrap;
        width = kUnlimited;
    }
    s.font->DrawStyledRun(s.pen, s.left, width, style, text, len, mBBMin, mBBMax);
    s.lineStart = false;
    for (int i = 0; i < len; ++i)
        if (!IsBlank(text[i]) && text[i] != '\n')
            s.lineHasContent = true;
    return !last;
}

void HtmlLayout::LineFeed(int count)
{
    for (int i = 0; i < count; ++i)
    {
        HtmlTextStyle style = s.style;
        style.glow = 0.0f;
        s.font->DrawStyledRun(s.pen, s.left, mWidth, style, "\n", 1, nullptr, nullptr);
    }
    s.lineStart = true;
    s.lineHasContent = false;
}

const char* HtmlLayout::SkipToTag(const char* from, const char* tag)
{
    for (const char* q = from; *q; ++q)
        if (*q == '<' && StartsWithNoCase(q, tag))
            return q;
    return nullptr;
}

void HtmlLayout::PushFont()
{
    if (s.fontDepth < kFontLevels)
    {
        LayoutState::FontLevel& level = s.fonts[s.fontDepth];
        level.font = s.font;
        level.size = s.style.size;
        std::copy(s.style.color, s.style.color + 4, level.color);
    }
    ++s.fontDepth;
}

void HtmlLayout::ReadFontAttributes(const char* q)
{
    while (*q && *q != '>')
    {
        q = SkipBlanks(q);
        if (StartsWithNoCase(q, "color="))
        {
            float rgb[3];
            if (ParseColor(q + 6, rgb))
                std::copy(rgb, rgb + 3, s.style.color);
        }
        else if (StartsWithNoCase(q, "size="))
        {
            const char* v = q + 5;
            if (*v == '"')
                ++v;
            if (*v == '+')
                s.style.size *= std::pow(1.5f, float(std::atof(v + 1)));
            else if (*v == '-')
                s.style.size /= std::pow(1.5f, float(std::atof(v + 1)));
            else
                s.style.size = float(std::atof(v)) * mScale;
        }
        else if (StartsWithNoCase(q, "res="))
        {
            const char* v = q + 4;
            if (*v == '"')
                ++v;
            s.resolution = std::atoi(v);
        }
        else if (StartsWithNoCase(q, "face=\""))
        {
            const char* name = q + 6;
            const char* close = std::strchr(name, '"');
            if (!close)
                return;
            const int saved = GetFontResolution();
            SetFontResolution(s.resolution > 0 ? s.resolution : saved);
            GLFont* font = GetCachedGLFont(name, int(close - name));
            SetFontResolution(saved);
            if (font && font->IsValid())
            {
                s.font = s.lastValid = font;
                font->ApplyTextureState();
            }
            else
                s.font = s.lastValid;
            q = close + 1;
            continue;
        }
        // On to the next attribute.
        while (*q && *q != '>' && !IsBlank(*q) && *q != '\n' && *q != '\r')
        {
            if (*q == '"')
            {
                const char* close = std::strchr(q + 1, '"');
                q = close ? close : q + std::strlen(q) - 1;
            }
            ++q;
        }
    }
}

void HtmlLayout::StartLink(const char* q, bool& stop)
{
    // Attributes up to href="...".
    std::string target;
    int id = -1;
    const char* close = std::strchr(q, '>');
    while (*q && *q != '>')
    {
        q = SkipBlanks(q);
        if (StartsWithNoCase(q, "id="))
        {
            const char* v = q + 3;
            if (*v == '"')
                ++v;
            id = std::atoi(v);
        }
        else if (StartsWithNoCase(q, "noColor"))
            s.style.flags |= kRunLinkKeepsColor;
        else if (StartsWithNoCase(q, "href=\""))
        {
            const char* start = q + 6;
            const char* end = std::strchr(start, '"');
            if (!end)
            {
                stop = true;
                return;
            }
            target.assign(start, size_t(end - start));
            close = std::strchr(end + 1, '>');
            break;
        }
        while (*q && *q != '>' && !IsBlank(*q))
            ++q;
    }
    s.p = close ? close + 1 : mEnd;
    s.linkTarget = target;
    s.linkId = id;
    if (mNaming && !Measuring() && mView)
    {
        mView->SetGLSelectionItem(gLinkItemType, int(gLinks.size()));
        gLinks.push_back(HtmlLink{target, id, mLinkData});
        mLinkNamed = true;
    }
    s.style.flags |= kRunInLink;
}

void HtmlLayout::EndLink()
{
    if (!(s.style.flags & kRunInLink))
        return;
    if (mLinkNamed && mView && !Measuring())
        mView->ClearGLSelectionItem();
    s.linkTarget.clear();
    s.linkId = -1;
    s.style.flags &= ~(kRunInLink | kRunLinkKeepsColor);
}

// The tag at s.p (a '<' that is no doubled one).
void HtmlLayout::HandleTag(bool& stop)
{
    const char* p = s.p;
    const char* close = std::strchr(p, '>');
    const char* after = close ? close + 1 : mEnd;
    auto is = [&](const char* tag) { return StartsWithNoCase(p, tag); };
    HtmlTextStyle& st = s.style;
    const int level = st.listDepth;
    if (is("<b>"))
        st.flags |= kRunBold;
    else if (is("</b>"))
        st.flags &= ~kRunBold;
    else if (is("<i>"))
        st.flags |= kRunItalic;
    else if (is("</i>"))
        st.flags &= ~kRunItalic;
    else if (is("<shadow>"))
        st.flags |= kRunShadow;
    else if (is("</shadow>"))
        st.flags &= ~kRunShadow;
    else if (is("<glow>"))
        st.glow = 1.0f;
    else if (is("<glow "))
        st.glow = float(std::atof(p + 6));
    else if (is("</glow>"))
        st.glow = 0.0f;
    else if (is("<sub>"))
    {
        s.pen[1] += s.font->Descender(0) * st.size;
        st.size *= 2.0f / 3.0f;
    }
    else if (is("</sub>"))
    {
        st.size *= 1.5f;
        s.pen[1] -= s.font->Descender(0) * st.size;
    }
    else if (is("<sup>"))
    {
        s.pen[1] += s.font->Ascender(0) * st.size * 0.5f;
        st.size *= 2.0f / 3.0f;
    }
    else if (is("</sup>"))
    {
        st.size *= 1.5f;
        s.pen[1] -= s.font->Ascender(0) * st.size * 0.5f;
    }
    else if (is("<ul>") || is("<ol>"))
    {
        ++st.listDepth;
        // Lists deeper than the counters count as bulleted.
        if (st.listDepth < kHtmlListLevels)
            st.counters[st.listDepth] = is("<ol>") ? 1 : -1;
    }
    else if (is("</ul>") || is("</ol>"))
    {
        if (level < kHtmlListLevels)
            st.counters[level] = -1;
        if (st.listDepth > 0)
            --st.listDepth;
    }
    else if (is("<li>"))
    {
        std::string item = s.lineStart ? "" : "\n";
        item.append(size_t(4 * level), ' ');
        if (level < kHtmlListLevels && st.counters[level] >= 0)
            item += std::to_string(st.counters[level]++) + ". ";
        else
            item += (level % 2) ? "* " : "- ";
        s.p = after;
        if (!item.empty() && item[0] == '\n')
        {
            LineFeed(1);
            item.erase(0, 1);
        }
        if (!DrawPiece(item.c_str(), int(item.size())))
            stop = true;
        return;
    }
    else if (is("<in>"))
    {
        s.left = s.pen[0];
        if (s.indentDepth < kIndentLevels)
            s.indents[s.indentDepth++] = s.left;
        else
            DebugTrace("GLFont::DrawHtml(): \nmax indentation depth reached");
    }
    else if (is("</in>"))
    {
        if (s.indentDepth > 0)
        {
            --s.indentDepth;
            s.left = s.indentDepth > 0 ? s.indents[s.indentDepth - 1] : mStartLeft;
        }
    }
    else if (is("<center>") || is("<right>"))
    {
        if (mAlign)
            DebugTrace("Nested <center> or <right>!");
        else
        {
            s.p = after;
            if (!s.lineStart)
                LineFeed(1);
            mAlign = is("<center>") ? 1 : 2;
            return;
        }
    }
    else if (is("</center>") || is("</right>"))
    {
        if (Measuring())
        {
            FinishMeasuredLine(p, false);
            return;
        }
        mAlign = 0;
    }
    else if (is("<font "))
    {
        PushFont();
        ReadFontAttributes(p + 6);
    }
    else if (is("<face=") || is("<size=") || is("<color=") || is("<res="))
    {
        PushFont();
        ReadFontAttributes(p + 1);
    }
    else if (is("</font>"))
    {
        if (s.fontDepth > 0)
        {
            --s.fontDepth;
            if (s.fontDepth < kFontLevels)
            {
                const LayoutState::FontLevel& lv = s.fonts[s.fontDepth];
                s.font = lv.font ? lv.font : s.font;
                st.size = lv.size;
                std::copy(lv.color, lv.color + 4, st.color);
                s.font->ApplyTextureState();
            }
        }
        s.resolution = GetFontResolution();
    }
    else if (is("<a ") || is("<a>"))
    {
        StartLink(p + 2, stop);
        return;
    }
    else if (is("</a>"))
        EndLink();
    else if (is("<sel>"))
    {
        if (!(st.flags & kRunSelected))
        {
            const char* other = SkipToTag(after, "<else>");
            const char* end = SkipToTag(after, "</sel>");
            if (other && (!end || other < end))
                after = other + 6;
            else
                after = end ? end + 6 : mEnd;
        }
    }
    else if (is("<else>"))
    {
        // Reached while drawing the selected part: the other part is skipped.
        const char* end = SkipToTag(after, "</sel>");
        after = end ? end + 6 : mEnd;
    }
    else if (is("</sel>"))
    {
    }
    s.p = after;
}

float HtmlLayout::Run()
{
    bool stop = false;
    while (!stop)
    {
        if (mDrawUntil && s.p >= mDrawUntil)
        {
            mDrawUntil = nullptr;
            if (mEndByWidth)
            {
                s.pen[0] = s.left;
                s.pen[1] -= s.font->LineHeight() * s.font->GetScale() * GetTextScaleMultiplier() * mScale;
                s.lineStart = true;
                s.lineHasContent = false;
                while (s.p < mEnd && IsBlank(*s.p))
                    ++s.p;
            }
        }
        if (s.p >= mEnd || !*s.p)
        {
            if (Measuring())
            {
                FinishMeasuredLine(mEnd, false);
                continue;
            }
            break;
        }
        if (mAlign && !Measuring() && !mDrawUntil && s.lineStart)
        {
            BeginMeasuring();
            continue;
        }
        const char c = *s.p;
        if (c == '\r')
        {
            ++s.p;
            continue;
        }
        const bool lineBreak = c == '\n' || StartsWithNoCase(s.p, "<br>") || StartsWithNoCase(s.p, "<p>");
        if (lineBreak)
        {
            if (Measuring())
            {
                FinishMeasuredLine(s.p, false);
                continue;
            }
            const bool paragraph = StartsWithNoCase(s.p, "<p>");
            s.p += c == '\n' ? 1 : paragraph ? 3 : 4;
            LineFeed(paragraph ? 2 : 1);
            continue;
        }
        if (c == '<')
        {
            if (s.p[1] == '<')
            {
                s.p += 2;
                if (!DrawPiece("<", 1))
                    break;
                continue;
            }
            if (std::strchr(s.p, '>'))
            {
                HandleTag(stop);
                continue;
            }
        }
        if (c == '&')
        {
            const char* semi = s.p + 1;
            while (std::isalnum(static_cast<unsigned char>(*semi)))
                ++semi;
            if (*semi == ';' && semi > s.p + 1)
            {
                const char* text = EntityText(s.p + 1, size_t(semi - s.p - 1));
                const char* at = s.p;
                s.p = semi + 1;
                // The byte limit counts the entity where it stands in the text.
                if (mLimit && !Measuring() && at >= mLimit)
                    break;
                if (!DrawPiece(text, int(std::strlen(text))))
                    break;
                continue;
            }
        }
        // Plain text up to the next markup, in pieces of blanks and a word.
        if (s.style.listDepth > 0 && s.lineStart)
        {
            const std::string indent(size_t(4 * s.style.listDepth + 3), ' ');
            if (!DrawPiece(indent.c_str(), int(indent.size())))
                break;
            s.lineStart = true;
        }
        const char* q = s.p;
        const char* first = q;  // a special character that is text stays in the piece
        if (s.lineStart)
            while (IsBlank(*q))
                ++q;
        const char* pieceStart = q;
        if (q == first && (*q == '<' || *q == '&'))
            ++q;
        while (IsBlank(*q))
            ++q;
        while (*q && !IsBlank(*q) && *q != '<' && *q != '&' && *q != '\n' && *q != '\r')
            ++q;
        if (q == pieceStart)
        {
            s.p = q;
            continue;
        }
        if (Measuring())
        {
            const float before = s.pen[0];
            const bool pendingSpace = IsBlank(*pieceStart) && !s.lineStart;
            DrawPiece(pieceStart, int(q - pieceStart));
            if (pendingSpace && mWidth < kUnlimited && s.pen[0] > s.left + mWidth)
            {
                s.pen[0] = before;
                FinishMeasuredLine(pieceStart, true);
                continue;
            }
            s.p = q;
            continue;
        }
        if (mLimit && pieceStart >= mLimit)
            break;
        s.p = q;
        if (!DrawPiece(pieceStart, int(q - pieceStart)))
            break;
    }
    if (mLinkNamed && mView)
        mView->ClearGLSelectionItem();
    std::copy(s.pen, s.pen + 3, mPenOut);
    float height = mStartY - s.pen[1];
    if (s.lineHasContent)
        height += s.font->LineHeight() * s.font->GetScale() * GetTextScaleMultiplier() * mScale;
    return height;
}
}  // namespace

void ClearHtmlLinks(int mask, int itemType)
{
    gLinks.clear();
    gLinkMask = mask;
    gLinkItemType = itemType;
}

const HtmlLink* GetHtmlLink(int index)
{
    return index >= 0 && index < int(gLinks.size()) ? &gLinks[size_t(index)] : nullptr;
}

int CountHtmlLinks()
{
    return int(gLinks.size());
}

float GLFont::DrawHtml(float pen[3], float scale, float width, const char* text, int flags, float* bbMin,
                       float* bbMax, int maxBytes, int linkData)
{
    if (!text || !*text)
        return 0.0f;
    GLFont* font = this;
    if (!font->IsValid())
        return 0.0f;
    if (OpenGLView* view = OpenGLView::GetCurrentGLView(); view && view->GetSelectionMode())
        view->ClearGLSelectionItem();
    font->ApplyTextureState();
    HtmlLayout layout(font, pen, scale, width, text, flags, bbMin, bbMax, maxBytes, linkData);
    return layout.Run();
}

float DrawHtmlAt(GLFont& font, double x, double y, double z, float scale, float width, const char* text, int flags,
                 float* bbMin, float* bbMax, int maxBytes, int linkData)
{
    float pen[3] = {float(x), float(y), float(z)};
    return font.DrawHtml(pen, scale, width, text, flags, bbMin, bbMax, maxBytes, linkData);
}
