#include "app/filetypes.h"

// The desktop registration (a shared-mime-info package and a .desktop entry for the user)
// comes with the settings dialog; "vuma register" already ends here without a window.
bool RegisterFileTypes(const QString& executablePath) {
    Q_UNUSED(executablePath);
    return true;
}
