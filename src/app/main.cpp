// The program's entry point.
#include "app/application.h"
#include "app/low_memory.h"

#include <windows.h>
#include <ole2.h>

#include <cstdlib>
#include <ctime>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
    installLowMemoryHandler();
    // Nib identities draw on the generator.
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    OleInitialize(nullptr);
    runApplication(instance, commandLine, show);
    OleUninitialize();
    return 0;
}
