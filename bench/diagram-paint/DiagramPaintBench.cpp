// Time of one paint of the real diagram control into a memory bitmap, next to the
// time of the geometry step alone, at three control sizes. Runs under Wine.

#include <windows.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <vector>

#include "base/Log.h"
#include "diagram/DiagramGeometry.h"
#include "framework/Handles.h"
#include "support/DiagramHarness.h"

void LogMessage(const char*, ...) {}
void LogError(const char*, ...) {}

namespace {

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Median of the per-call times, in milliseconds.
template <class Work>
double MedianMilliseconds(int runs, Work work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        work();
        QueryPerformanceCounter(&end);
        times.push_back(Milliseconds(start, end));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main()
{
    GammaRamp ramp;
    for (std::size_t i = 0; i < GammaRamp::kEntryCount; ++i)
        ramp.entries[i] = static_cast<std::uint16_t>((i % 256) * 257 - (i / 256) * 300 * (i % 256 > 0));

    const struct {
        int width, height;
    } sizes[] = {{640, 480}, {1920, 1080}, {3840, 2160}};

    std::printf("%-12s %14s %14s %10s\n", "control", "paint (ms)", "geometry (ms)", "share");
    for (const auto& size : sizes) {
        DiagramHarness diagram(ramp, size.width, size.height);
        DeviceContext dc(CreateCompatibleDC(nullptr));
        Bitmap bitmap(CreateCompatibleBitmap(GetDC(nullptr), size.width, size.height));
        SelectGuard select(dc.Get(), bitmap.Get());
        const int runs = 30;
        diagram.DrawInto(dc.Get());  // warm up
        const double paint = MedianMilliseconds(runs, [&] {
            diagram.DrawInto(dc.Get());
            GdiFlush();
        });
        volatile int sink = 0;
        const double geometry = MedianMilliseconds(runs, [&] {
            sink = sink + static_cast<int>(ComputeDiagramGeometry(size.width, size.height, ramp).shadeRows.size());
        });
        char label[32];
        std::snprintf(label, sizeof(label), "%dx%d", size.width, size.height);
        std::printf("%-12s %14.3f %14.3f %9.1f%%\n", label, paint, geometry, 100.0 * geometry / paint);
    }
    return 0;
}
