#pragma once

#include <string>

// Reads the back buffer of the current GL context and writes it as a binary PPM (P6), top row first.
// False when the file cannot be written.
bool SaveBackBufferAsPpm(const std::string& path, int width, int height);
