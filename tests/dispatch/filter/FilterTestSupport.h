// Shared by the filter kernel tests: images with guard elements around and
// between their rows, and the order of argument checks.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <utility>
#include <vector>

#include "dispatch/IppTypes.h"

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

// An entry's argument checks in their order, each with the faults it catches.
template <class Args>
using Checks = std::vector<std::pair<IppStatus, std::vector<void (*)(Args&)>>>;

// Calls `call` on `valid` spoiled by each fault, together with the first fault
// of every later check: the status shows that the fault's check comes first.
template <class Args, class Call>
void ExpectChecksInOrder(const Checks<Args>& checks, const Args& valid, Call call) {
  for (std::size_t check = 0; check < checks.size(); ++check) {
    for (auto fault : checks[check].second) {
      Args args = valid;
      fault(args);
      for (std::size_t later = check + 1; later < checks.size(); ++later)
        checks[later].second.front()(args);
      EXPECT_EQ(call(args), checks[check].first) << "check " << check;
    }
  }
}

}  // namespace qx::filtertest
