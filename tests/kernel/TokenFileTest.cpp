#include "kernel/ScriptedServices.h"
#include "kernel/TokenFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{
const char* const kTokenNames[] = {"Name", "Count", "Value", "Flag", "Kind", "Text", "EndScene"};
enum Token
{
    kName,
    kCount,
    kValue,
    kFlag,
    kKind,
    kText,
    kEndScene,
    kNumTokens
};

const char* TokenName(int token)
{
    return token >= 0 && token < kNumTokens ? kTokenNames[token] : nullptr;
}

const ioEnumEntry kProjection[] = {{1, "Planar"}, {2, "Cylinder"}, {3, "Sphere"}, {0, "Individual"}, {4, "Cubic"},
                                   {0, nullptr}};

struct Report
{
    int level;
    std::string full;
    std::string message;
};

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

class TokenFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/orvane-io-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        mDir = pattern;
        mPath = mDir + "/scene.orv";
    }
    void TearDown() override { std::filesystem::remove_all(mDir); }

    ioErrorFunc Recorder()
    {
        return [this](int level, const char* full, const char* message) {
            mReports.push_back({level, full, message});
            return 0;
        };
    }

    ioFilePtr OpenWrite(int mode, int16_t major = 8, int16_t minor = 10)
    {
        return ioOpenWrite(mPath.c_str(), "Orvane", major, minor, mode, TokenName, Recorder(), &mBlock);
    }

    // Reads back what the last stream of this mode wrote.
    ioFilePtr OpenRead(int mode, int16_t major = 8, int16_t minor = 10)
    {
        if (mode == kIoMemory)
            return ioOpenRead(nullptr, "Orvane", major, minor, TokenName, Recorder(), mBlock.mData, mBlock.mSize);
        return ioOpenRead(mPath.c_str(), "Orvane", major, minor, TokenName, Recorder());
    }

    ioFilePtr OpenText(const std::string& text, int16_t major = 8, int16_t minor = 10)
    {
        WriteFile(mPath, text);
        return ioOpenRead(mPath.c_str(), "Orvane", major, minor, TokenName, Recorder());
    }

    bool Reported(int level, const std::string& part) const
    {
        for (const Report& r : mReports)
            if (r.level == level && r.full.find(part) != std::string::npos)
                return true;
        return false;
    }

    std::string mDir;
    std::string mPath;
    MemBlock mBlock;
    std::vector<Report> mReports;
};

const int kModes[] = {kIoAscii, kIoBinary, kIoMemory};
const char* const kModeNames[] = {"ASCII", "BINARY", "memory"};
}  // namespace

TEST_F(TokenFileTest, HeaderCarriesMagicEncodingAndVersion)
{
    ioFilePtr f = OpenWrite(kIoAscii);
    ASSERT_NE(f, nullptr);
    ioClose(f);
    EXPECT_EQ(ReadFile(mPath), "Orvane ASCII 8.10\n");

    f = OpenWrite(kIoBinary, 8, 5);
    ASSERT_NE(f, nullptr);
    ioClose(f);
    EXPECT_EQ(ReadFile(mPath), std::string("Orvane BINARY \x08\x00\x05\x00", 18));

    f = OpenWrite(kIoMemory);
    ASSERT_NE(f, nullptr);
    ioClose(f);
    ASSERT_EQ(mBlock.mSize, 4);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(mBlock.mData), 4), std::string("\x08\x00\x0a\x00", 4));
    EXPECT_TRUE(mReports.empty());
}

