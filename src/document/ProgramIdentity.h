#pragma once

// The program's name and version as the About box, the manual and the update check give them.
inline constexpr char kProgramName[] = "OrvaneMax";
inline constexpr char kProgramVersion[] = "5.4";
