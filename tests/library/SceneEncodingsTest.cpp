// The run lists, value groups, colour lists and the header comment block that model files and the
// text exporters share.

#include "SceneTestSupport.h"

#include "kernel/ScriptedServices.h"
#include "library/ColorList.h"
#include "library/FileHeaderComment.h"
#include "library/RangeList.h"
#include "library/SceneTokens.h"
#include "stellation/FacetingSettings.h"
#include "stellation/StellationCell.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace
{
void AddAll(RangeList& list, const std::vector<int>& indices)
{
    for (const int i : indices)
        list.Add(i);
}

std::string RunListText(const std::vector<int>& indices)
{
    return WriteAscii([&](ioFile* f) {
        RangeList list;
        AddAll(list, indices);
        WriteRangeList(list.head, f, kTokHidden, 0);
    });
}

// Writes the colours as one list under "EdgeColors", then reads one colour per element back.
std::string ColorListText(const std::vector<uint32_t>& colors)
{
    return WriteAscii([&](ioFile* f) {
        ioWriteToken(f, kTokEdgeColors, 0);
        ColorListState state;
        for (size_t i = 0; i < colors.size(); ++i)
            WriteColorList(f, 2, colors[i], state, i + 1 == colors.size());
        ioPrintf(f, "\n");
    });
}

std::vector<int32_t> ReadColorsBack(const std::vector<uint32_t>& colors)
{
    const std::vector<uint8_t> bytes = WriteMemory([&](ioFile* f) {
        ColorListState state;
        for (size_t i = 0; i < colors.size(); ++i)
            WriteColorList(f, 2, colors[i], state, i + 1 == colors.size());
    });
    std::vector<uint8_t> stream = {8, 0, 10, 0};
    stream.insert(stream.end(), bytes.begin(), bytes.end());
    ioFilePtr f = ioOpenRead(nullptr, nullptr, kSceneMajorVersion, kSceneMinorVersion, SceneStreamTokenName,
                             SceneStreamMessage, stream.data(), int(stream.size()));
    std::vector<int32_t> read;
    int32_t last = -1;
    int32_t left = 0;
    for (size_t i = 0; i < colors.size(); ++i)
        read.push_back(ReadColorListEntry(f.get(), last, left));
    return read;
}
}  // namespace

TEST(RangeListTest, RunsInAsciiAndTheirLines)
{
    struct Case
    {
        const char* name;
        std::vector<int> indices;
        std::vector<std::string> lines;  // the text written; none for nothing at all
    };
    const Case cases[] = {
        {"runs of three, two and one", {0, 1, 2, 5, 6, 9}, {"Hidden\t3", "  0-2 5-6 9-9"}},
        {"eight runs: seven on a line, the eighth on the next",
         {0, 2, 4, 6, 8, 10, 12, 14},
         {"Hidden\t8", "  0-0 2-2 4-4 6-6 8-8 10-10 12-12", "  14-14"}},
        {"an empty list writes no token", {}, {}},
        {"one index is a run of one", {7}, {"Hidden\t1", "  7-7"}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SplitLines(RunListText(c.indices)), c.lines);
        RangeList list;
        AddAll(list, c.indices);
        EXPECT_EQ(CountRanges(list.head), int(c.lines.empty() ? 0 : std::stoi(c.lines[0].substr(7))));
    }
}

TEST(RangeListTest, BinaryRunListIsTokenValueCountAndPairs)
{
    const std::vector<uint8_t> bytes = WriteMemory([](ioFile* f) {
        ValueRangeGroups groups;
        for (const int i : {3, 4, 8})
            groups.Add(0.5f, i);
        WriteValueRangeGroups(groups.first, f, 0, kTokAlpha);
        RangeList plain;
        plain.Add(1);
        WriteRangeList(plain.head, f, kTokHidden, 0);
    });
    ByteReader r(bytes.data(), bytes.size());
    EXPECT_EQ(r.Short(), kTokAlpha);
    EXPECT_EQ(r.Float(), 0.5f);
    EXPECT_EQ(r.Int(), 2);
    EXPECT_EQ(r.Int(), 3);
    EXPECT_EQ(r.Int(), 4);
    EXPECT_EQ(r.Int(), 8);
    EXPECT_EQ(r.Int(), 8);
    // Without a group no value stands before the count.
    EXPECT_EQ(r.Short(), kTokHidden);
    EXPECT_EQ(r.Int(), 1);
    EXPECT_EQ(r.Int(), 1);
    EXPECT_EQ(r.Int(), 1);
    EXPECT_TRUE(r.AtEnd());
}

