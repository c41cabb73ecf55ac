// Conversion of a frame's pixels between storage formats, through the
// dispatcher entries (and the audio package's 16-bit conversions).
//
// The library keeps 3-byte pixels as blue, green, red, while the 4:2:2
// entries produce and consume red, green, blue: the channel swap with the
// order (2, 1, 0) translates between the two. Gray is weighted (0.114, 0.587,
// 0.299) for bytes (0, 1, 2), i.e. 0.299 R + 0.587 G + 0.114 B from every
// source.
//
// Chains that pass through 3-byte temporaries run band by band: each kernel
// of the chain covers a few rows at a time, so that the temporaries stay in
// cache and take one small allocation instead of whole frames. Every kernel
// involved works row by row, so the result is exactly that of whole-frame
// calls.
#include "image/QXFormatConversion.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "dispatch/AlignedScratch.h"
#include "dispatch/QXBasicDispatcher.h"
#include "packages/sonquo/IppExtraFunctions.h"
#include "packages/zenthic/ZTBasicDispatcher.h"

namespace qx::detail {
namespace {

const int kReverseChannels[3] = {2, 1, 0};
const Ipp32f kGrayWeights[3] = {0.114f, 0.587f, 0.299f};

// Size of one temporary band; two of them stay well inside a core's cache.
constexpr std::ptrdiff_t kTemporaryBandBytes = 64 * 1024;

bool IsYUV(TQXVideoFormat format) { return format == vfYUY2 || format == vfUYVY; }

// Whether converting `from` to `to` passes through 3-byte temporaries.
bool NeedsTemporaries(TQXVideoFormat from, TQXVideoFormat to) {
  if (IsYUV(to)) return !IsYUV(from);
  switch (to) {
    case vfRGB24:
      return from == vfUYVY;
    case vfGrayScale:
      return from != vfRGB24 && from != vfRGBA32;
    default:
      return IsYUV(from);
  }
}

const Ipp16u* Words(const Ipp8u* bytes) { return reinterpret_cast<const Ipp16u*>(bytes); }
Ipp16u* Words(Ipp8u* bytes) { return reinterpret_cast<Ipp16u*>(bytes); }

// The 16-bit word of the colour (v, v, v) for every gray level v.
constexpr std::array<Ipp16u, 256> GrayWords(int redShift, int greenBits) {
  std::array<Ipp16u, 256> words{};
  for (int v = 0; v < 256; ++v) {
    words[v] = static_cast<Ipp16u>((v >> 3) << redShift | (v >> (8 - greenBits)) << 5 | v >> 3);
  }
  return words;
}
constexpr std::array<Ipp16u, 256> kGrayRGB565 = GrayWords(11, 6);
constexpr std::array<Ipp16u, 256> kGrayRGB555 = GrayWords(10, 5);

// One band of rows of the conversion: the source rows, the target rows and
// two 3-byte temporaries of the same rows (null when the chain needs none).
struct TBand {
  const Ipp8u* src;
  int srcStep;
  Ipp8u* dst;
  int dstStep;
  IppiSize size;
  Ipp8u* tempA;
  Ipp8u* tempB;
  int tempStep;
};

// Red, green, blue bytes from 4:2:2, turned into blue, green, red in place.
void YUY2ToBGR(const Ipp8u* src, int srcStep, Ipp8u* bgr, int bgrStep, IppiSize size) {
  ippiYUV422ToRGB_8u_C2C3R(src, srcStep, bgr, bgrStep, size);
  ippiSwapChannels_8u_C3IR(bgr, bgrStep, size, kReverseChannels);
}

// Blue, green, red bytes to YUY2, through `rgb` for the red, green, blue order.
void BGRToYUY2(const Ipp8u* bgr, int bgrStep, Ipp8u* rgb, int rgbStep, Ipp8u* dst, int dstStep,
               IppiSize size) {
  ippiSwapChannels_8u_C3R(bgr, bgrStep, rgb, rgbStep, size, kReverseChannels);
  ippiRGBToYUV422_8u_C3C2R(rgb, rgbStep, dst, dstStep, size);
}

// The band's source (any format but RGB24) as blue, green, red bytes in
// `bgr`, which is the target or tempB. A UYVY source is first copied to
// tempA with the bytes of each word exchanged, which makes it YUY2.
void ToBGR(TQXVideoFormat from, const TBand& band, Ipp8u* bgr, int bgrStep) {
  switch (from) {
    case vfRGBA32:
      ippiCopy_8u_AC4C3R(band.src, band.srcStep, bgr, bgrStep, band.size);
      break;
    case vfYUY2:
      YUY2ToBGR(band.src, band.srcStep, bgr, bgrStep, band.size);
      break;
    case vfUYVY: {
      // The source rows are contiguous (no padding): one call swaps the band.
      const int words = band.size.width * band.size.height;
      zenthic::ippsSwapBytes_16u(Words(band.src), Words(band.tempA), words);
      YUY2ToBGR(band.tempA, 2 * band.size.width, bgr, bgrStep, band.size);
      break;
    }
    case vfRGB565:
      sonquo::ippiRGB565ToRGB_8u_C3R(Words(band.src), band.srcStep, bgr, bgrStep, band.size);
      break;
    case vfRGB555:
      sonquo::ippiRGB555ToRGB_8u_C3R(Words(band.src), band.srcStep, bgr, bgrStep, band.size);
      break;
    case vfGrayScale: {
      const Ipp8u* const planes[3] = {band.src, band.src, band.src};
      ippiCopy_8u_P3C3R(planes, band.srcStep, bgr, bgrStep, band.size);
      break;
    }
    default:
      break;
  }
}

void ToRGB24(TQXVideoFormat from, const TBand& band) { ToBGR(from, band, band.dst, band.dstStep); }

void ToRGBA32(TQXVideoFormat from, const TBand& band) {
  switch (from) {
    case vfRGB24:
      ippiCopy_8u_C3AC4R(band.src, band.srcStep, band.dst, band.dstStep, band.size);
      break;
    case vfGrayScale:
      for (int channel = 0; channel < 3; ++channel) {
        ippiCopy_8u_C1C4R(band.src, band.srcStep, band.dst + channel, band.dstStep, band.size);
      }
      break;
    case vfRGB565:
      // The 16-bit unpacking writes alpha 255 itself.
      sonquo::ippiRGB565ToRGBA_8u_AC4R(Words(band.src), band.srcStep, band.dst, band.dstStep,
                                       band.size);
      return;
    case vfRGB555:
      sonquo::ippiRGB555ToRGBA_8u_AC4R(Words(band.src), band.srcStep, band.dst, band.dstStep,
                                       band.size);
      return;
    default:
      ToBGR(from, band, band.tempB, band.tempStep);
      ippiCopy_8u_C3AC4R(band.tempB, band.tempStep, band.dst, band.dstStep, band.size);
      break;
  }
  ippiSet_8u_C4CR(255, band.dst + 3, band.dstStep, band.size);
}

void ToRGB16(TQXVideoFormat from, TQXVideoFormat to, const TBand& band) {
  const bool to565 = to == vfRGB565;
  const auto packBGR = to565 ? sonquo::ippiRGB_8u_C3RToRGB565 : sonquo::ippiRGB_8u_C3RToRGB555;
  Ipp16u* const dst = Words(band.dst);
  switch (from) {
    case vfRGB24:
      packBGR(band.src, band.srcStep, dst, band.dstStep, band.size);
      break;
    case vfRGBA32:
      (to565 ? sonquo::ippiRGBA_8u_AC4RToRGB565 : sonquo::ippiRGBA_8u_AC4RToRGB555)(
          band.src, band.srcStep, dst, band.dstStep, band.size);
      break;
    case vfRGB555:
      sonquo::ippiRGB555ToRGB565(Words(band.src), band.srcStep, dst, band.dstStep, band.size);
      break;
    case vfRGB565:
      sonquo::ippiRGB565ToRGB555(Words(band.src), band.srcStep, dst, band.dstStep, band.size);
      break;
    case vfGrayScale: {
      const std::array<Ipp16u, 256>& words = to565 ? kGrayRGB565 : kGrayRGB555;
      for (int y = 0; y < band.size.height; ++y) {
        const Ipp8u* gray = band.src + std::ptrdiff_t{y} * band.srcStep;
        Ipp8u* row = band.dst + std::ptrdiff_t{y} * band.dstStep;
        for (int x = 0; x < band.size.width; ++x) {
          row[2 * x] = static_cast<Ipp8u>(words[gray[x]]);
          row[2 * x + 1] = static_cast<Ipp8u>(words[gray[x]] >> 8);
        }
      }
      break;
    }
    default:
      ToBGR(from, band, band.tempB, band.tempStep);
      packBGR(band.tempB, band.tempStep, dst, band.dstStep, band.size);
      break;
  }
}

// Any source but UYVY to YUY2.
void ToYUY2(TQXVideoFormat from, const TBand& band) {
  switch (from) {
    case vfRGB24:
      BGRToYUY2(band.src, band.srcStep, band.tempA, band.tempStep, band.dst, band.dstStep,
                band.size);
      break;
    case vfGrayScale:
      // (v, v, v) reads the same in either channel order: no swap.
      for (int channel = 0; channel < 3; ++channel) {
        ippiCopy_8u_C1C3R(band.src, band.srcStep, band.tempA + channel, band.tempStep, band.size);
      }
      ippiRGBToYUV422_8u_C3C2R(band.tempA, band.tempStep, band.dst, band.dstStep, band.size);
      break;
    default:
      ToBGR(from, band, band.tempB, band.tempStep);
      BGRToYUY2(band.tempB, band.tempStep, band.tempA, band.tempStep, band.dst, band.dstStep,
                band.size);
      break;
  }
}

// Any source but YUY2 to UYVY: YUY2 with the bytes of each word exchanged.
void ToUYVY(TQXVideoFormat from, const TBand& band) {
  ToYUY2(from, band);
  // The target rows are contiguous: one call swaps the band.
  ippsSwapBytes_16u_I(Words(band.dst), band.size.width * band.size.height);
}

void ToGrayScale(TQXVideoFormat from, const TBand& band) {
  switch (from) {
    case vfRGB24:
      ippiColorToGray_8u_C3C1R(band.src, band.srcStep, band.dst, band.dstStep, band.size,
                               kGrayWeights);
      break;
    case vfRGBA32:
      ippiColorToGray_8u_AC4C1R(band.src, band.srcStep, band.dst, band.dstStep, band.size,
                                kGrayWeights);
      break;
    default:
      ToBGR(from, band, band.tempB, band.tempStep);
      ippiColorToGray_8u_C3C1R(band.tempB, band.tempStep, band.dst, band.dstStep, band.size,
                               kGrayWeights);
      break;
  }
}

void ConvertBand(TQXVideoFormat from, TQXVideoFormat to, const TBand& band) {
  switch (to) {
    case vfRGB24:
      ToRGB24(from, band);
      break;
    case vfRGBA32:
      ToRGBA32(from, band);
      break;
    case vfRGB565:
    case vfRGB555:
      ToRGB16(from, to, band);
      break;
    case vfYUY2:
      ToYUY2(from, band);
      break;
    case vfUYVY:
      ToUYVY(from, band);
      break;
    case vfGrayScale:
      ToGrayScale(from, band);
      break;
    default:
      break;
  }
}

}  // namespace

void QXConvertPixels(const TQXSmartImageBuffer& source, TQXVideoFormat target,
                     std::uint8_t* targetData, std::uint32_t targetStep) {
  const TQXVideoFormat from = source.GetFormat();
  const int width = static_cast<int>(source.GetWidth());
  const int height = static_cast<int>(source.GetHeight());
  const int srcStep = static_cast<int>(source.GetStep());
  const int dstStep = static_cast<int>(targetStep);
  if (width == 0 || height == 0 || from == target) return;

  // Between the two 4:2:2 layouts only the bytes of each word change places.
  if (IsYUV(from) && IsYUV(target)) {
    zenthic::ippsSwapBytes_16u(Words(source.GetData()), Words(targetData),
                               static_cast<int>(source.GetCharSize() / 2));
    return;
  }

  // Temporaries have 3-byte rows of the RGB24 step, which the storage
  // geometry keeps within a signed 32-bit step for every format.
  const int tempStep = static_cast<int>((std::ptrdiff_t{width} + 3) / 4 * 12);
  const bool temporaries = NeedsTemporaries(from, target);
  const int bandRows =
      temporaries
          ? static_cast<int>(std::clamp<std::ptrdiff_t>(kTemporaryBandBytes / tempStep, 1, height))
          : height;
  const std::ptrdiff_t temporaryBytes = temporaries ? std::ptrdiff_t{tempStep} * bandRows : 0;
  const AlignedScratch scratch(2 * temporaryBytes);
  // Without memory for the temporaries the target keeps undefined pixels.
  if (temporaries && !scratch) return;
  Ipp8u* const tempA = scratch.Data();
  Ipp8u* const tempB = temporaries ? tempA + temporaryBytes : nullptr;

  for (int y = 0; y < height; y += bandRows) {
    const int rows = std::min(bandRows, height - y);
    const TBand band{source.GetData() + std::ptrdiff_t{y} * srcStep,
                     srcStep,
                     targetData + std::ptrdiff_t{y} * dstStep,
                     dstStep,
                     {width, rows},
                     tempA,
                     tempB,
                     tempStep};
    ConvertBand(from, target, band);
  }
}

}  // namespace qx::detail