TEST_F(TokenFileTest, VersionsDecideWhetherAFileLoads)
{
    struct Case
    {
        const char* header;
        bool loads;
        int warnings;
        int16_t major;
        int16_t minor;
    };
    const Case kCases[] = {
        {"Orvane ASCII 9.00\n", false, 0, 0, 0}, {"Orvane ASCII 8.11\n", true, 1, 8, 11},
        {"Orvane ASCII 8.10\n", true, 0, 8, 10}, {"Orvane ASCII 8.05\n", true, 0, 8, 5},
        {"Orvane ASCII 7.5\n", true, 0, 7, 5},   {"Orvane ASCII 7.05\n", true, 0, 7, 5},
        {"Orvane ASCII 8.09\n", true, 0, 8, 9},  {"Orvane ASCII  \n\n 8.10  # version\n", true, 0, 8, 10},
        {"Orvane ASCII 8.10\r\n", true, 0, 8, 10},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.header);
        mReports.clear();
        ioFilePtr f = OpenText(c.header);
        EXPECT_EQ(f != nullptr, c.loads);
        if (f)
        {
            EXPECT_EQ(f->mMajor, c.major);
            EXPECT_EQ(f->mMinor, c.minor);
            EXPECT_EQ(ioCompareVersion(f.get(), 8, 10) >= 0, c.major == 8 && c.minor >= 10);
            ASSERT_EQ(int(mReports.size()), c.warnings);
            if (c.warnings)
            {
                EXPECT_EQ(mReports[0].level, 0);
                EXPECT_EQ(mReports[0].message.find("This file was created with a newer version of the program."), 0u);
            }
        }
        else
        {
            ASSERT_EQ(mReports.size(), 1u);
            EXPECT_EQ(mReports[0].level, 1);
            EXPECT_NE(mReports[0].message.find("Error loading " + mPath), std::string::npos);
            EXPECT_NE(mReports[0].message.find("Data was created with a newer version of the program."),
                      std::string::npos);
        }
    }

    // The same rules for a memory stream, which names itself "data".
    const unsigned char newer[] = {9, 0, 0, 0};
    mReports.clear();
    EXPECT_EQ(ioOpenRead(nullptr, "Orvane", 8, 10, TokenName, Recorder(), newer, 4), nullptr);
    ASSERT_EQ(mReports.size(), 1u);
    EXPECT_EQ(mReports[0].full.find("Error loading data\n\nData was created with a newer version"), 0u);

    // And for a BINARY file written by a newer program.
    ioFilePtr w = OpenWrite(kIoBinary, 8, 11);
    ioClose(w);
    mReports.clear();
    EXPECT_NE(OpenRead(kIoBinary), nullptr);
    EXPECT_TRUE(Reported(0, "It appears the file format has changed slightly."));
}

TEST_F(TokenFileTest, FilesOfAnotherKindAreRefused)
{
    struct Case
    {
        const char* content;
        const char* message;
    };
    const Case kCases[] = {
        {"Orbane ASCII 8.10\n", "This is not the right kind of file"},
        {"OrvaneASCII 8.10\n", "This is not the right kind of file"},
        {"Orva", "This is not the right kind of file"},
        {"", "This is not the right kind of file"},
        {"Orvane TEXT 8.10\n", "Expected ASCII or BINARY"},
        {"Orvane ASCIIZ8.10\n", "Expected ASCII or BINARY"},
        {"Orvane ASCII ", "EOF"},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.content);
        mReports.clear();
        EXPECT_EQ(OpenText(c.content), nullptr);
        ASSERT_EQ(mReports.size(), 1u);
        EXPECT_EQ(mReports[0].level, 1);
        EXPECT_EQ(mReports[0].message, c.message);
        EXPECT_EQ(mReports[0].full.find("'" + mPath + "'"), 0u);
    }

    mReports.clear();
    EXPECT_EQ(ioOpenRead((mDir + "/missing").c_str(), "Orvane", 8, 10, TokenName, Recorder()), nullptr);
    EXPECT_EQ(ioOpenWrite((mDir + "/no/such/folder/x").c_str(), "Orvane", 8, 10, kIoAscii, TokenName, Recorder(),
                          nullptr),
              nullptr);
    ASSERT_EQ(mReports.size(), 2u);
    EXPECT_EQ(mReports[0].message, "Can't open file");
    EXPECT_EQ(mReports[1].message, "Can't open file");
}

