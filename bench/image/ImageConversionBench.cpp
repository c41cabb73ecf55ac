// Frame format conversions: a whole storage conversion as SetFormat runs it
// (a new target frame each time), the same conversion into a frame that
// already exists (the kernels' time alone), libyuv, OpenCV and a memcpy of
// the target's bytes, on the same frames. Single-threaded, 640x480 and
// 1920x1080, in cache and from main memory.
//
// Names are conversion/implementation/size/residence. libyuv converts
// between 4:2:2 or 3-byte pixels through its 4-byte frames, so it runs two
// passes through an intermediate frame of the same set. OpenCV's and libyuv's
// arithmetic differs in detail (coefficients, rounding), not in the work.
#include <benchmark/benchmark.h>
#include <libyuv.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "common/BenchFrames.h"
#include "image/QXFormatConversion.h"
#include "image/QXSmartImageBuffers.h"

namespace qx::bench {
namespace {

// One set of frames: the source, a target and a 4-byte intermediate.
struct FrameSet {
  TRefPtr<TQXSmartImageBuffer> source, target, argb;
};

using LibyuvStep = int (*)(const uint8_t*, int, uint8_t*, int, int, int);

struct Conversion {
  const char* name;
  TQXVideoFormat from, to;
  std::vector<LibyuvStep> libyuv;  // one or two passes, empty when none
  std::optional<int> openCvCode;
};

int CvType(TQXVideoFormat format) {
  switch (format) {
    case vfRGBA32:
      return CV_8UC4;
    case vfRGB24:
      return CV_8UC3;
    case vfGrayScale:
      return CV_8UC1;
    default:
      return CV_8UC2;
  }
}

cv::Mat Wrap(const TQXSmartImageBuffer& frame) {
  return cv::Mat(static_cast<int>(frame.GetHeight()), static_cast<int>(frame.GetWidth()),
                 CvType(frame.GetFormat()), frame.GetData(), frame.GetStep());
}

const std::vector<Conversion>& Conversions() {
  static const std::vector<Conversion> conversions = {
      {"yuy2_to_rgb24",
       vfYUY2,
       vfRGB24,
       {&libyuv::YUY2ToARGB, &libyuv::ARGBToRGB24},
       cv::COLOR_YUV2BGR_YUY2},
      {"uyvy_to_rgb24",
       vfUYVY,
       vfRGB24,
       {&libyuv::UYVYToARGB, &libyuv::ARGBToRGB24},
       cv::COLOR_YUV2BGR_UYVY},
      {"yuy2_to_rgba32", vfYUY2, vfRGBA32, {&libyuv::YUY2ToARGB}, cv::COLOR_YUV2BGRA_YUY2},
      {"rgb24_to_yuy2", vfRGB24, vfYUY2, {&libyuv::RGB24ToARGB, &libyuv::ARGBToYUY2}, {}},
      {"rgba32_to_uyvy", vfRGBA32, vfUYVY, {&libyuv::ARGBToUYVY}, {}},
      {"rgb24_to_rgba32", vfRGB24, vfRGBA32, {&libyuv::RGB24ToARGB}, cv::COLOR_BGR2BGRA},
      {"rgba32_to_rgb24", vfRGBA32, vfRGB24, {&libyuv::ARGBToRGB24}, cv::COLOR_BGRA2BGR},
      {"rgb24_to_gray", vfRGB24, vfGrayScale, {&libyuv::RGB24ToJ400}, cv::COLOR_BGR2GRAY},
      {"yuy2_to_gray", vfYUY2, vfGrayScale, {}, {}},
      {"gray_to_rgb24",
       vfGrayScale,
       vfRGB24,
       {&libyuv::J400ToARGB, &libyuv::ARGBToRGB24},
       cv::COLOR_GRAY2BGR},
      {"rgb565_to_rgb24",
       vfRGB565,
       vfRGB24,
       {&libyuv::RGB565ToARGB, &libyuv::ARGBToRGB24},
       cv::COLOR_BGR5652BGR},
      {"rgb24_to_rgb565",
       vfRGB24,
       vfRGB565,
       {&libyuv::RGB24ToARGB, &libyuv::ARGBToRGB565},
       cv::COLOR_BGR2BGR565},
      {"yuy2_to_uyvy", vfYUY2, vfUYVY, {}, {}},
  };
  return conversions;
}

// The frame sets of one conversion and size: one set in cache, enough sets
// to span a few hundred megabytes from memory. The last pool asked for is
// kept, as filling a large one takes seconds.
std::vector<FrameSet>& Sets(const Conversion& conversion, const FrameSize& size,
                            Residence residence) {
  static std::vector<FrameSet> sets;
  static std::string key;
  const std::string wanted = std::string(conversion.name) + size.name + ResidenceName(residence);
  if (key == wanted) return sets;
  sets.clear();
  const auto w = static_cast<std::uint32_t>(size.width),
             h = static_cast<std::uint32_t>(size.height);
  std::mt19937 random(1);
  do {
    FrameSet set{QXCreateSmartImageBuffer(conversion.from, w, h),
                 QXCreateSmartImageBuffer(conversion.to, w, h),
                 QXCreateSmartImageBuffer(vfRGBA32, w, h)};
    std::generate_n(set.source->GetData(), set.source->GetCharSize(),
                    [&] { return static_cast<std::uint8_t>(random()); });
    std::memset(set.target->GetData(), 0, set.target->GetCharSize());
    std::memset(set.argb->GetData(), 0, set.argb->GetCharSize());
    sets.push_back(std::move(set));
  } while (residence == Residence::Memory &&
           sets.size() * (sets[0].source->GetCharSize() + sets[0].target->GetCharSize()) <
               FramePool::kMemoryFootprint);
  key = wanted;
  return sets;
}

using Run = std::function<void(FrameSet&)>;

struct Implementation {
  const char* name;
  Run run;
};

// The implementations that can run `c`.
std::vector<Implementation> ImplementationsOf(const Conversion& c) {
  const TQXVideoFormat to = c.to;
  std::vector<Implementation> implementations = {
      {"quexa_frame",
       [to](FrameSet& set) {
         TRefPtr<TQXSmartImageBuffer> converted = QXConvertSmartImageBuffer(to, *set.source);
         benchmark::DoNotOptimize(converted->GetData());
       }},
      {"quexa_into",
       [to](FrameSet& set) {
         detail::QXConvertPixels(*set.source, to, set.target->GetData(), set.target->GetStep());
       }},
  };
  if (!c.libyuv.empty()) {
    const std::vector<LibyuvStep> steps = c.libyuv;
    implementations.push_back(
        {"libyuv", [steps](FrameSet& set) {
           // Two passes meet in the 4-byte intermediate frame.
           const TQXSmartImageBuffer* from = set.source.Get();
           for (std::size_t i = 0; i < steps.size(); ++i) {
             TQXSmartImageBuffer* into = i + 1 == steps.size() ? set.target.Get() : set.argb.Get();
             steps[i](from->GetData(), static_cast<int>(from->GetStep()), into->GetData(),
                      static_cast<int>(into->GetStep()), static_cast<int>(from->GetWidth()),
                      static_cast<int>(from->GetHeight()));
             from = into;
           }
         }});
  }
  if (c.openCvCode) {
    const int code = *c.openCvCode;
    implementations.push_back({"opencv", [code](FrameSet& set) {
                                 cv::Mat out = Wrap(*set.target);
                                 cv::cvtColor(Wrap(*set.source), out, code);
                               }});
  }
  implementations.push_back({"memcpy", [](FrameSet& set) {
                               std::memcpy(
                                   set.target->GetData(), set.source->GetData(),
                                   std::min(set.source->GetCharSize(), set.target->GetCharSize()));
                             }});
  return implementations;
}

// Registered so that the benchmarks of one pool of frames run one after another.
void RegisterAll() {
  for (const Conversion& conversion : Conversions()) {
    const std::vector<Implementation> implementations = ImplementationsOf(conversion);
    for (const FrameSize& size : kFrameSizes) {
      for (Residence residence : {Residence::Cache, Residence::Memory}) {
        for (const Implementation& implementation : implementations) {
          const std::string name = std::string(conversion.name) + "/" + implementation.name + "/" +
                                   size.name + "/" + ResidenceName(residence);
          const Run run = implementation.run;
          Configure(benchmark::RegisterBenchmark(name.c_str(), [=](benchmark::State& state) {
            std::vector<FrameSet>& sets = Sets(conversion, size, residence);
            std::size_t next = 0;
            for (auto _ : state) {
              run(sets[next]);
              next = (next + 1) % sets.size();
              benchmark::ClobberMemory();
            }
            const FrameSet& set = sets[0];
            state.SetBytesProcessed(
                static_cast<std::int64_t>(state.iterations()) *
                static_cast<std::int64_t>(set.source->GetCharSize() + set.target->GetCharSize()));
          }));
        }
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
