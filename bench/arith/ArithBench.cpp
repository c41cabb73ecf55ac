// The arithmetic, logic, set, copy and mirror kernels side by side with
// memcpy of the same bytes and the comparable OpenCV and libyuv functions.
// Single-threaded, 640x480 and 1920x1080, in cache (the same frames every
// iteration) and from main memory (cycling through a few hundred megabytes of
// frames). Rates count bytes read plus bytes written.
#include <benchmark/benchmark.h>
#include <libyuv/planar_functions.h>

#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <opencv2/core.hpp>
#include <string>
#include <tuple>
#include <vector>

#include "common/BenchFrames.h"
#include "dispatch/arith/ArithFallbacks.h"

namespace qx::bench {
namespace {

namespace fb = qx::fallback;

// Three planes per frame set (two sources and a destination), shared by every
// benchmark of one geometry and never freed: filling a memory-resident pool
// with noise takes seconds, and interleaved runs come back to each often.
const std::vector<Plane>& NextPlanes(Residence residence, int widthBytes, int height) {
  static std::map<std::tuple<Residence, int, int>, std::unique_ptr<FramePool>> pools;
  std::unique_ptr<FramePool>& pool = pools[{residence, widthBytes, height}];
  if (!pool) pool = std::make_unique<FramePool>(residence, 3, widthBytes, height);
  return pool->Next();
}

// One kernel call on a frame set: sources in planes 0 and 1, the result in
// plane 2 (in-place kernels work on plane 1).
struct Frame {
  const Plane& a;
  const Plane& b;
  const Plane& out;
  int width;
  int height;
  int channels;

