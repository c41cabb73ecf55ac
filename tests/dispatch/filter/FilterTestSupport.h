// Shared by the filter kernel tests: images with guard elements around and
// between their rows, and scratch buffers of an exact size.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

namespace qx::filtertest {

// A region of `width` x `height` elements inside `margin` elements on every
// side, with `extraStep` more elements at the end of each row.
template <class T>
class Canvas {
 public:
  Canvas(int width, int height, int margin, int extraStep)
      : fWidth(width),
        fHeight(height),
        fMargin(margin),
        fStride(width + 2 * margin + extraStep),
        fData(static_cast<std::size_t>(fStride) * (height + 2 * margin)) {}

  T* Region() { return &At(0, 0); }
  int StepBytes() const { return fStride * static_cast<int>(sizeof(T)); }
  // Element (x, y) of the region; coordinates down to -margin are valid.
  T& At(int x, int y) {
    return fData[static_cast<std::size_t>(y + fMargin) * fStride + x + fMargin];
  }
  T At(int x, int y) const { return const_cast<Canvas*>(this)->At(x, y); }

  void Fill(T value) { std::fill(fData.begin(), fData.end(), value); }
  void FillRandom(std::mt19937& random, int low, int high) {
    std::uniform_int_distribution<int> value(low, high);
    for (T& element : fData) element = static_cast<T>(value(random));
  }
  bool AllEqual(T value) const {
    return std::all_of(fData.begin(), fData.end(), [value](T element) { return element == value; });
  }
  // Whether every element outside the region still holds `guard`.
  bool GuardsIntact(T guard) const {
    for (int y = -fMargin; y < fHeight + fMargin; ++y) {
      for (int x = -fMargin; x < fStride - fMargin; ++x) {
        const bool inside = x >= 0 && x < fWidth && y >= 0 && y < fHeight;
        if (!inside && At(x, y) != guard) return false;
      }
    }
    return true;
  }

 private:
  int fWidth;
  int fHeight;
  int fMargin;
  int fStride;
  std::vector<T> fData;
};

// Scratch of exactly `bytes` bytes starting `offset` bytes past an allocation
// (misaligned on purpose), ending where the allocation ends, so that the
// address sanitizer reports any use beyond the size.
class ExactScratch {
 public:
  ExactScratch(int bytes, int offset) : fBlock(new std::uint8_t[bytes + offset]), fOffset(offset) {}
  ~ExactScratch() { delete[] fBlock; }
  ExactScratch(const ExactScratch&) = delete;
  ExactScratch& operator=(const ExactScratch&) = delete;
  std::uint8_t* Data() const { return fBlock + fOffset; }

 private:
  std::uint8_t* fBlock;
  int fOffset;
};

}  // namespace qx::filtertest
