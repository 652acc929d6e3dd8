#include "platform/HtmlSubset.h"

#include "kernel/Strings.h"

#include <cstdlib>
#include <cstring>

namespace
{
constexpr int kMaxFontDepth = 10;
constexpr int kMaxListLevel = 9;  // deeper lists continue with the marks of this level

// Entity names match when they begin one of these, tried in order (the empty name matches the first).
struct Entity
{
    const char* name;
    const char* text;
};
const Entity kEntities[] = {{"rarr", "->"}, {"gt", ">"},  {"lt", "<"},
                            {"ccedil", "c"}, {"amp", "&"}, {"copy", "\xC2\xA9"}};

struct NamedColor
{
    const char* name;
    uint32_t color;
};
const NamedColor kNamedColors[] = {{"red", 0x0000FF},    {"green", 0x00FF00},  {"blue", 0xFF0000},
                                   {"yellow", 0x00FFFF}, {"orange", 0x007FFF}, {"white", 0xFFFFFF}};

bool StartsWith(const std::string& text, size_t at, const char* prefix)
{
    return CompareStringsNNoCase(text.c_str() + at, prefix, std::strlen(prefix)) == 0;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// "#rrggbb" or a name the value begins with; false leaves the colour as it is.
bool ReadColor(const std::string& value, uint32_t& color)
{
    if (!value.empty() && value[0] == '#')
    {
        if (value.size() < 7)
            return false;
        uint32_t rgb[3];
        for (int channel = 0; channel < 3; ++channel)
        {
            const int high = HexDigit(value[size_t(1 + 2 * channel)]);
            const int low = HexDigit(value[size_t(2 + 2 * channel)]);
            if (high < 0 || low < 0)
                return false;
            rgb[channel] = uint32_t(high * 16 + low);
        }
        color = rgb[0] | rgb[1] << 8 | rgb[2] << 16;
        return true;
    }
    for (const NamedColor& named : kNamedColors)
        if (ComparePrefixNoCase(value.c_str(), named.name) == 0)
        {
            color = named.color;
            return true;
        }
    return false;
}

void ReadSize(const std::string& value, int& twips)
{
    if (value.empty())
        return;
    if (value[0] == '+')
        twips += 40 * std::atoi(value.c_str() + 1);
    else if (value[0] == '-')
        twips -= 40 * std::atoi(value.c_str() + 1);
    else
        twips = 20 * std::atoi(value.c_str());
}

class Parser
{
public:
    Parser(const std::string& text, uint32_t color, int twips) : mText(text), mColor(color), mTwips(twips)
    {
        for (int& counter : mCounters)
            counter = -1;
        for (Saved& saved : mFontStack)
            saved = {twips, color};
    }

    HtmlText Run()
    {
        size_t i = 0;
        while (i < mText.size())
        {
            const size_t next = mText[i] == '<' ? Markup(i) : Text(i);
            if (next == std::string::npos)
                break;
            i = next;
        }
        return std::move(mResult);
    }

private:
    struct Saved
    {
        int twips;
        uint32_t color;
    };

    int Level() const { return mListDepth < kMaxListLevel ? mListDepth : kMaxListLevel; }

    void Append(std::string text)
    {
        HtmlRun run;
        run.text = std::move(text);
        run.style = mStyle;
        run.color = mColor;
        run.twips = mTwips;
        if (mInLink)
        {
            run.style |= kHtmlUnderline;
            run.color |= 0xFF0000;
            run.link = int(mResult.links.size()) - 1;
        }
        mResult.runs.push_back(std::move(run));
    }

    // Handles the markup at i; answers where the scan goes on, npos to end the parsing.
    size_t Markup(size_t i)
    {
        if (StartsWith(mText, i, "<ul>") || StartsWith(mText, i, "<ol>"))
        {
            ++mListDepth;
            if (mListDepth <= kMaxListLevel)
                mCounters[mListDepth] = StartsWith(mText, i, "<ol>") ? 1 : -1;
            return i + 4;
        }
        if (StartsWith(mText, i, "</ul>") || StartsWith(mText, i, "</ol>"))
        {
            if (mListDepth > 0)
            {
                if (mListDepth <= kMaxListLevel)
                    mCounters[mListDepth] = -1;
                --mListDepth;
            }
            return i + 5;
        }
        if (StartsWith(mText, i, "<li>"))
        {
            std::string item = mLineStart ? std::string() : std::string("\n");
            item.append(size_t(4 * mListDepth), ' ');
            int& counter = mCounters[Level()];
            if (counter >= 0)
                item += std::to_string(counter++) + ". ";
            else
                item += Level() % 2 ? "* " : "- ";
            Append(std::move(item));
            mLineStart = false;
            return i + 4;
        }
        if (StartsWith(mText, i, "<b>") || StartsWith(mText, i, "<i>"))
        {
            mStyle |= mText[i + 1] == 'b' || mText[i + 1] == 'B' ? kHtmlBold : kHtmlItalic;
            return i + 3;
        }
        if (StartsWith(mText, i, "</b>") || StartsWith(mText, i, "</i>"))
        {
            mStyle &= ~(mText[i + 2] == 'b' || mText[i + 2] == 'B' ? kHtmlBold : kHtmlItalic);
            return i + 4;
        }
        if (StartsWith(mText, i, "<font "))
            return Font(i);
        if (StartsWith(mText, i, "</font>"))
        {
            if (mFontDepth > 0)
            {
                --mFontDepth;
                if (mFontDepth < kMaxFontDepth)
                {
                    mTwips = mFontStack[mFontDepth].twips;
                    mColor = mFontStack[mFontDepth].color;
                }
            }
            return i + 7;
        }
        if (StartsWith(mText, i, "<a "))
            return Link(i);
        if (StartsWith(mText, i, "</a>"))
        {
            if (mInLink)
            {
                mResult.links.back().closed = true;
                mInLink = false;
            }
            return i + 4;
        }
        if (i + 1 < mText.size() && mText[i + 1] == '<')
            return Text(i + 1);
        const size_t close = mText.find('>', i);
        return close == std::string::npos ? Text(i) : close + 1;
    }

    size_t Font(size_t i)
    {
        const size_t close = mText.find('>', i);
        if (close == std::string::npos)
            return std::string::npos;
        if (mFontDepth < kMaxFontDepth)
            mFontStack[mFontDepth] = {mTwips, mColor};
        ++mFontDepth;
        size_t at = i + 6;
        while (at < close)
        {
            while (at < close && IsSpaceAscii(mText[at]))
                ++at;
            size_t end = at;
            while (end < close && !IsSpaceAscii(mText[end]))
                ++end;
            const std::string attribute = mText.substr(at, end - at);
            if (StartsWith(attribute, 0, "color="))
                ReadColor(attribute.substr(6), mColor);
            else if (StartsWith(attribute, 0, "size="))
                ReadSize(attribute.substr(5), mTwips);
            at = end;
        }
        return close + 1;
    }

    size_t Link(size_t i)
    {
        size_t href = i + 3;
        while (href < mText.size() && !StartsWith(mText, href, "href=\""))
            ++href;
        if (href >= mText.size())
            return std::string::npos;
        const size_t start = href + 6;
        const size_t quote = mText.find('"', start);
        if (quote == std::string::npos)
            return std::string::npos;
        const size_t close = mText.find('>', quote);
        if (close == std::string::npos)
            return std::string::npos;
        mResult.links.push_back({mText.substr(start, quote - start), false});
        mInLink = true;
        return close + 1;
    }

    // Ordinary text at i, which may start with a '<' that opens no markup.
    size_t Text(size_t i)
    {
        if (mLineStart && mListDepth > 0)
        {
            Append(std::string(size_t(4 * mListDepth + 3), ' '));
            mLineStart = false;
        }
        const char c = mText[i];
        if (c == '&')
        {
            const size_t semi = mText.find(';', i + 1);
            if (semi != std::string::npos)
            {
                const std::string name = mText.substr(i + 1, semi - i - 1);
                const char* replacement = " ";
                for (const Entity& e : kEntities)
                    if (name.size() <= std::strlen(e.name) &&
                        CompareStringsNNoCase(name.c_str(), e.name, name.size()) == 0)
                    {
                        replacement = e.text;
                        break;
                    }
                Append(replacement);
                return semi + 1;
            }
        }
        if (c == '\n')
        {
            Append("\n");
            mLineStart = true;
            return i + 1;
        }
        size_t end = i + 1;
        while (end < mText.size() && mText[end] != '<' && mText[end] != '&' && mText[end] != '\n')
            ++end;
        std::string run;
        for (size_t k = i; k < end; ++k)
            if (mText[k] != '\r')  // a CR LF ends a line once
                run += mText[k];
        if (!run.empty())
            Append(std::move(run));
        return end;
    }

    const std::string& mText;
    HtmlText mResult;
    int mStyle = 0;
    uint32_t mColor;
    int mTwips;
    Saved mFontStack[kMaxFontDepth];
    int mFontDepth = 0;
    int mListDepth = 0;
    int mCounters[kMaxListLevel + 1];
    bool mLineStart = true;
    bool mInLink = false;
};
}  // namespace

HtmlText ParseHtmlSubset(const std::string& text, uint32_t color, int twips)
{
    return Parser(text, color, twips).Run();
}

std::string HtmlPlainText(const HtmlText& parsed)
{
    std::string text;
    for (const HtmlRun& run : parsed.runs)
        text += run.text;
    return text;
}