TEST_F(TokenFileTest, LongStringsAreWrittenInPiecesOfSixty)
{
    const std::string a60(60, 'a'), b60(60, 'b'), c10(10, 'c');
    const std::string text130 = a60 + b60 + c10;
    {
        ioFilePtr f = OpenWrite(kIoAscii);
        ioWriteToken(f.get(), kText, 2);
        ioWriteString(f.get(), " ", text130.c_str(), "\n", 2);
        ioWriteToken(f.get(), kText, 2);
        ioWriteString(f.get(), " ", "a\nb", "\n", 2);
        ioWriteToken(f.get(), kText, 0);
        ioWriteString(f.get(), " ", std::string(120, 'x').c_str(), "\n", 0);
        ioWriteToken(f.get(), kText, 0);
        ioWriteString(f.get(), " ", text130.c_str(), "\n", -1);
        ioWriteToken(f.get(), kEndScene, 0);
        ioPrintf(f.get(), "\n");
    }
    const std::string expected = "Orvane ASCII 8.10\n"
                                 "  Text \"" + a60 + "\"\n"
                                 "  Continue \"" + b60 + "\"\n"
                                 "  Continue \"" + c10 + "\"\n"
                                 "  Text \"a\"\n"
                                 "  ContNewL \"b\"\n"
                                 "Text \"" + std::string(60, 'x') + "\"\n"
                                 "Continue \"" + std::string(60, 'x') + "\"\n"
                                 "Text \"" + text130 + "\"\n"
                                 "EndScene\n";
    EXPECT_EQ(ReadFile(mPath), expected);

    ioFilePtr f = OpenRead(kIoAscii);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(ioReadToken(f.get()), kText);
    EXPECT_EQ(ioReadString(f.get(), true), text130);
    EXPECT_EQ(ioReadToken(f.get()), kText);
    EXPECT_EQ(ioReadString(f.get(), true), "a\nb");
    EXPECT_EQ(ioReadToken(f.get()), kText);
    EXPECT_EQ(ioReadString(f.get(), true), std::string(120, 'x'));
    EXPECT_EQ(ioReadToken(f.get()), kText);
    EXPECT_EQ(ioReadText(f.get(), true), text130);
    EXPECT_EQ(ioReadToken(f.get()), kEndScene);
    EXPECT_EQ(ioReadToken(f.get()), kIoNoToken);

    // Without joining, only the first piece; the continuation follows as tokens.
    f = OpenRead(kIoAscii);
    EXPECT_EQ(ioReadToken(f.get()), kText);
    EXPECT_EQ(ioReadString(f.get(), false), a60);
    EXPECT_EQ(ioReadToken(f.get()), kIoContinue);
    EXPECT_EQ(ioReadString(f.get(), false), b60);
    EXPECT_TRUE(mReports.empty());
}

TEST_F(TokenFileTest, StringsSurviveEveryEncoding)
{
    const std::string kTexts[] = {
        "",
        "plain",
        "say \"hi\"",
        "back\\slash and \\\" mixed",
        "ends in a backslash\\",
        "\\",
        "\"",
        "caf\xc3\xa9 \xe2\x9c\x93 \xff\xfe\x01\x7f",
        "   spaces around   ",
        "tab\there",
        " # not a comment",
        "word#inside",
        "\nstarts and ends with a line feed\n",
        "two\n\nline feeds",
        "Continue",
        std::string(59, 'q') + "\"" + std::string(70, 'r'),
        std::string(61, 's'),
        std::string(1000, 't') + "\n" + std::string(200, 'u'),
    };
    for (int m = 0; m < 3; ++m)
    {
        SCOPED_TRACE(kModeNames[m]);
        {
            ioFilePtr f = OpenWrite(kModes[m]);
            for (const std::string& t : kTexts)
            {
                ioWriteToken(f.get(), kText, 1);
                ioWriteString(f.get(), " ", t.c_str(), "\n", 1);
            }
            ioWriteToken(f.get(), kCount, 0);
            ioPrintf(f.get(), " %d\n", 42);
        }
        ioFilePtr f = OpenRead(kModes[m]);
        ASSERT_NE(f, nullptr);
        for (const std::string& t : kTexts)
        {
            EXPECT_EQ(ioReadToken(f.get()), kText);
            EXPECT_EQ(ioReadString(f.get(), true), t);
        }
        EXPECT_EQ(ioReadToken(f.get()), kCount);
        EXPECT_EQ(ioReadInt(f.get()), 42);
        EXPECT_EQ(ioReadToken(f.get()), kIoNoToken);
        EXPECT_TRUE(mReports.empty()) << mReports[0].full;
    }
}

