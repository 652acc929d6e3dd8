#pragma once

// FreeImage marks its Windows-like types with the guard of windows.h, which makes wx (included
// after it) reach for its Windows headers: the guard goes once the types are in.
#include <FreeImage.h>
#undef _WINDOWS_
