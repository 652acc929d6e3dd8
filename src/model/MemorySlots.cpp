#include "model/MemorySlots.h"

#include "kernel/Strings.h"
#include "model/SimplePoly.h"
#include "polytope4d/Polytope4D.h"

#include <cstdio>

namespace
{
std::unique_ptr<SimplePoly> gSlots[kNumMemorySlots];

constexpr int kMemoryTextLimit = 208;
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