TEST_F(TokenFileTest, TheSameCallsReadBackInEveryEncoding)
{
    const Vec3D point{0.1, -2.5e-300, 1e300};
    for (int m = 0; m < 3; ++m)
    {
        SCOPED_TRACE(kModeNames[m]);
        {
            ioFilePtr f = OpenWrite(kModes[m]);
            ioWriteToken(f.get(), kCount, 0);
            ioPrintf(f.get(), " %d %d %hd %u\n", -7, 2147483647, -32768, 4294967295u);
            ioWriteToken(f.get(), kValue, 0);
            ioPrintf(f.get(), " %.17g %.17g %.17g %.9hg\n", point.x, point.y, point.z, double(0.1f));
            ioWriteToken(f.get(), kFlag, 0);
            ioWriteBool(f.get(), true, " ", "");
            ioWriteBool(f.get(), false, " ", "\n");
            ioWriteToken(f.get(), kKind, 0);
            ioWriteEnum(f.get(), 0, kProjection, " ", "");
            ioWriteEnum(f.get(), 4, kProjection, " ", "\n");
            ioWriteToken(f.get(), kName, 0);
            ioPrintf(f.get(), " %c\n", 'Z');
            ioWriteToken(f.get(), kEndScene, 0);
            ioPrintf(f.get(), "\n");
            EXPECT_TRUE(ioGood(f.get()));
        }
        ioFilePtr f = OpenRead(kModes[m]);
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(ioReadToken(f.get()), kCount);
        EXPECT_EQ(ioReadInt(f.get()), -7);
        EXPECT_EQ(ioReadInt(f.get()), 2147483647);
        EXPECT_EQ(ioReadShort(f.get()), -32768);
        EXPECT_EQ(ioReadUInt(f.get()), 4294967295u);
        EXPECT_EQ(ioReadToken(f.get()), kValue);
        Vec3D v;
        ioReadVec3(f.get(), v);
        EXPECT_EQ(v.x, point.x);
        EXPECT_EQ(v.y, point.y);
        EXPECT_EQ(v.z, point.z);
        EXPECT_EQ(ioReadFloat(f.get()), 0.1f);
        EXPECT_EQ(ioReadToken(f.get()), kFlag);
        EXPECT_TRUE(ioReadBool(f.get()));
        EXPECT_FALSE(ioReadBool(f.get()));
        EXPECT_EQ(ioReadToken(f.get()), kKind);
        EXPECT_EQ(ioReadEnum(f.get(), kProjection), 0);
        EXPECT_EQ(ioReadEnum(f.get(), kProjection), 4);
        EXPECT_EQ(ioReadToken(f.get()), kName);
        if (kModes[m] == kIoAscii)
            EXPECT_EQ(ioReadString(f.get(), false), "Z");
        else
        {
            char c = 0;
            EXPECT_TRUE(ioReadBytes(f.get(), &c, 1, false));
            EXPECT_EQ(c, 'Z');
        }
        EXPECT_EQ(ioReadToken(f.get()), kEndScene);
        EXPECT_EQ(ioReadToken(f.get()), kIoNoToken);
        EXPECT_TRUE(mReports.empty());
    }
}

