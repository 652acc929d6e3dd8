// Hostile token files: headers, lines, words, strings, numbers and binary items of any shape. The
// reader must stay in bounds and in step; a string written in ASCII must read back unchanged.

#include "kernel/TokenFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace
{
const char* const kNames[] = {"Name", "Count", "Value", "Flag", "Kind", "Text", "Point", "Skip"};

const char* TokenName(int token)
{
    return token >= 0 && token < 8 ? kNames[token] : nullptr;
}

int Quiet(int, const char*, const char*)
{
    return 0;
}

const ioEnumEntry kKinds[] = {{1, "Planar"}, {2, "Cylinder"}, {3, "Sphere"}, {0, "Individual"}, {0, nullptr}};

const std::string& ScratchPath()
{
    // Memory-backed when the system has it: the reader needs a file.
    static const std::string path = std::string(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") +
                                    "/orvane-fuzz-" + std::to_string(getpid()) + ".orv";
    return path;
}

void WriteScratch(const std::string& bytes)
{
    FILE* out = std::fopen(ScratchPath().c_str(), "wb");
    if (!out)
        std::abort();
    std::fwrite(bytes.data(), 1, bytes.size(), out);
    std::fclose(out);
}

void ReadEverything(ioFile* f)
{
    Vec3D v;
    for (int step = 0; step < 100000; ++step)
    {
        const int token = ioReadToken(f);
        if (token == kIoNoToken)
            return;
        switch ((token < 0 ? -token : token) % 9)
        {
        case 0: ioReadString(f, true); break;
        case 1: ioReadInt(f); ioReadUInt(f); ioReadShort(f); break;
        case 2: ioReadDouble(f); ioReadFloat(f); break;
        case 3: ioReadBool(f); break;
        case 4: ioReadEnum(f, kKinds); break;
        case 5: ioReadText(f, false); break;
        case 6: ioReadVec3(f, v); break;
        case 7: ioSkipAscii(f, "("); ioReadInt(f); ioSkipAscii(f, ")"); break;
        default: ioUnreadToken(f, token + 1); ioReadToken(f); break;
        }
    }
}

void CheckAsciiString(const std::string& text, int indent)
{
    MemBlock unused;
    ioFilePtr w = ioOpenWrite(ScratchPath().c_str(), "Orvane", 8, 10, kIoAscii, TokenName, Quiet, &unused);
    if (!w)
        std::abort();
    ioWriteToken(w.get(), 5, indent);
    ioWriteString(w.get(), " ", text.c_str(), "\n", indent);
    ioWriteToken(w.get(), 1, indent);
    ioPrintf(w.get(), " %d\n", 1234);
    ioClose(w);
    ioFilePtr r = ioOpenRead(ScratchPath().c_str(), "Orvane", 8, 10, TokenName, Quiet);
    if (!r || ioReadToken(r.get()) != 5 || ioReadString(r.get(), true) != text || ioReadToken(r.get()) != 1 ||
        ioReadInt(r.get()) != 1234)
        std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const int how = data[0] & 3;
    const std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
    if (how == 3)
    {
        MemBlock unused;
        ioFilePtr f = ioOpenRead(nullptr, "Orvane", 8, 10, TokenName, Quiet, rest.data(), int(rest.size()));
        if (f)
            ReadEverything(f.get());
    }
    else
    {
        WriteScratch(how == 0 ? rest : (how == 1 ? "Orvane ASCII " : "Orvane BINARY ") + rest);
        ioFilePtr f = ioOpenRead(ScratchPath().c_str(), "Orvane", 8, 10, TokenName, Quiet);
        if (f)
            ReadEverything(f.get());
    }

    // Any text without a zero byte survives ASCII, whatever its quotes, line feeds and lengths.
    const std::string text = rest.substr(0, rest.find('\0'));
    CheckAsciiString(text, data[0] >> 5);
    return 0;
}
