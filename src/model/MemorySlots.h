#pragma once

#include <memory>
#include <string>

class SimplePoly;

// The nine memory slots that the view commands fill with copies of models and read back.
inline constexpr int kNumMemorySlots = 9;

// The model in slot 0..8; null for an empty slot or a slot outside the range.
SimplePoly* GetMemorySlot(int slot);
// Stores the model in the slot (null empties it); a slot outside the range drops the model.
void SetMemorySlot(int slot, std::unique_ptr<SimplePoly> model);
void ClearMemorySlots();

// The menu text of a slot, shown 1-based: "Memory 3 (Empty)", "Memory 3 (6 faces, 8 verts)" or
// "Memory 3 (Cube)", kept within 208 characters.
std::string GetMemoryText(int slot);
