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

// The name of a compound of two models named a and b: each loses a leading "Compound of " and then
// "Compound with " (in any case); "Compound of a and b", "Compound of a" for one name twice (dual names
// keep both), "Compound with a" for one name, "Compound" for none or a name over 127 characters.
std::string CompoundOfNames(const std::string& a, const std::string& b, bool dualNames);

// The compound of a (the current model) and b (a slot's model), each part keeping its real size: the
// model at the smaller scale is shrunk to the larger one, which the compound takes. Both are changed.
// Null when one is 4D and the other not, or the compound fails.
std::unique_ptr<SimplePoly> CombineAtOneScale(SimplePoly& a, SimplePoly& b);
