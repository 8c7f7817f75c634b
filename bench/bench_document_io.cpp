// Saving and loading a large document against plain fwrite/fread of the same number of bytes
// in the same folder. Each iteration runs the four steps interleaved; the summary prints the
// medians, the throughput and the two ratios with their targets (save <= 2x, load <= 3x).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "data/TalDocument.h"

namespace {

constexpr int kSets = 10;
constexpr int kPointsPerSet = 100000;
const std::string kDocumentPath = "bench_document_io.tal";
const std::string kBaselinePath = "bench_document_io.raw";

struct Samples {
    std::vector<double> baselineWrite, save, baselineRead, load;
    size_t bytes = 0;
};
Samples g_samples;

std::unique_ptr<CTalDocument> MakeDocument()
{
    auto doc = std::make_unique<CTalDocument>();
    for (int s = 0; s < kSets; ++s) {
        auto set = std::make_unique<CDataSet>();
        set->m_points.reserve(kPointsPerSet);
        for (int i = 0; i < kPointsPerSet; ++i)
            set->AddPoint(10.0 + i * 0.37, 1.0 + 1e-6 * i, 0.0, 0.5 + 1e-7 * i, -0.001 * i);
        set->m_name = "set " + std::to_string(s);
        doc->AddDataSet(std::move(set));
    }
    return doc;
}

double Seconds(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

void BM_DocumentIO(benchmark::State& state)
{
    const auto doc = MakeDocument();
    std::vector<uint8_t> bytes;
    std::string error;
    if (!doc->SaveToBytes(bytes, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    g_samples.bytes = bytes.size();

    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        FILE* out = std::fopen(kBaselinePath.c_str(), "wb");
        const bool written = out && std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
        if (out)
            std::fclose(out);
        g_samples.baselineWrite.push_back(Seconds(start));

        start = std::chrono::steady_clock::now();
        const bool saved = doc->SaveToFile(kDocumentPath, error);
        g_samples.save.push_back(Seconds(start));

        start = std::chrono::steady_clock::now();
        FILE* in = std::fopen(kBaselinePath.c_str(), "rb");
        auto buffer = std::make_unique_for_overwrite<uint8_t[]>(bytes.size());
        const bool read = in && std::fread(buffer.get(), 1, bytes.size(), in) == bytes.size();
        if (in)
            std::fclose(in);
        g_samples.baselineRead.push_back(Seconds(start));
        benchmark::DoNotOptimize(buffer.get());

        auto loaded = std::make_unique<CTalDocument>();
        start = std::chrono::steady_clock::now();
        const bool ok = loaded->LoadFromFile(kDocumentPath, error);
        g_samples.load.push_back(Seconds(start));
        state.PauseTiming();
        if (!written || !saved || !read || !ok || loaded->GetPointCount(kSets - 1) != kPointsPerSet)
            state.SkipWithError("save or load failed");
        loaded.reset();
        buffer.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 2 *
                            static_cast<int64_t>(g_samples.bytes));
    std::remove(kDocumentPath.c_str());
    std::remove(kBaselinePath.c_str());
}
BENCHMARK(BM_DocumentIO)->Iterations(9)->Unit(benchmark::kMillisecond);

void PrintSummary()
{
    if (g_samples.save.empty())
        return;
    const double mb = g_samples.bytes / 1e6;
    const double bw = Median(g_samples.baselineWrite), save = Median(g_samples.save);
    const double br = Median(g_samples.baselineRead), load = Median(g_samples.load);
    std::printf("\nDocument of %d sets x %d points, %.1f MB; medians of %zu interleaved runs\n",
                kSets, kPointsPerSet, mb, g_samples.save.size());
    std::printf("  baseline fwrite %8.1f ms %8.0f MB/s\n", bw * 1e3, mb / bw);
    std::printf("  save            %8.1f ms %8.0f MB/s   ratio %.2f (target <= 2) %s\n",
                save * 1e3, mb / save, save / bw, save / bw <= 2 ? "ok" : "MISSED");
    std::printf("  baseline fread  %8.1f ms %8.0f MB/s\n", br * 1e3, mb / br);
    std::printf("  load            %8.1f ms %8.0f MB/s   ratio %.2f (target <= 3) %s\n",
                load * 1e3, mb / load, load / br, load / br <= 3 ? "ok" : "MISSED");
}

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    PrintSummary();
    return 0;
}