TEST(RangeListTest, NewestValueGroupIsWrittenFirst)
{
    const std::string text = WriteAscii([](ioFile* f) {
        ValueRangeGroups groups;
        groups.Add(0.5f, 0);
        groups.Add(0.25f, 1);
        groups.Add(0.5f, 2);
        groups.Add(0.25f, 3);
        WriteValueRangeGroups(groups.first, f, 0, kTokAlpha);
    });
    const std::vector<std::string> alpha = LinesOf(SplitLines(text), "Alpha");
    ASSERT_EQ(alpha.size(), 2u);
    EXPECT_EQ(alpha[0], "Alpha\t0.25\t2");
    EXPECT_EQ(alpha[1], "Alpha\t0.5\t2");
}

TEST(RangeListTest, RunsReadBackInEveryForm)
{
    const std::vector<int> indices = {0, 1, 2, 5, 6, 9, 30, 31};
    const std::vector<RangePair> expected = {{0, 2}, {5, 6}, {9, 9}, {30, 31}};
    auto check = [&](ioFile* f) {
        ASSERT_TRUE(f);
        ASSERT_EQ(ioReadToken(f), kTokHidden);
        int count = -1;
        std::unique_ptr<RangePair[]> runs = ReadRangeList(f, count);
        ASSERT_EQ(count, int(expected.size()));
        for (int i = 0; i < count; ++i)
        {
            EXPECT_EQ(runs[i].first, expected[size_t(i)].first);
            EXPECT_EQ(runs[i].last, expected[size_t(i)].last);
        }
    };
    ScopedScriptedServices scripted;
    for (const int mode : {kIoAscii, kIoBinary})
    {
        SCOPED_TRACE(mode);
        const std::string path = ScenePath("runs.orva");
        {
            ioFilePtr f = ioOpenWrite(path.c_str(), kSceneMagic, 8, 10, mode, SceneStreamTokenName,
                                      SceneStreamMessage, nullptr);
            RangeList list;
            AddAll(list, indices);
            WriteRangeList(list.head, f.get(), kTokHidden, 0);
        }
        ioFilePtr f = ioOpenRead(path.c_str(), kSceneMagic, 8, 10, SceneStreamTokenName, SceneStreamMessage);
        check(f.get());
    }
    EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 0);
}

TEST(RangeListTest, ACountTheStreamCannotHoldAllocatesNothing)
{
    // A count of a million runs followed by one run: eight million bytes are not there.
    std::vector<uint8_t> stream = {8, 0, 10, 0, 0x40, 0x42, 0x0F, 0x00, 1, 0, 0, 0, 2, 0, 0, 0};
    ScopedScriptedServices scripted;
    ClearSceneFileFailure();
    ioFilePtr f = ioOpenRead(nullptr, nullptr, 8, 10, SceneStreamTokenName, SceneStreamMessage, stream.data(),
                             int(stream.size()));
    int count = -1;
    EXPECT_EQ(ReadRangeList(f.get(), count), nullptr);
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(SceneFileFailed());
    EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 1);
}

TEST(RangeListTest, RunsOfFlaggedCells)
{
    struct Case
    {
        const char* name;
        std::vector<uint32_t> flags;
        std::vector<RangePair> runs;
    };
    const Case cases[] = {
        {"runs inside", {0, 1, 1, 0, 1, 0}, {{1, 2}, {4, 4}}},
        {"a run open at the end ends at the last cell", {1, 0, 0x1001, 1}, {{0, 0}, {2, 3}}},
        {"no flagged cell", {0, 0x1000, 0}, {}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        std::vector<std::unique_ptr<StellationCell>> cells;
        for (const uint32_t flags : c.flags)
        {
            cells.push_back(std::make_unique<StellationCell>(nullptr, int(cells.size()), nullptr));
            cells.back()->mFlags = flags;
            if (cells.size() > 1)
            {
                cells[cells.size() - 2]->next = cells.back().get();
                cells.back()->prev = cells[cells.size() - 2].get();
            }
        }
        const int count = CountRangesFromFlags(cells.front().get(), kCellIncluded);
        ASSERT_EQ(count, int(c.runs.size()));
        std::vector<RangePair> runs(static_cast<size_t>(count));
        MakeRangesFromFlags(count, cells.front().get(), kCellIncluded, runs.data());
        for (int i = 0; i < count; ++i)
        {
            EXPECT_EQ(runs[size_t(i)].first, c.runs[size_t(i)].first);
            EXPECT_EQ(runs[size_t(i)].last, c.runs[size_t(i)].last);
        }
    }
}

TEST(ColorListTest, RunsOfEqualColours)
{
    constexpr uint32_t kWhite = 0xFFFFFF;
    constexpr uint32_t kRed = 0x0000FF;
    constexpr uint32_t kBlue = 0xFF0000;
    struct Case
    {
        const char* name;
        std::vector<uint32_t> colors;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"three white edges and one red", {kWhite, kWhite, kWhite, kRed}, {"EdgeColors\t3 0xffffff\t1 0x0000ff"}},
        {"one element is one run of length 1", {kRed}, {"EdgeColors\t1 0x0000ff"}},
        {"three runs on the first line, four on the next",
         {kWhite, kRed, kWhite, kRed, kBlue, kBlue, kRed, kWhite},
         {"EdgeColors\t1 0xffffff\t1 0x0000ff\t1 0xffffff", "  \t1 0x0000ff\t2 0xff0000\t1 0x0000ff\t1 0xffffff"}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SplitLines(ColorListText(c.colors)), c.lines);
        const std::vector<int32_t> read = ReadColorsBack(c.colors);
        ASSERT_EQ(read.size(), c.colors.size());
        for (size_t i = 0; i < read.size(); ++i)
            EXPECT_EQ(uint32_t(read[i]), c.colors[i]) << "element " << i;
    }
}

