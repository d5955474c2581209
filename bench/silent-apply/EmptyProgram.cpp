// The cheapest Windows program: what starting any process under Wine costs. The
// silent-apply benchmark compares rampwise.exe against it.

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return 0;
}
