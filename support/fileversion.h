#pragma once

#include <QString>

/// The program's version text ("1.0.0.93"); selector 1 gives the part after the last "."
/// (the build number), any other selector the whole text.
QString FileVersionString(int selector = 0);

/// The build date shown by the about box.
inline constexpr const char* kBuildDate = "25.5.2012";