  IppiSize Size() const { return {width, height}; }
  int RowBytes() const { return width * channels; }
  std::size_t Bytes() const { return static_cast<std::size_t>(out.Step()) * height; }
  cv::Mat Mat(const Plane& plane) const {
    return cv::Mat(height, width, CV_8UC(channels), plane.Data(), plane.Step());
  }
};

using Run = std::function<void(const Frame&)>;

struct Contender {
  const char* name;
  Run run;
};

// A family of comparable functions: the pixel size, how many planes a call
// reads and writes (for the byte rate), and the contenders. memcpy of the
// destination's bytes joins every family.
struct Family {
  const char* name;
  int channels;
  int planesMoved;
  std::vector<Contender> contenders;
};

const Ipp8u kValue[4] = {12, 200, 77, 255};
const Ipp32u kCounts[3] = {2, 2, 2};
const Ipp32u kMixedCounts[3] = {1, 3, 5};

std::vector<Family> Families() {
  const auto quexa = [](auto call) { return Contender{"quexa", call}; };
  const auto opencv = [](auto call) { return Contender{"opencv", call}; };
  const auto libyuv = [](auto call) { return Contender{"libyuv", call}; };
  return {
      {"Set_C3",
       3,
       1,
       {quexa([](const Frame& f) {
          fb::ippiSet_8u_C3R(kValue, f.out.Data(), f.out.Step(), f.Size());
        }),
        opencv([](const Frame& f) { f.Mat(f.out).setTo(cv::Scalar(12, 200, 77)); })}},
      {"Set_C4",
       4,
       1,
       {quexa([](const Frame& f) {
          fb::ippiSet_8u_C4R(kValue, f.out.Data(), f.out.Step(), f.Size());
        }),
        opencv([](const Frame& f) { f.Mat(f.out).setTo(cv::Scalar(12, 200, 77, 255)); }),
        libyuv([](const Frame& f) {
          libyuv::ARGBRect(f.out.Data(), f.out.Step(), 0, 0, f.width, f.height, 0xFF4DC80Cu);
        })}},
      {"Copy_C3",
       3,
       2,
       {quexa([](const Frame& f) {
          fb::ippiCopy_8u_C3R(f.a.Data(), f.a.Step(), f.out.Data(), f.out.Step(), f.Size());
        }),
        opencv([](const Frame& f) { f.Mat(f.a).copyTo(f.Mat(f.out)); }), libyuv([](const Frame& f) {
          libyuv::CopyPlane(f.a.Data(), f.a.Step(), f.out.Data(), f.out.Step(), f.RowBytes(),
                            f.height);
        })}},
      {"MirrorRows_C3",
       3,
       2,
       {quexa([](const Frame& f) {
          fb::ippiMirror_8u_C3R(f.a.Data(), f.a.Step(), f.out.Data(), f.out.Step(), f.Size(),
                                ippAxsHorizontal);
        }),
        opencv([](const Frame& f) { cv::flip(f.Mat(f.a), f.Mat(f.out), 0); }),
        libyuv([](const Frame& f) {  // a negative height copies bottom-up
          libyuv::CopyPlane(f.a.Data(), f.a.Step(), f.out.Data(), f.out.Step(), f.RowBytes(),
                            -f.height);
        })}},
      {"And_C3",
       3,
       3,
       {quexa([](const Frame& f) {
          fb::ippiAnd_8u_C3R(f.a.Data(), f.a.Step(), f.b.Data(), f.b.Step(), f.out.Data(),
                             f.out.Step(), f.Size());
        }),
        opencv([](const Frame& f) { cv::bitwise_and(f.Mat(f.a), f.Mat(f.b), f.Mat(f.out)); })}},
      {"AndC_C3",
       3,
       2,
       {quexa([](const Frame& f) {
          fb::ippiAndC_8u_C3R(f.a.Data(), f.a.Step(), kValue, f.out.Data(), f.out.Step(), f.Size());
        }),
        opencv([](const Frame& f) {
          cv::bitwise_and(f.Mat(f.a), cv::Scalar(12, 200, 77), f.Mat(f.out));
        })}},
      {"Not_C3",
       3,
       2,
       {quexa([](const Frame& f) {
          fb::ippiNot_8u_C3R(f.a.Data(), f.a.Step(), f.out.Data(), f.out.Step(), f.Size());
        }),
        opencv([](const Frame& f) { cv::bitwise_not(f.Mat(f.a), f.Mat(f.out)); })}},
      {"Add_C3",
       3,
       3,
       {quexa([](const Frame& f) {
          fb::ippiAdd_8u_C3RSfs(f.a.Data(), f.a.Step(), f.b.Data(), f.b.Step(), f.out.Data(),
                                f.out.Step(), f.Size(), 0);
        }),
        Contender{"quexa_sf1",
                  [](const Frame& f) {
                    fb::ippiAdd_8u_C3RSfs(f.a.Data(), f.a.Step(), f.b.Data(), f.b.Step(),
                                          f.out.Data(), f.out.Step(), f.Size(), 1);
                  }},
        Contender{"quexa_sf3",
                  [](const Frame& f) {
                    fb::ippiAdd_8u_C3RSfs(f.a.Data(), f.a.Step(), f.b.Data(), f.b.Step(),
                                          f.out.Data(), f.out.Step(), f.Size(), 3);
                  }},
        opencv([](const Frame& f) { cv::add(f.Mat(f.a), f.Mat(f.b), f.Mat(f.out)); })}},
      {"Add_C4",
       4,
       3,
       {quexa([](const Frame& f) {
          fb::ippiAdd_8u_C4RSfs(f.a.Data(), f.a.Step(), f.b.Data(), f.b.Step(), f.out.Data(),
                                f.out.Step(), f.Size(), 0);
        }),
        opencv([](const Frame& f) { cv::add(f.Mat(f.a), f.Mat(f.b), f.Mat(f.out)); }),
        libyuv([](const Frame& f) {
          libyuv::ARGBAdd(f.a.Data(), f.a.Step(), f.b.Data(), f.b.Step(), f.out.Data(),
                          f.out.Step(), f.width, f.height);
        })}},
      {"Sub_C3",
       3,
       3,
       {quexa([](const Frame& f) {
          fb::ippiSub_8u_C3RSfs(f.a.Data(), f.a.Step(), f.b.Data(), f.b.Step(), f.out.Data(),
                                f.out.Step(), f.Size(), 0);
        }),
        Contender{"quexa_sf2",
                  [](const Frame& f) {
                    fb::ippiSub_8u_C3RSfs(f.a.Data(), f.a.Step(), f.b.Data(), f.b.Step(),
                                          f.out.Data(), f.out.Step(), f.Size(), 2);
                  }},
        opencv([](const Frame& f) { cv::subtract(f.Mat(f.b), f.Mat(f.a), f.Mat(f.out)); })}},
      {"Mul_C3",
       3,
       3,
       {quexa([](const Frame& f) {
          fb::ippiMul_8u_C3RSfs(f.a.Data(), f.a.Step(), f.b.Data(), f.b.Step(), f.out.Data(),
                                f.out.Step(), f.Size(), 8);
        }),
        Contender{"quexa_sf0",
                  [](const Frame& f) {
                    fb::ippiMul_8u_C3RSfs(f.a.Data(), f.a.Step(), f.b.Data(), f.b.Step(),
                                          f.out.Data(), f.out.Step(), f.Size(), 0);
                  }},
        opencv([](const Frame& f) {
          cv::multiply(f.Mat(f.a), f.Mat(f.b), f.Mat(f.out), 1.0 / 256);
        })}},
      {"Mul_AC4",
       4,
       3,
       {quexa([](const Frame& f) {
          fb::ippiMul_8u_AC4RSfs(f.a.Data(), f.a.Step(), f.b.Data(), f.b.Step(), f.out.Data(),
                                 f.out.Step(), f.Size(), 8);
        }),
        libyuv([](const Frame& f) {
          libyuv::ARGBMultiply(f.a.Data(), f.a.Step(), f.b.Data(), f.b.Step(), f.out.Data(),
                               f.out.Step(), f.width, f.height);
        })}},
      {"AbsDiff_C1",
       1,
       3,
       {quexa([](const Frame& f) {
          fb::ippiAbsDiff_8u_C1R(f.a.Data(), f.a.Step(), f.b.Data(), f.b.Step(), f.out.Data(),
                                 f.out.Step(), f.Size());
        }),
        opencv([](const Frame& f) { cv::absdiff(f.Mat(f.a), f.Mat(f.b), f.Mat(f.out)); })}},
      {"LShift_C3",
       3,
       2,
       {quexa([](const Frame& f) {
          fb::ippiLShiftC_8u_C3R(f.a.Data(), f.a.Step(), kCounts, f.out.Data(), f.out.Step(),
                                 f.Size());
        }),
        Contender{"quexa_mixed",
                  [](const Frame& f) {
                    fb::ippiLShiftC_8u_C3R(f.a.Data(), f.a.Step(), kMixedCounts, f.out.Data(),
                                           f.out.Step(), f.Size());
                  }}}},
      {"MulScale_C3",
       3,
       3,
       {quexa([](const Frame& f) {
          fb::ippiMulScale_8u_C3IR(f.a.Data(), f.a.Step(), f.b.Data(), f.b.Step(), f.Size());
        }),
        opencv(
            [](const Frame& f) { cv::multiply(f.Mat(f.a), f.Mat(f.b), f.Mat(f.b), 1.0 / 255); })}},
      {"MirrorColumns_C1",
       1,
       2,
       {quexa([](const Frame& f) {
          fb::ippiMirror_8u_C1R(f.a.Data(), f.a.Step(), f.out.Data(), f.out.Step(), f.Size(),
                                ippAxsVertical);
        }),
        opencv([](const Frame& f) { cv::flip(f.Mat(f.a), f.Mat(f.out), 1); }),
        libyuv([](const Frame& f) {
          libyuv::MirrorPlane(f.a.Data(), f.a.Step(), f.out.Data(), f.out.Step(), f.width,
                              f.height);
        })}},
      {"MirrorColumns_C3",
       3,
       2,
       {quexa([](const Frame& f) {
          fb::ippiMirror_8u_C3R(f.a.Data(), f.a.Step(), f.out.Data(), f.out.Step(), f.Size(),
                                ippAxsVertical);
        }),
        opencv([](const Frame& f) { cv::flip(f.Mat(f.a), f.Mat(f.out), 1); }),
        libyuv([](const Frame& f) {
          libyuv::RGB24Mirror(f.a.Data(), f.a.Step(), f.out.Data(), f.out.Step(), f.width,
                              f.height);
        })}},
      {"MirrorColumns_C4",
       4,
       2,
       {quexa([](const Frame& f) {
          fb::ippiMirror_8u_C4R(f.a.Data(), f.a.Step(), f.out.Data(), f.out.Step(), f.Size(),
                                ippAxsVertical);
        }),
        opencv([](const Frame& f) { cv::flip(f.Mat(f.a), f.Mat(f.out), 1); }),
        libyuv([](const Frame& f) {
          libyuv::ARGBMirror(f.a.Data(), f.a.Step(), f.out.Data(), f.out.Step(), f.width, f.height);
        })}},
  };
}

void RegisterAll() {
  for (const Family& family : Families()) {
    std::vector<Contender> contenders = family.contenders;
    contenders.push_back(
        {"memcpy", [](const Frame& f) { std::memcpy(f.out.Data(), f.a.Data(), f.Bytes()); }});
    for (const FrameSize& size : kFrameSizes) {
      for (Residence residence : {Residence::Cache, Residence::Memory}) {
        for (const Contender& contender : contenders) {
          const std::string name = std::string(family.name) + "/" + size.name + "/" +
                                   ResidenceName(residence) + "/" + contender.name;
          const int channels = family.channels;
          // memcpy moves the destination's bytes once each way.
          const int planesMoved =
              std::string_view(contender.name) == "memcpy" ? 2 : family.planesMoved;
          Configure(benchmark::RegisterBenchmark(name.c_str(), [=, run = contender.run](
                                                                   benchmark::State& state) {
            for (auto _ : state) {
              const std::vector<Plane>& planes =
                  NextPlanes(residence, size.width * channels, size.height);
              run({planes[0], planes[1], planes[2], size.width, size.height, channels});
            }
            state.SetBytesProcessed(state.iterations() * planesMoved *
                                    static_cast<int64_t>(size.width) * channels * size.height);
          }))->MinTime(0.1);
        }
      }
    }
  }
}

}  // namespace
}  // namespace qx::bench

int main(int argc, char** argv) {
  cv::setNumThreads(1);  // single-threaded, like the kernels
  // Interleave the repetitions of all benchmarks unless the command line says
  // otherwise (later flags win).
  std::string interleave = "--benchmark_enable_random_interleaving=true";
  std::vector<char*> args(argv, argv + argc);
  args.insert(args.begin() + 1, interleave.data());
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  qx::bench::RegisterAll();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
