// Tessary.exe's entry point.
#include "app/MainModule.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return tessary::Main();
}