TEST(ColorListTest, ARunOfNoElementsGivesNoColour)
{
    std::vector<uint8_t> stream = {8, 0, 10, 0, 0, 0, 0, 0};
    ioFilePtr f = ioOpenRead(nullptr, nullptr, 8, 10, SceneStreamTokenName, SceneStreamMessage, stream.data(),
                             int(stream.size()));
    int32_t last = 0x123456;
    int32_t left = 0;
    EXPECT_EQ(ReadColorListEntry(f.get(), last, left), -1);
}

TEST(FileHeaderCommentTest, EveryCallersPrefix)
{
    struct Case
    {
        const char* name;
        const char* prefix;
        const char* suffix;
        std::vector<std::string> firstLines;  // before the date line
        std::string dateStart;
        bool blankLine;  // the empty comment line is there, as the last line
    };
    const Case cases[] = {
        {"model file", "# ", "", {"# Icosahedron", "# Generated by 'OrvaneMax', Version 5.4"}, "# Date: ", true},
        {"metric data", "", "", {"Icosahedron", "Generated by 'OrvaneMax', Version 5.4"}, "Date: ", true},
        {"DXF: every line a 999 group, no blank line",
         "999\n",
         "",
         {"999", "Icosahedron", "999", "Generated by 'OrvaneMax', Version 5.4", "999"},
         "Date: ",
         false},
        {"VRML info: each line quoted",
         "  \"",
         "\"",
         {"  \"Icosahedron\"", "  \"Generated by 'OrvaneMax', Version 5.4\""},
         "  \"Date: ",
         true},
        {"POV-Ray", "// ", "", {"// Icosahedron", "// Generated by 'OrvaneMax', Version 5.4"}, "// Date: ", true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const std::vector<std::string> lines = SplitLines(FormatFileHeaderComment(c.prefix, "Icosahedron", c.suffix));
        const size_t n = c.firstLines.size();
        ASSERT_EQ(lines.size(), n + 1 + (c.blankLine ? 1 : 0));
        for (size_t i = 0; i < n; ++i)
            EXPECT_EQ(lines[i], c.firstLines[i]);
        EXPECT_EQ(lines[n].rfind(c.dateStart, 0), 0u) << lines[n];
        EXPECT_GT(lines[n].size(), c.dateStart.size() + std::strlen(c.suffix));
        if (c.blankLine)
        {
            EXPECT_EQ(lines.back(), std::string(c.prefix) + c.suffix);
        }
    }
}

TEST(FileHeaderCommentTest, OnlyTextStreamsGetIt)
{
    const std::string text = WriteAscii([](ioFile* f) { WriteFileHeaderComment(f, "# ", "Cube", ""); });
    EXPECT_EQ(SplitLines(text).size(), 4u);
    const std::vector<uint8_t> bytes = WriteMemory([](ioFile* f) { WriteFileHeaderComment(f, "# ", "Cube", ""); });
    EXPECT_TRUE(bytes.empty());
}

// "FacetingCriteria" names the criterion by keyword, both ways.
TEST(SceneEnumTest, FacetingCriterionKeywords)
{
    const struct
    {
        int value;
        const char* keyword;
    } kKeywords[] = {{kFacetingIsohedral, "Isohedral"},
                     {kFacetingDualTidy, "DualTidy"},
                     {kFacetingTidy, "Tidy"},
                     {kFacetingCoplanarVerts, "CoplanarVerts"}};
    for (const auto& k : kKeywords)
    {
        EXPECT_STREQ(ioEnumName(kFacetingCriterionNames, k.value), k.keyword);
        EXPECT_EQ(ioEnumValue(kFacetingCriterionNames, k.keyword), k.value);
    }
    EXPECT_EQ(kFacetingCriterionNames[4].name, nullptr);
}
