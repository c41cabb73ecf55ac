// Sobel derivatives against OpenCV's cv::Sobel (16-bit output, replicated
// border) and a memcpy of the destination's bytes; the Wiener kernels for
// reference. Single-threaded, 640x480 and 1920x1080, in cache and from memory.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#include <string>
#include <vector>

#include "common/BenchFrames.h"
#include "dispatch/filter/FilterFallbacks.h"

namespace qx::bench {
namespace {

// Frame pools live across the calls of a benchmark function: Google Benchmark
// calls it several times (to size the run, then once per repetition), and
// filling a memory-resident pool with noise takes seconds. The three most
// recently used memory-resident pools are kept; cache-resident ones are small.
FramePool& SharedPool(Residence residence, int planes, int widthBytes, int height) {
  struct Entry {
    Residence residence;
    int planes, widthBytes, height;
    std::unique_ptr<FramePool> pool;
    long lastUse;
  };
  static std::vector<Entry> entries;
  static long clock = 0;
  ++clock;
  for (Entry& entry : entries) {
    if (entry.residence == residence && entry.planes == planes && entry.widthBytes == widthBytes &&
        entry.height == height) {
      entry.lastUse = clock;
      return *entry.pool;
    }
  }
  if (residence == Residence::Memory) {
    std::vector<Entry*> resident;
    for (Entry& entry : entries)
      if (entry.residence == Residence::Memory) resident.push_back(&entry);
    if (resident.size() >= 3) {
      const auto oldest = std::min_element(resident.begin(), resident.end(), [](auto* a, auto* b) {
        return a->lastUse < b->lastUse;
      });
      entries.erase(entries.begin() + (*oldest - entries.data()));
    }
  }
  entries.push_back({residence, planes, widthBytes, height,
                     std::make_unique<FramePool>(residence, planes, widthBytes, height), clock});
  return *entries.back().pool;
}

// A source plane of `sourceBytes` per row and a destination plane of
// `destinationBytes` per row.
struct Planes {
  Planes(Residence residence, int sourceBytes, int destinationBytes, int height, int sourceHeight)
      : sources(SharedPool(residence, 1, sourceBytes, sourceHeight)),
        destinations(SharedPool(residence, 1, destinationBytes, height)) {}
  Planes(Residence residence, int sourceBytes, int destinationBytes, int height)
      : Planes(residence, sourceBytes, destinationBytes, height, height) {}
  FramePool& sources;
  FramePool& destinations;
};

struct SobelCase {
  const char* name;
  bool acrossRows;  // Horiz: derivative across rows (OpenCV dy = 1)
  int maskWidth;
};
constexpr SobelCase kSobelCases[] = {
    {"Horiz3x3", true, 3}, {"Horiz5x5", true, 5}, {"Vert3x3", false, 3}, {"Vert5x5", false, 5}};

void SetBytes(benchmark::State& state, const FrameSize& size, int destinationBytesPerPixel) {
  state.SetBytesProcessed(state.iterations() * size.width * size.height *
                          (1 + destinationBytesPerPixel));
}

void BenchQuexaSobel(benchmark::State& state, SobelCase sobel, FrameSize size,
                     Residence residence) {
  Planes planes(residence, size.width, 2 * size.width, size.height);
  const IppiSize roi{size.width, size.height};
  const IppiMaskSize mask = sobel.maskWidth == 3 ? ippMskSize3x3 : ippMskSize5x5;
  const auto kernel = sobel.acrossRows ? &fallback::ippiFilterSobelHorizBorder_8u16s_C1R
                                       : &fallback::ippiFilterSobelVertBorder_8u16s_C1R;
  int bufferSize = 0;
  (sobel.acrossRows
       ? &fallback::ippiFilterSobelHorizGetBufferSize_8u16s_C1R
       : &fallback::ippiFilterSobelVertGetBufferSize_8u16s_C1R)(roi, mask, &bufferSize);
  std::vector<Ipp8u> buffer(bufferSize);
  for (auto _ : state) {
    const Plane& src = planes.sources.Next()[0];
    const Plane& dst = planes.destinations.Next()[0];
    const IppStatus status = kernel(src.Data(), src.Step(), reinterpret_cast<Ipp16s*>(dst.Data()),
                                    dst.Step(), roi, mask, ippBorderRepl, 0, buffer.data());
    benchmark::DoNotOptimize(status);
  }
  SetBytes(state, size, 2);
}

void BenchOpenCvSobel(benchmark::State& state, SobelCase sobel, FrameSize size,
                      Residence residence) {
  Planes planes(residence, size.width, 2 * size.width, size.height);
  for (auto _ : state) {
    const Plane& src = planes.sources.Next()[0];
    const Plane& dst = planes.destinations.Next()[0];
    const cv::Mat in(size.height, size.width, CV_8U, src.Data(), src.Step());
    cv::Mat out(size.height, size.width, CV_16S, dst.Data(), dst.Step());
    cv::Sobel(in, out, CV_16S, sobel.acrossRows ? 0 : 1, sobel.acrossRows ? 1 : 0, sobel.maskWidth,
              1.0, 0.0, cv::BORDER_REPLICATE);
    benchmark::DoNotOptimize(out.data);
  }
  SetBytes(state, size, 2);
}

// memcpy of the Sobel destination's bytes (two per pixel).
void BenchMemcpy(benchmark::State& state, FrameSize size, Residence residence) {
  FramePool& pool = SharedPool(residence, 2, 2 * size.width, size.height);
  for (auto _ : state) {
    const std::vector<Plane>& set = pool.Next();
    const Plane& src = set[0];
    const Plane& dst = set[1];
    std::memcpy(dst.Data(), src.Data(), src.Size());
    benchmark::ClobberMemory();
  }
  SetBytes(state, size, 1);
}

void BenchQuexaWiener(benchmark::State& state, int channels, FrameSize size, Residence residence) {
  // The source keeps a one-pixel margin around the region for the 3x3 window.
  const int bytes = channels;
  Planes planes(residence, (size.width + 2) * bytes, size.width * bytes, size.height,
                size.height + 2);
  const IppiSize roi{size.width, size.height};
  int bufferSize = 0;
  fallback::ippiFilterWienerGetBufferSize(roi, {3, 3}, channels, &bufferSize);
  std::vector<Ipp8u> buffer(bufferSize);
  const auto kernel =
      channels == 1 ? &fallback::ippiFilterWiener_8u_C1R : &fallback::ippiFilterWiener_8u_C3R;
  for (auto _ : state) {
    const Plane& src = planes.sources.Next()[0];
    const Plane& dst = planes.destinations.Next()[0];
    float noise[3] = {0.01f, 0.01f, 0.01f};
    const IppStatus status = kernel(src.Data() + src.Step() + bytes, src.Step(), dst.Data(),
                                    dst.Step(), roi, {3, 3}, {1, 1}, noise, buffer.data());
    benchmark::DoNotOptimize(status);
  }
  state.SetBytesProcessed(state.iterations() * size.width * size.height * bytes * 2);
}

void RegisterAll() {
  for (const FrameSize& size : kFrameSizes) {
    for (Residence residence : {Residence::Cache, Residence::Memory}) {
      const std::string suffix = std::string("/") + size.name + "/" + ResidenceName(residence);
      Configure(benchmark::RegisterBenchmark(("Sobel/memcpy16s" + suffix).c_str(), BenchMemcpy,
                                             size, residence));
      for (const SobelCase& sobel : kSobelCases) {
        const std::string name = std::string("Sobel/") + sobel.name;
        Configure(benchmark::RegisterBenchmark((name + "/quexa" + suffix).c_str(), BenchQuexaSobel,
                                               sobel, size, residence));
        Configure(benchmark::RegisterBenchmark((name + "/opencv" + suffix).c_str(),
                                               BenchOpenCvSobel, sobel, size, residence));
      }
      for (int channels : {1, 3}) {
        const std::string name = std::string("Wiener/3x3/C") + std::to_string(channels);
        Configure(benchmark::RegisterBenchmark((name + "/quexa" + suffix).c_str(), BenchQuexaWiener,
                                               channels, size, residence));
      }
    }
  }
}

}  // namespace
}  // namespace qx::bench

int main(int argc, char** argv) {
  cv::setNumThreads(1);
  qx::bench::RegisterAll();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