TEST_F(TokenFileTest, BinaryPrintfWritesFixedSizes)
{
    struct Case
    {
        const char* format;
        int bytes;
    };
    ioFilePtr f = OpenWrite(kIoMemory);
    ASSERT_EQ(f->mMemPos, 4);

    EXPECT_EQ(ioPrintf(f.get(), "%d\t%hg\t%hg\n", 5, 0.5, 0.25), 12);
    ASSERT_EQ(f->mMemPos, 16);
    int32_t i = 0;
    float a = 0, b = 0;
    std::memcpy(&i, f->mMemData + 4, 4);
    std::memcpy(&a, f->mMemData + 8, 4);
    std::memcpy(&b, f->mMemData + 12, 4);
    EXPECT_EQ(i, 5);
    EXPECT_EQ(a, 0.5f);
    EXPECT_EQ(b, 0.25f);
    EXPECT_EQ(std::vector<unsigned char>(f->mMemData + 4, f->mMemData + 8), std::vector<unsigned char>({5, 0, 0, 0}));

    EXPECT_EQ(ioPrintf(f.get(), "%hd", 1), 2);
    EXPECT_EQ(ioPrintf(f.get(), "%c", 'x'), 1);
    EXPECT_EQ(ioPrintf(f.get(), "%lg", 1.0), 8);
    EXPECT_EQ(ioPrintf(f.get(), "%ld %lx", 1L, -1L), 8);
    EXPECT_EQ(ioPrintf(f.get(), "%+08.3f", 1.0), 8);
    EXPECT_EQ(ioPrintf(f.get(), "%*d", 10, 3), 4);
    EXPECT_EQ(ioPrintf(f.get(), "%x %X %o %u %i %e %E %G", 1, 2, 3, 4u, 5, 1.0, 2.0, 3.0), 4 * 5 + 8 * 3);
    EXPECT_TRUE(mReports.empty());

    const int before = f->mMemPos;
    EXPECT_EQ(ioPrintf(f.get(), "%q", 1), -1);
    EXPECT_EQ(ioPrintf(f.get(), "100%%"), -1);
    ASSERT_EQ(mReports.size(), 2u);
    EXPECT_EQ(mReports[0].message, "Unknown printf format %q");
    EXPECT_EQ(mReports[1].message, "Unknown printf format %%");
    EXPECT_EQ(f->mMemPos, before);

    ScopedScriptedServices scope;
    EXPECT_EQ(ioPrintf(f.get(), "%s", "ab"), 3);
    ASSERT_EQ(scope.services.CountCalls("MessageBox"), 1);
    EXPECT_NE(scope.services.LastCall()->text.find("For %s, use ioWriteString()"), std::string::npos);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(f->mMemData) + before, 3), std::string("ab\0", 3));

    // In ASCII the same format is a line of text.
    ioFilePtr t = OpenWrite(kIoAscii);
    ioPrintf(t.get(), "%d\t%hg\t%hg\n", 5, 0.5, 0.25);
    ioClose(t);
    EXPECT_EQ(ReadFile(mPath), "Orvane ASCII 8.10\n5\t0.5\t0.25\n");
}

TEST_F(TokenFileTest, MemoryStreamsGrowAndHandTheirBufferOver)
{
    ioFilePtr f = OpenWrite(kIoMemory);
    EXPECT_EQ(f->mMemSize, 512) << "the first write allocates 512 bytes";
    std::vector<unsigned char> bytes(600);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<unsigned char>(i * 7);
    ASSERT_TRUE(ioWriteBytes(f.get(), bytes.data(), int(bytes.size()), false));
    EXPECT_EQ(f->mMemSize, 1208) << "twice the 604 bytes needed";
    EXPECT_EQ(f->mMemPos, 604);

    // The receiver's older bytes are released, not lost.
    mBlock.mData = static_cast<unsigned char*>(std::malloc(10));
    mBlock.mSize = 10;
    ioClose(f);
    ASSERT_EQ(mBlock.mSize, 604);
    EXPECT_EQ(std::vector<unsigned char>(mBlock.mData + 4, mBlock.mData + 604), bytes);

    // Reading a memory stream never owns the caller's bytes, and stops at their end.
    ioFilePtr r = OpenRead(kIoMemory);
    ASSERT_NE(r, nullptr);
    std::vector<unsigned char> back(601);
    EXPECT_FALSE(ioReadBytes(r.get(), back.data(), 601, false));
    EXPECT_EQ(r->mMemPos, 4) << "a failed read reads nothing";
    EXPECT_TRUE(ioReadBytes(r.get(), back.data(), 600, false));
    EXPECT_EQ(ioReadToken(r.get()), kIoNoToken);
    EXPECT_EQ(ioReadInt(r.get()), 0);
    EXPECT_EQ(ioReadString(r.get(), true), "");
    ioClose(r);
    EXPECT_EQ(mBlock.mSize, 604);

    // A memory stream needs its receiver.
    ScopedScriptedServices scope;
    EXPECT_EQ(ioOpenWrite(nullptr, "Orvane", 8, 10, kIoMemory, TokenName, Recorder(), nullptr), nullptr);
    EXPECT_EQ(scope.services.CountCalls("MessageBox"), 1);
}

