#pragma once

#include <QCursor>

/// Custom cursor number of the split-line cursor.
constexpr int kSplitLineCursor = 1000;

/// Loads the "DELETESPLIT" cursor and registers it as number 1000; without the image the
/// standard horizontal-split cursor takes its place.
void RegisterSplitCursor();

/// A registered custom cursor (the arrow for an unknown number).
QCursor CustomCursor(int number);
