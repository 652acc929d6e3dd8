#include "kernel/TextFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace
{
// A file in memory, read back line by line as callers read it.
struct Reading
{
    std::vector<std::string> lines;
    std::vector<int> numbers;
    std::string error;
    bool failed = false;
};

Reading ReadAll(const std::string& content, const char* comment)
{
    Reading r;
    FILE* file = fmemopen(const_cast<char*>(content.data()), content.size(), "r");
    if (!file)
        return r;
    int counter = 0;
    std::string line;
    while (ReadTextLine(file, line, &counter, comment, &r.error))
    {
        r.lines.push_back(line);
        r.numbers.push_back(counter);
    }
    r.failed = !r.error.empty();
    std::fclose(file);
    return r;
}
}  // namespace

TEST(TextFile, SkipsBlankAndCommentLinesAndCutsTrailingComments)
{
    const Reading r = ReadAll("# header\n\n  first line  \r\n"
                              "   # indented comment\n"
                              "value 3 # trailing comment\n"
                              "value#not a comment\n"
                              "caf\xE9   \t\n"
                              "last",
                              "#");
    const std::vector<std::string> expected = {"  first line", "value 3", "value#not a comment", "caf\xE9", "last"};
    EXPECT_EQ(r.lines, expected);
    EXPECT_EQ(r.numbers, (std::vector<int>{3, 5, 6, 7, 8}));
    EXPECT_FALSE(r.failed);
}

TEST(TextFile, WithoutACommentPrefixOnlyBlankLinesGo)
{
    const Reading r = ReadAll("# kept\n\t\nx # kept too\n", nullptr);
    EXPECT_EQ(r.lines, (std::vector<std::string>{"# kept", "x # kept too"}));
}

TEST(TextFile, LongLinesStayWhole)
{
    const std::string longLine(5000, 'a');
    const Reading r = ReadAll(longLine + "\nshort\n", "#");
    ASSERT_EQ(r.lines.size(), 2u);
    EXPECT_EQ(r.lines[0], longLine);
    EXPECT_EQ(r.numbers, (std::vector<int>{1, 2}));
}

TEST(TextFile, RefusesUnicodeSignatures)
{
    const char* marks[] = {"\xEF\xBB\xBF", "\xFE\xFF", "\xFF\xFE", "\xF7\x64\x4C", "\xDD\x73\x66\x73",
                           "\x0E\xFE\xFF", "\xFB\xEE\x28", "\x84\x31\x95\x33"};
    for (const char* mark : marks)
    {
        const Reading r = ReadAll(std::string(mark) + "cube.orva\n", "#");
        EXPECT_TRUE(r.lines.empty());
        EXPECT_EQ(r.error, "Only plain ASCII text files are accepted here.\nPlease change the encoding of your file.");
    }
    // The same bytes later in the file are just text.
    const Reading later = ReadAll("first\n\xEF\xBB\xBFsecond\n", "#");
    EXPECT_EQ(later.lines.size(), 2u);
    EXPECT_FALSE(later.failed);
}
