#pragma once
// Chooses a menu item of the program's window by its caption path ("Help" "About..."):
// the command a click on it sends is posted to the window. 0 when it was found.
#include <windows.h>

int chooseMenuItem(HWND main, int argc, char** argv);