TEST_F(TokenFileTest, CommentsAndBlankLinesAreSkipped)
{
    ioFilePtr f = OpenText("Orvane ASCII 8.10\n"
                           "# a comment line\n"
                           "\n"
                           "   \t\n"
                           "   # an indented comment\n"
                           "Name \"a # b\" # a comment after white space\n"
                           "Count 0x1F 017 -5 10#no\r\n"
                           "Value 1.5e3 2.5xyz   -0.25\n"
                           "Kind word#inside \"open quote # kept\n"
                           "Bogus\n");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(ioReadToken(f.get()), kName);
    EXPECT_EQ(ioReadString(f.get(), false), "a # b");
    EXPECT_EQ(f->mLineNumber, 6) << "blank and comment lines count";
    EXPECT_EQ(ioReadToken(f.get()), kCount);
    EXPECT_EQ(ioReadInt(f.get()), 31);
    EXPECT_EQ(ioReadInt(f.get()), 15);
    EXPECT_EQ(ioReadInt(f.get()), -5);
    EXPECT_EQ(ioReadInt(f.get()), 10);
    EXPECT_EQ(ioReadString(f.get(), false), "#no") << "a # straight after a character belongs to the word";
    EXPECT_EQ(ioReadToken(f.get()), kValue);
    EXPECT_EQ(ioReadDouble(f.get()), 1500.0);
    EXPECT_EQ(ioReadDouble(f.get()), 2.5) << "a real ends at the next white space";
    EXPECT_EQ(ioReadDouble(f.get()), -0.25);
    EXPECT_EQ(ioReadToken(f.get()), kKind);
    EXPECT_EQ(ioReadString(f.get(), false), "word#inside");
    EXPECT_EQ(ioReadString(f.get(), false), "open quote # kept");
    EXPECT_TRUE(mReports.empty());

    EXPECT_EQ(ioReadToken(f.get()), kNumTokens) << "an unknown word gives the number of names";
    ASSERT_EQ(mReports.size(), 1u);
    EXPECT_EQ(mReports[0].full, "'" + mPath + "', line 10:\nUnknown token 'Bogus'");
    EXPECT_EQ(mReports[0].message, "Unknown token 'Bogus'");
}

TEST_F(TokenFileTest, EnumsAndBoolsByNameOrNumber)
{
    ioFilePtr f = OpenText("Orvane ASCII 8.10\nSphere 17 Wobbly  yes NO Yes perhaps\n");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(ioReadEnum(f.get(), kProjection), 3);
    EXPECT_EQ(ioReadEnum(f.get(), kProjection), 17) << "a word of digits is the value itself";
    EXPECT_EQ(ioReadEnum(f.get(), kProjection), -1);
    ASSERT_EQ(mReports.size(), 1u);
    EXPECT_EQ(mReports[0].message, "Unknown enum value 'Wobbly'");
    EXPECT_TRUE(ioReadBool(f.get()));
    EXPECT_FALSE(ioReadBool(f.get()));
    EXPECT_TRUE(ioReadBool(f.get()));
    EXPECT_FALSE(ioReadBool(f.get()));
    ASSERT_EQ(mReports.size(), 2u);
    EXPECT_EQ(mReports[1].message, "Unknown bool value 'perhaps' (should be Yes or No)");

    // Past the end: an empty enum word is 0; a bool there is an error.
    mReports.clear();
    EXPECT_EQ(ioReadEnum(f.get(), kProjection), 0);
    EXPECT_TRUE(mReports.empty());
    EXPECT_FALSE(ioReadBool(f.get()));
    EXPECT_EQ(mReports.size(), 1u);

    // A value outside the table is refused in every encoding.
    for (int m = 0; m < 3; ++m)
    {
        mReports.clear();
        ioFilePtr w = OpenWrite(kModes[m]);
        EXPECT_FALSE(ioWriteEnum(w.get(), 255, kProjection, " ", "\n"));
        ASSERT_EQ(mReports.size(), 1u);
        EXPECT_EQ(mReports[0].message, "Unknown enum value 255 (0xff)");
    }

    // BINARY stores the index; old files stored the value itself.
    ioFilePtr w = OpenWrite(kIoMemory);
    ioWriteEnum(w.get(), 0, kProjection, nullptr, nullptr);
    const int32_t raw = 2;
    ioWriteBytes(w.get(), &raw, 4, true);
    const int32_t outside = 99;
    ioWriteBytes(w.get(), &outside, 4, true);
    ioClose(w);
    ASSERT_EQ(mBlock.mSize, 4 + 12);
    EXPECT_EQ(mBlock.mData[4], 3) << "Individual is the fourth row";
    ioFilePtr r = OpenRead(kIoMemory);
    EXPECT_EQ(ioReadEnum(r.get(), kProjection), 0);
    EXPECT_EQ(ioReadEnum(r.get(), kProjection), 3);
    EXPECT_EQ(ioReadEnum(r.get(), kProjection), -1);
    EXPECT_EQ(ioReadEnum(r.get(), kProjection), -1) << "nothing left";
    r = OpenRead(kIoMemory);
    r->mRawEnums = true;
    EXPECT_EQ(ioReadEnum(r.get(), kProjection), 3);
    EXPECT_EQ(ioReadEnum(r.get(), kProjection), 2);

    EXPECT_STREQ(ioEnumName(kProjection, 4), "Cubic");
    EXPECT_EQ(ioEnumName(kProjection, 5), nullptr);
    EXPECT_EQ(ioEnumValue(kProjection, "Cylinder"), 2);
    EXPECT_EQ(ioEnumValue(kProjection, "cylinder"), -1);
    EXPECT_EQ(ioEnumValueAt(kProjection, 4), 4);
    EXPECT_EQ(ioEnumValueAt(kProjection, 5), -1);
}

