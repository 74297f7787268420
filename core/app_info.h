// The program's identity, in one place: the window, the message boxes without a title of
// their own and the installed launcher all take it from here.
#pragma once

inline constexpr const char* kApplicationTitle = "Masking Speaker Layout";
inline constexpr const char* kApplicationName = "masking-speaker-layout";
