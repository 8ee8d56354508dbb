#pragma once

namespace platform {

// Fixed when the program is built.
inline constexpr char ProgramTitle[] = "Ivok２";
// major.minor.revision, from the project's version: what the about box shows and every game's record keeps.
inline constexpr char Version[] = IVOK2_VERSION;

} // namespace platform