TEST_F(TokenFileTest, WordsOfAnyLengthAreReadWithoutOverflow)
{
    const std::string huge(100000, 'w');
    const std::string digits(600, '7');
    ioFilePtr f = OpenText("Orvane ASCII 8.10\n" + huge + " " + huge + " " + digits + " " + huge + " Count 3\n");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(ioReadToken(f.get()), kNumTokens);
    EXPECT_EQ(ioReadEnum(f.get(), kProjection), -1);
    EXPECT_EQ(ioReadEnum(f.get(), kProjection), -1) << "a number too big for an int is no value";
    EXPECT_FALSE(ioReadBool(f.get()));
    ASSERT_EQ(mReports.size(), 4u);
    for (const Report& r : mReports)
    {
        EXPECT_LE(r.full.size(), 511u);
        EXPECT_EQ(r.full.substr(r.full.size() - 3), "...");
    }
    EXPECT_EQ(ioReadToken(f.get()), kCount) << "the stream stays in step";
    EXPECT_EQ(ioReadInt(f.get()), 3);
}

TEST_F(TokenFileTest, ReadingPastTheEndIsQuiet)
{
    ioFilePtr f = OpenText("Orvane ASCII 8.10\nCount\n");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(ioReadToken(f.get()), kCount);
    EXPECT_EQ(ioReadInt(f.get()), 0);
    EXPECT_EQ(ioReadUInt(f.get()), 0u);
    EXPECT_EQ(ioReadDouble(f.get()), 0.0);
    EXPECT_EQ(ioReadString(f.get(), true), "");
    EXPECT_EQ(ioReadToken(f.get()), kIoNoToken);
    EXPECT_FALSE(ioSkipSpace(f.get()));
    EXPECT_TRUE(mReports.empty());
    EXPECT_TRUE(ioGood(f.get()));

    ioFilePtr b = OpenWrite(kIoBinary);
    ioWriteToken(b.get(), kCount, 0);
    ioClose(b);
    b = OpenRead(kIoBinary);
    EXPECT_EQ(ioReadToken(b.get()), kCount);
    EXPECT_EQ(ioReadInt(b.get()), 0);
    EXPECT_EQ(ioReadToken(b.get()), kIoNoToken);
    EXPECT_TRUE(mReports.empty());
}

TEST_F(TokenFileTest, BytesLeftToReadInEveryEncoding)
{
    for (int i = 0; i < 3; ++i)
    {
        SCOPED_TRACE(kModeNames[i]);
        {
            ioFilePtr w = OpenWrite(kModes[i]);
            ioWriteToken(w.get(), kCount, 0);
            ioPrintf(w.get(), "\t%d\t%d\n", 12, 345);
        }
        ioFilePtr f = OpenRead(kModes[i]);
        ASSERT_NE(f, nullptr);
        // Token and two integers: 2 + 4 + 4 bytes, or "Count\t12\t345" after the header line.
        const int64_t total = kModes[i] == kIoAscii ? 13 : 10;
        EXPECT_EQ(ioBytesLeft(f.get()), total);
        EXPECT_EQ(ioReadToken(f.get()), kCount);
        EXPECT_EQ(ioReadInt(f.get()), 12);
        EXPECT_EQ(ioBytesLeft(f.get()), 4);
        EXPECT_EQ(ioReadInt(f.get()), 345);
        EXPECT_EQ(ioBytesLeft(f.get()), 0);
    }
}

