// Time to read the calibration curves of a large profile whose vcgt tag is the last
// of 1,000 tags, so the whole tag table is walked before the curves are read.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "ProfileBuilder.h"
#include "base/Log.h"
#include "lut/ProfileCurves.h"

void LogMessage(const char*, ...) {}
void LogError(const char*, ...) {}

namespace {

constexpr int kTags = 1000;
constexpr std::size_t kOtherTagSize = 1024;
constexpr std::uint16_t kVcgtEntries = 1024;

std::string g_profilePath;

Bytes LargeProfile()
{
    ProfileBuilder builder;
    for (int i = 0; i < kTags - 1; ++i)
        builder.Tag(0x74000000u + static_cast<std::uint32_t>(i), Bytes(kOtherTagSize, static_cast<std::uint8_t>(i)));
    std::vector<std::uint16_t> values;
    for (std::size_t i = 0; i < 3u * kVcgtEntries; ++i)
        values.push_back(static_cast<std::uint16_t>(i * 64));
    builder.Tag(kVcgtTag, VcgtTable(3, kVcgtEntries, 2, U16Bytes(values)));
    return builder.Build();
}

void BM_ReadProfileCurvesVcgtLast(benchmark::State& state)
{
    const std::uint32_t count = 256;
    for (auto _ : state) {
        CurveArray red, green, blue;
        if (!ReadProfileCurves(g_profilePath.c_str(), red, green, blue, &count)) {
            state.SkipWithError("ReadProfileCurves failed");
            break;
        }
        benchmark::DoNotOptimize(red.get());
    }
}
BENCHMARK(BM_ReadProfileCurvesVcgtLast)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() /
                            ("rampwise-bench-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    fs::create_directories(folder);
    g_profilePath = (folder / "large.icc").string();
    const Bytes profile = LargeProfile();
    {
        std::ofstream out(g_profilePath, std::ios::binary);
        out.write(reinterpret_cast<const char*>(profile.data()), static_cast<std::streamsize>(profile.size()));
    }
    std::printf("profile: %d tags, vcgt last, %zu bytes\n", kTags, profile.size());

    benchmark::Initialize(&argc, argv);
    int status = 0;
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        status = 1;
    else
        benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    return status;
}
