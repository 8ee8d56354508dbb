#pragma once

namespace platform {

// Fixed when the program is built.
inline constexpr char ProgramTitle[] = "Ivok２";
inline constexpr int VersionMajor = IVOK2_VERSION_MAJOR;
inline constexpr int VersionMinor = IVOK2_VERSION_MINOR;
inline constexpr int VersionRevision = IVOK2_VERSION_PATCH;

} // namespace platform
