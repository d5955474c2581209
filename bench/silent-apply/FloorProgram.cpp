// The floor of a silent apply: the least a program can do to set a display's ramp.
// It finds the first display, creates its device context and sets the identity
// ramp (the one bench/silent-apply/run.sh writes to its LUT file); nothing else.
// rampwise.exe /pt FILE 0 is measured against it. Exit status 0 when the ramp was
// set, 1, 2 or 3 when the enumeration, the DC or the ramp failed.

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    DISPLAY_DEVICEA device{};
    device.cb = sizeof(device);
    if (!EnumDisplayDevicesA(nullptr, 0, &device, 0))
        return 1;
    HDC dc = CreateDCA("DISPLAY", device.DeviceName, nullptr, nullptr);
    if (!dc)
        return 2;
    static WORD ramp[3][256];
    for (int channel = 0; channel < 3; ++channel)
        for (int i = 0; i < 256; ++i)
            ramp[channel][i] = static_cast<WORD>(i * 257);
    const BOOL applied = SetDeviceGammaRamp(dc, ramp);
    DeleteDC(dc);
    return applied ? 0 : 3;
}
