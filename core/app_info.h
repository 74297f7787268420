// The program's identity, in one place: the window, the message boxes without a title of
// their own and the installed launcher all take it from here. The build reads the title and the
// name below for the launcher and the package, so keep each on one line as it stands.
#pragma once

#include "core/version.h"

inline constexpr const char* kApplicationTitle = "Masking Speaker Layout";
inline constexpr const char* kApplicationName = "masking-speaker-layout";
inline constexpr const char* kApplicationVersion = MSL_VERSION;
