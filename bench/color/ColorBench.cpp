// The colour kernels against libyuv, OpenCV and memcpy on the same frames:
// single-threaded, 640x480 and 1920x1080, in cache and from main memory.
//
// Benchmark names are conversion/implementation/size/residence. libyuv has no
// one-pass conversion between 4:2:2 and 3-byte pixels, so it runs its two
// passes through a 4-byte intermediate frame (from the same frame pool).
#include <benchmark/benchmark.h>
#include <libyuv.h>

#include <cstring>
#include <functional>
#include <memory>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#include <string>
#include <tuple>
#include <vector>

#include "common/BenchFrames.h"
#include "dispatch/color/ColorFallbacks.h"

namespace {

using qx::bench::FramePool;
using qx::bench::Plane;
using qx::bench::Residence;

// One conversion's frame geometry, in bytes per pixel (0 when there is no intermediate).
struct Layout {
  int src;
  int dst;
  int intermediate;
};

// Runs one conversion of a width x height frame: source, destination, intermediate planes.
using Run = std::function<void(const Plane& src, const Plane& dst, const Plane& tmp, int width,
                               int height)>;

struct Implementation {
  const char* name;
  Run run;
};

struct Conversion {
  const char* name;
  Layout layout;
  std::vector<Implementation> implementations;
};

cv::Mat Wrap(const Plane& plane, int width, int height, int type) {
  return cv::Mat(height, width, type, plane.Data(), static_cast<std::size_t>(plane.Step()));
}

// An OpenCV cvtColor between frames of the given element types.
Implementation OpenCv(int code, int srcType, int dstType) {
  return {"opencv", [=](const Plane& src, const Plane& dst, const Plane&, int w, int h) {
            cv::Mat out = Wrap(dst, w, h, dstType);
            cv::cvtColor(Wrap(src, w, h, srcType), out, code);
          }};
}

// memcpy of the destination's bytes, row by row as the kernels write them, from the
// third plane (which has rows at least that long).
Implementation Memcpy(int dstPixelBytes) {
  return {"memcpy", [=](const Plane&, const Plane& dst, const Plane& from, int w, int h) {
            for (int y = 0; y < h; ++y)
              std::memcpy(dst.Data() + std::ptrdiff_t{y} * dst.Step(),
                          from.Data() + std::ptrdiff_t{y} * from.Step(),
                          static_cast<std::size_t>(w) * dstPixelBytes);
          }};
}

// A Quexa kernel of the one-source form.
template <class Src, class Dst>
Implementation Quexa(qx::IppStatus (*kernel)(const Src*, int, Dst*, int, qx::IppiSize)) {
  return {"quexa", [=](const Plane& src, const Plane& dst, const Plane&, int w, int h) {
            kernel(reinterpret_cast<const Src*>(src.Data()), src.Step(),
                   reinterpret_cast<Dst*>(dst.Data()), dst.Step(), {w, h});
          }};
}

// A libyuv conversion of the one-source form.
Implementation Libyuv(int (*convert)(const uint8_t*, int, uint8_t*, int, int, int)) {
  return {"libyuv", [=](const Plane& src, const Plane& dst, const Plane&, int w, int h) {
            convert(src.Data(), src.Step(), dst.Data(), dst.Step(), w, h);
          }};
}

// Two libyuv passes through the intermediate frame.
Implementation LibyuvTwoPass(int (*first)(const uint8_t*, int, uint8_t*, int, int, int),
                             int (*second)(const uint8_t*, int, uint8_t*, int, int, int)) {
  return {"libyuv", [=](const Plane& src, const Plane& dst, const Plane& tmp, int w, int h) {
            first(src.Data(), src.Step(), tmp.Data(), tmp.Step(), w, h);
            second(tmp.Data(), tmp.Step(), dst.Data(), dst.Step(), w, h);
          }};
}

const int kReverse[3] = {2, 1, 0};
const qx::Ipp32f kYuvTwist[3][4] = {
    {0.299f, 0.587f, 0.114f, 0}, {-0.169f, -0.331f, 0.5f, 128}, {0.5f, -0.419f, -0.081f, 128}};

std::vector<Conversion> Conversions() {
  using namespace qx::fallback;
  return {
      {"yuy2_to_rgb24",
       {2, 3, 4},
       {Quexa(&ippiYUV422ToRGB_8u_C2C3R), LibyuvTwoPass(&libyuv::YUY2ToARGB, &libyuv::ARGBToRGB24),
        OpenCv(cv::COLOR_YUV2RGB_YUY2, CV_8UC2, CV_8UC3), Memcpy(3)}},
      {"rgb24_to_yuy2",
       {3, 2, 4},
       {Quexa(&ippiRGBToYUV422_8u_C3C2R), LibyuvTwoPass(&libyuv::RGB24ToARGB, &libyuv::ARGBToYUY2),
        Memcpy(2)}},
      {"rgb24_to_gray",
       {3, 1, 0},
       {{"quexa",
         [](const Plane& src, const Plane& dst, const Plane&, int w, int h) {
           ippiColorToGray_8u_C3C1R(src.Data(), src.Step(), dst.Data(), dst.Step(), {w, h},
                                    nullptr);
         }},
        Libyuv(&libyuv::RGB24ToJ400),
        OpenCv(cv::COLOR_BGR2GRAY, CV_8UC3, CV_8UC1),
        Memcpy(1)}},
      {"swap_c3",
       {3, 3, 0},
       {{"quexa",
         [](const Plane& src, const Plane& dst, const Plane&, int w, int h) {
           ippiSwapChannels_8u_C3R(src.Data(), src.Step(), dst.Data(), dst.Step(), {w, h},
                                   kReverse);
         }},
        Libyuv(&libyuv::RAWToRGB24),
        OpenCv(cv::COLOR_BGR2RGB, CV_8UC3, CV_8UC3),
        Memcpy(3)}},
      {"swap_ac4",
       {4, 4, 0},
       {{"quexa",
         [](const Plane& src, const Plane& dst, const Plane&, int w, int h) {
           ippiSwapChannels_8u_AC4R(src.Data(), src.Step(), dst.Data(), dst.Step(), {w, h},
                                    kReverse);
         }},
        Libyuv(&libyuv::ARGBToABGR),
        OpenCv(cv::COLOR_BGRA2RGBA, CV_8UC4, CV_8UC4),
        Memcpy(4)}},
      {"rgb24_to_rgb565",
       {3, 2, 0},
       {Quexa(&ippiRGB_8u_C3RToRGB565), OpenCv(cv::COLOR_BGR2BGR565, CV_8UC3, CV_8UC2), Memcpy(2)}},
      {"rgb565_to_rgb24",
       {2, 3, 0},
       {Quexa(&ippiRGB565ToRGB_8u_C3R), OpenCv(cv::COLOR_BGR5652BGR, CV_8UC2, CV_8UC3), Memcpy(3)}},
      {"rgba_to_rgb565",
       {4, 2, 0},
       {Quexa(&ippiRGBA_8u_AC4RToRGB565), Libyuv(&libyuv::ARGBToRGB565),
        OpenCv(cv::COLOR_BGRA2BGR565, CV_8UC4, CV_8UC2), Memcpy(2)}},
      {"rgb565_to_rgba",
       {2, 4, 0},
       {Quexa(&ippiRGB565ToRGBA_8u_AC4R), Libyuv(&libyuv::RGB565ToARGB),
        OpenCv(cv::COLOR_BGR5652BGRA, CV_8UC2, CV_8UC4), Memcpy(4)}},
      {"rgba_to_rgb555",
       {4, 2, 0},
       {Quexa(&ippiRGBA_8u_AC4RToRGB555), Libyuv(&libyuv::ARGBToARGB1555),
        OpenCv(cv::COLOR_BGRA2BGR555, CV_8UC4, CV_8UC2), Memcpy(2)}},
      {"rgb555_to_rgba",
       {2, 4, 0},
       {Quexa(&ippiRGB555ToRGBA_8u_AC4R), Libyuv(&libyuv::ARGB1555ToARGB),
        OpenCv(cv::COLOR_BGR5552BGRA, CV_8UC2, CV_8UC4), Memcpy(4)}},
      {"rgb565_to_rgb555", {2, 2, 0}, {Quexa(&ippiRGB565ToRGB555), Memcpy(2)}},
      {"twist_c3",
       {3, 3, 0},
       {{"quexa",
         [](const Plane& src, const Plane& dst, const Plane&, int w, int h) {
           ippiColorTwist32f_8u_C3R(src.Data(), src.Step(), dst.Data(), dst.Step(), {w, h},
                                    kYuvTwist);
         }},
        {"opencv",
         [](const Plane& src, const Plane& dst, const Plane&, int w, int h) {
           const cv::Mat twist(3, 4, CV_32F, const_cast<qx::Ipp32f*>(&kYuvTwist[0][0]));
           cv::Mat out = Wrap(dst, w, h, CV_8UC3);
           cv::transform(Wrap(src, w, h, CV_8UC3), out, twist);
         }},
        Memcpy(3)}},
      {"alpha_over_ac4",
       {4, 4, 4},
       {{"quexa",
         [](const Plane& src, const Plane& dst, const Plane& second, int w, int h) {
           ippiAlphaComp_8u_AC4R(src.Data(), src.Step(), second.Data(), second.Step(), dst.Data(),
                                 dst.Step(), {w, h}, qx::ippAlphaOver);
         }},
        {"libyuv",
         [](const Plane& src, const Plane& dst, const Plane& second, int w, int h) {
           libyuv::ARGBBlend(src.Data(), src.Step(), second.Data(), second.Step(), dst.Data(),
                             dst.Step(), w, h);
         }},
        Memcpy(4)}},
  };
}

// The frame pool of the geometry last asked for (pools from main memory are large, so
// only one is kept). Each plane has the rows of its own pixels: the source's, the
// destination's, and a third as wide as the intermediate or the destination, whichever
// is wider (memcpy reads the destination's bytes from it).
FramePool& PoolFor(Residence residence, Layout layout, int width, int height) {
  using Geometry = std::tuple<Residence, std::vector<int>, int>;  // rows of each plane
  static std::unique_ptr<FramePool> pool;
  static Geometry key;
  Geometry wanted{
      residence,
      {width * layout.src, width * layout.dst, width * std::max(layout.intermediate, layout.dst)},
      height};
  if (!pool || key != wanted) {
    pool.reset();
    pool = std::make_unique<FramePool>(residence, std::get<1>(wanted), height);
    key = std::move(wanted);
  }
  return *pool;
}

void RegisterAll() {
  for (const Conversion& conversion : Conversions())
    for (const qx::bench::FrameSize& size : qx::bench::kFrameSizes)
      for (Residence residence : {Residence::Cache, Residence::Memory})
        for (const Implementation& implementation : conversion.implementations) {
          const std::string name = std::string(conversion.name) + "/" + implementation.name + "/" +
                                   size.name + "/" + qx::bench::ResidenceName(residence);
          const Layout layout = conversion.layout;
          const Run run = implementation.run;
          const int width = size.width, height = size.height;
          qx::bench::Configure(benchmark::RegisterBenchmark(name.c_str(), [=](benchmark::State&
                                                                                  state) {
            FramePool& pool = PoolFor(residence, layout, width, height);
            for (auto _ : state) {
              const std::vector<Plane>& planes = pool.Next();
              run(planes[0], planes[1], planes[2], width, height);
              benchmark::ClobberMemory();
            }
            state.SetBytesProcessed(state.iterations() * std::int64_t{width} * height *
                                    (layout.src + layout.dst));
          }));
        }
}

}  // namespace

int main(int argc, char** argv) {
  cv::setNumThreads(1);
  RegisterAll();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