TEST_F(TokenFileTest, AFullDiskShowsBeforeTheStreamIsClosed)
{
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    ioFilePtr f = ioOpenWrite("/dev/full", "Orvane", 8, 10, kIoAscii, TokenName, Recorder(), nullptr);
    ASSERT_NE(f, nullptr);
    ioWriteToken(f.get(), kName, 0);
    ioWriteString(f.get(), " ", "lost", "\n", 0);
    EXPECT_FALSE(ioGood(f.get()));
}

TEST_F(TokenFileTest, PushedBackTokensComeFirst)
{
    ioFilePtr f = OpenText("Orvane ASCII 8.10\nName Count\n");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(ioReadToken(f.get()), kName);
    ioUnreadToken(f.get(), kName);
    EXPECT_EQ(ioReadToken(f.get()), kName);
    ioUnreadToken(f.get(), kIoContinue);  // a negative one counts as none
    EXPECT_EQ(ioReadToken(f.get()), kCount);
}

TEST_F(TokenFileTest, SkippingLiteralsAndSwappingCallbacks)
{
    ioFilePtr f = OpenText("Orvane ASCII 8.10\n(1,2) Inner Name\n");
    ASSERT_NE(f, nullptr);
    ASSERT_TRUE(ioSkipSpace(f.get()));
    EXPECT_TRUE(ioSkipAscii(f.get(), "("));
    EXPECT_EQ(ioReadInt(f.get()), 1);
    EXPECT_FALSE(ioSkipAscii(f.get(), ";"));
    ASSERT_EQ(mReports.size(), 1u);
    EXPECT_EQ(mReports[0].message, "ioSkipAscii didn't find ';'");
    EXPECT_TRUE(ioSkipAscii(f.get(), ","));
    EXPECT_EQ(ioReadInt(f.get()), 2);
    EXPECT_TRUE(ioSkipAscii(f.get(), ")"));

    // A nested section with its own tokens and its own error handler.
    std::vector<std::string> inner;
    const ioCallbacks saved = ioSetCallbacks(
        f.get(), [](int t) -> const char* { return t == 0 ? "Inner" : nullptr; },
        [&inner](int, const char*, const char* message) {
            inner.push_back(message);
            return 0;
        });
    EXPECT_EQ(ioReadToken(f.get()), 0);
    ioRestoreCallbacks(f.get(), saved);
    EXPECT_EQ(ioReadToken(f.get()), kName);
    EXPECT_TRUE(inner.empty());

    // An empty callback keeps the current one.
    const ioCallbacks before = ioSetCallbacks(f.get(), nullptr, nullptr);
    EXPECT_TRUE(bool(before.tokenName));
    EXPECT_STREQ(ioTokenName(f.get(), kValue), "Value");
    EXPECT_STREQ(ioTokenName(f.get(), kIoContinue), "Continue");
    EXPECT_STREQ(ioTokenName(f.get(), kIoContNewL), "ContNewL");
    EXPECT_EQ(ioTokenName(f.get(), kNumTokens), nullptr);
}

TEST(TokenFileVersionTest, VersionsCompareMajorThenMinor)
{
    struct Case
    {
        int a, b, c, d, sign;
    };
    const Case kCases[] = {{8, 10, 8, 10, 0}, {8, 11, 8, 10, 1}, {8, 5, 8, 10, -1}, {9, 0, 8, 10, 1}, {3, 99, 4, 0, -1}};
    for (const Case& c : kCases)
    {
        const int r = CompareVersions(c.a, c.b, c.c, c.d);
        EXPECT_EQ((r > 0) - (r < 0), c.sign);
        const int back = CompareVersions(c.c, c.d, c.a, c.b);
        EXPECT_EQ((back > 0) - (back < 0), -c.sign);
    }
}
