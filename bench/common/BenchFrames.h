// Frames for kernel benchmarks, in cache or from main memory.
//
// A `FramePool` holds frames of one geometry. In `Residence::Cache` it holds
// one set, used on every iteration; in `Residence::Memory` it holds enough
// sets to span a few hundred megabytes and hands out the next one each
// iteration, so that every pass streams from main memory.
//
// Benchmarks report bytes read plus bytes written (`SetBytes`), so that
// Google Benchmark prints a bytes-per-second rate comparable with `memcpy`'s.
// Run with --benchmark_enable_random_interleaving=true and repetitions (the
// `Configure` helper does both) to get medians of interleaved runs.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace qx::bench {

enum class Residence { Cache, Memory };

inline const char* ResidenceName(Residence residence) {
  return residence == Residence::Cache ? "cache" : "memory";
}

// One image plane: `height` rows of `step` bytes, 64-byte aligned, filled with noise.
class Plane {
 public:
  Plane(int widthBytes, int height, std::uint32_t seed)
      : fStep((widthBytes + 63) / 64 * 64),
        fHeight(height),
        fData(static_cast<std::uint8_t*>(std::aligned_alloc(64, Size())), &std::free) {
    std::mt19937 random(seed);
    std::generate_n(fData.get(), Size(), [&random] { return static_cast<std::uint8_t>(random()); });
  }
  std::uint8_t* Data() const { return fData.get(); }
  int Step() const { return fStep; }
  std::size_t Size() const { return static_cast<std::size_t>(fStep) * fHeight; }

 private:
  int fStep;
  int fHeight;
  std::unique_ptr<std::uint8_t, decltype(&std::free)> fData;
};

// Sets of planes (sources and destination of one call), cycled per iteration.
class FramePool {
 public:
  static constexpr std::size_t kMemoryFootprint = std::size_t{384} << 20;

  // `planes` planes of `widthBytes` per row.
  FramePool(Residence residence, int planes, int widthBytes, int height)
      : FramePool(residence, std::vector<int>(planes, widthBytes), height) {}

  // One plane per entry of `widthBytes`, each with rows of that many bytes (the
  // step rounded up to 64 bytes), as images of different pixel sizes are laid out.
  FramePool(Residence residence, const std::vector<int>& widthBytes, int height) {
    std::size_t setBytes = 0;
    for (int bytes : widthBytes) setBytes += static_cast<std::size_t>(bytes) * height;
    const std::size_t sets =
        residence == Residence::Cache ? 1 : std::max<std::size_t>(2, kMemoryFootprint / setBytes);
    std::uint32_t seed = 1;
    for (std::size_t set = 0; set < sets; ++set) {
      std::vector<Plane> planeSet;
      for (int bytes : widthBytes) planeSet.emplace_back(bytes, height, seed++);
      fSets.push_back(std::move(planeSet));
    }
  }

  // The planes of the next set.
  const std::vector<Plane>& Next() {
    const std::vector<Plane>& set = fSets[fNext];
    fNext = (fNext + 1) % fSets.size();
    return set;
  }

 private:
  std::vector<std::vector<Plane>> fSets;
  std::size_t fNext = 0;
};

// Standard frame sizes of the benchmarks.
struct FrameSize {
  const char* name;
  int width;
  int height;
};
inline constexpr FrameSize kFrameSizes[] = {{"640x480", 640, 480}, {"1920x1080", 1920, 1080}};

// Medians of interleaved repetitions, reported in milliseconds.
inline benchmark::internal::Benchmark* Configure(benchmark::internal::Benchmark* bench) {
  return bench->Repetitions(5)
      ->ReportAggregatesOnly(true)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
}

}  // namespace qx::bench
