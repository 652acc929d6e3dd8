// Hostile model files: the scene reader takes any bytes as an in-memory scene (a tour event) or as
// an ASCII or BINARY file. It must refuse what it cannot read without reading or writing outside
// what it was given, allocate no more than the input can fill, and never crash.

#include "kernel/MemBlock.h"
#include "kernel/ScriptedServices.h"
#include "library/SceneFile.h"
#include "library/SceneReader.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace
{
const std::string& ScratchPath()
{
    // Memory-backed when the system has it: the reader needs a file.
    static const std::string path = std::string(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") +
                                    "/orvane-scene-fuzz-" + std::to_string(getpid()) + ".orva";
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

// Messages are answered at once and forgotten; no dialog ever waits.
ScriptedServices& QuietServices()
{
    static ScopedScriptedServices* scope = new ScopedScriptedServices();
    return scope->services;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    ScriptedServices& services = QuietServices();
    // The first byte chooses the form and the options; the rest is the scene.
    const int how = data[0] % 3;
    int options = 0;
    if (data[0] & 0x10)
        options |= kSceneHeaderOnly;
    if (data[0] & 0x20)
        options |= kSceneModelOnly;
    if (data[0] & 0x40)
        options |= kSceneNoMessages;
    const std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);

    PolyTemplate templ;
    Poly poly;
    if (how == 0)
    {
        MemBlock block;
        block.mSize = int(rest.size());
        block.mData = static_cast<unsigned char*>(std::malloc(rest.size() ? rest.size() : 1));
        if (!block.mData)
            return 0;
        std::memcpy(block.mData, rest.data(), rest.size());
        ReadSceneFile(nullptr, &poly, &templ, options, nullptr, &block, nullptr);
    }
    else
    {
        WriteScratch((how == 1 ? "Orvane ASCII " : "Orvane BINARY ") + rest);
        ReadSceneFile(ScratchPath().c_str(), &poly, &templ, options, nullptr, nullptr, nullptr);
    }
    services.Clear();
    return 0;
}
