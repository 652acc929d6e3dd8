#include "model/MemorySlots.h"

#include "kernel/Strings.h"
#include "model/SimplePoly.h"
#include "polytope4d/Polytope4D.h"

#include <cstdio>
#include <cstring>
#include <strings.h>

namespace
{
std::unique_ptr<SimplePoly> gSlots[kNumMemorySlots];

constexpr int kMemoryTextLimit = 208;
constexpr size_t kMaxCompoundName = 127;

bool StartsWithNoCase(const std::string& text, const char* prefix)
{
    const size_t n = std::strlen(prefix);
    return text.size() >= n && strncasecmp(text.c_str(), prefix, n) == 0;
}

std::string WithoutCompoundPrefix(std::string name)
{
    if (StartsWithNoCase(name, "Compound of "))
        name.erase(0, std::strlen("Compound of "));
    if (StartsWithNoCase(name, "Compound with "))
        name.erase(0, std::strlen("Compound with "));
    return name;
}
}  // namespace

SimplePoly* GetMemorySlot(int slot)
{
    return slot >= 0 && slot < kNumMemorySlots ? gSlots[slot].get() : nullptr;
}

void SetMemorySlot(int slot, std::unique_ptr<SimplePoly> model)
{
    if (slot >= 0 && slot < kNumMemorySlots)
        gSlots[slot] = std::move(model);
}

void ClearMemorySlots()
{
    for (std::unique_ptr<SimplePoly>& slot : gSlots)
        slot.reset();
}

std::string GetMemoryText(int slot)
{
    char buffer[kMemoryTextLimit + 64];
    const SimplePoly* model = GetMemorySlot(slot);
    if (!model)
    {
        std::snprintf(buffer, sizeof buffer, "Memory %d (Empty)", slot + 1);
        return buffer;
    }
    if (IsBlank(model->mName))
    {
        const Polytope4D* polytope = model->mPolytope4D.get();
        if (polytope)
            std::snprintf(buffer, sizeof buffer, "Memory %d (%d cells, %d verts)", slot + 1, polytope->mNumCells,
                          polytope->mNumVerts);
        else
            std::snprintf(buffer, sizeof buffer, "Memory %d (%d faces, %d verts)", slot + 1, model->mNumFaces,
                          model->mNumVerts);
        return buffer;
    }
    std::snprintf(buffer, sizeof buffer, "Memory %d (", slot + 1);
    std::string text = buffer;
    const int reserved = int(text.size()) + 5;
    if (reserved + int(model->mName.size()) >= kMemoryTextLimit)
    {
        text.append(model->mName, 0, size_t(kMemoryTextLimit - reserved));
        text += "...";
    }
    else
        text += model->mName;
    text += ")";
    return text;
}

std::string CompoundOfNames(const std::string& first, const std::string& second, bool dualNames)
{
    const std::string a = WithoutCompoundPrefix(first);
    const std::string b = WithoutCompoundPrefix(second);
    const bool hasA = !IsBlank(a);
    const bool hasB = !IsBlank(b);
    std::string name;
    if (hasA && hasB)
    {
        if (dualNames || strcasecmp(a.c_str(), b.c_str()) != 0)
            name = "Compound of " + a + " and " + b;
        else
            name = "Compound of " + a;
    }
    else if (hasA || hasB)
        name = "Compound with " + (hasA ? a : b);
    else
        name = "Compound";
    return name.size() > kMaxCompoundName ? "Compound" : name;
}

std::unique_ptr<SimplePoly> CombineAtOneScale(SimplePoly& a, SimplePoly& b)
{
    if (a.StandsFor4D() != b.StandsFor4D())
        return nullptr;
    const double s = a.mScale;
    const double d = b.mScale;
    // Coordinates times scale give the real size, and the compound keeps the larger scale.
    if (s > d)
        b.Scale(d / s);
    else if (d > 0.0)
        a.Scale(s / d);
    std::unique_ptr<SimplePoly> compound = a.Combine(b);
    if (!compound)
        return nullptr;
    compound->mName = CompoundOfNames(a.mName, b.mName, false);
    compound->mDualName = CompoundOfNames(a.mDualName, b.mDualName, true);
    return compound;
}
