#pragma once

#include <string>

// Texts and numbers typed by the user into the "Enter a string" prompt. Prompts are in the small HTML
// subset of the program's rich texts. Each returns true on OK and false on Cancel, which leaves the
// caller's value as it was.

// One line. The buffer's text is shown and, on OK, replaced by the typed text, cut to size - 1 bytes
// (never inside a character). Title "Enter text" when null.
bool PromptText(const char* prompt, char* buffer, int size, const char* title = nullptr);

// Several lines; the dialog grows in both directions. With the caller's position and size arrays the
// dialog opens where it was last closed (centred while position[0] < 0) and they are updated when it
// closes. Title "Enter a string" when null.
bool PromptString(const char* prompt, std::string& text, const char* title = nullptr, int* position = nullptr,
                  int* size = nullptr);

// One line starting with the value ("%.15g" for a double, "%.7g" for a float); the text may be an
// equation. OK takes only a valid one ("Error in equation:" otherwise, and the prompt stays open);
// the variable then receives its value. Title "Enter a real number or equation" when null.
bool PromptReal(const char* prompt, double& value, const char* title = nullptr);
bool PromptFloat(const char* prompt, float& value, const char* title = nullptr);

// The "Enter a number" prompt: a signed whole number starting from the value, which receives it on
// OK. The callers keep the value within their own bounds.
bool PromptInteger(const char* prompt, int& value);

// A signed whole number that fits an int, with blanks around it allowed; nothing else.
bool ReadWholeNumber(const std::string& text, int& value);
