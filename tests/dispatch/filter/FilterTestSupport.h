// Images with guard elements around and between their rows, for the filter
// kernel tests.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

namespace qx::filtertest {

// A region of `width` x `height` elements inside `margin` elements on every
// side, with `extraStep` more elements at the end of each row, all `fill`.
template <class T>
class Canvas {
 public:
  Canvas(int width, int height, int margin, int extraStep, T fill = 0)
      : fWidth(width),
        fHeight(height),
        fMargin(margin),
        fStride(width + 2 * margin + extraStep),
        fData(static_cast<std::size_t>(fStride) * (height + 2 * margin), fill) {}

  T* Region() { return &At(0, 0); }
  int StepBytes() const { return fStride * static_cast<int>(sizeof(T)); }
  // Element (x, y) of the region; coordinates down to -margin are valid.
  T& At(int x, int y) {
    return fData[static_cast<std::size_t>(y + fMargin) * fStride + x + fMargin];
  }
  T At(int x, int y) const { return const_cast<Canvas*>(this)->At(x, y); }

  void FillRandom(std::mt19937& random, int low, int high) {
    std::uniform_int_distribution<int> value(low, high);
    for (T& element : fData) element = static_cast<T>(value(random));
  }
  // Whether every element, or every one outside the region, still holds `guard`.
  bool AllEqual(T guard, bool outsideOnly = false) const {
    for (int y = -fMargin; y < fHeight + fMargin; ++y) {
      for (int x = -fMargin; x < fStride - fMargin; ++x) {
        const bool inside = x >= 0 && x < fWidth && y >= 0 && y < fHeight;
        if (!(inside && outsideOnly) && At(x, y) != guard) return false;
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

}  // namespace qx::filtertest
