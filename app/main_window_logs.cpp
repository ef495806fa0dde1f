// Reading the logs from the device and clearing its memory.
#include "app/main_window.h"

void TfrmMain::btnReadLogClick() {}
void TfrmMain::btnClearLogClick() {}
