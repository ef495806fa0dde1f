#pragma once

#include <QString>

/// Registers ".vul" and ".vuc" with the desktop so opening such a file starts the program.
/// True when the registration was written.
bool RegisterFileTypes(const QString& executablePath);
