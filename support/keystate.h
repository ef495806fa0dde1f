#pragma once

#include <functional>

/// Virtual key codes that the program asks about.
constexpr int kVkShift = 16;
constexpr int kVkControl = 17;
constexpr int kVkMenu = 18;  // Alt
constexpr int kVkEscape = 27;

/// Whether the key is held down now. The desktop program installs a provider that follows
/// the keyboard; without one (command line, engine tests) no key is down.
bool IsKeyDown(int virtualKey);

/// Replaces the source of the key state; an empty function restores "no key is down".
void SetKeyStateProvider(std::function<bool(int virtualKey)> provider);
