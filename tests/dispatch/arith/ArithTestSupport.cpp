#include "ArithTestSupport.h"

#include <cctype>
#include <climits>
#include <vector>

namespace qx::arithtest {

Layout LayoutOf(std::string_view entryName) {
  if (entryName.find("_16") != std::string_view::npos) return {2, 2};
  if (entryName.starts_with("ipps")) return {1, 1};
  // Pixel tokens left to right: AC4, C1, C3, C4 or P3 (planes of one byte).
  const std::string_view pixels = entryName.substr(entryName.rfind('_') + 1);
  std::string_view rest = pixels;
  std::vector<int> bytes;
  while (rest.starts_with("AC4") ||
         (rest.size() > 1 && std::isdigit(static_cast<unsigned char>(rest[1])))) {
    const bool ac4 = rest.starts_with("AC4");
    bytes.push_back(ac4 ? 4 : (rest[0] == 'P' ? 1 : rest[1] - '0'));
    rest.remove_prefix(ac4 ? 3 : 2);
  }
  // C3CR, C4CR: one channel of each pixel (C4CR copies channel to channel).
  const bool oneChannel = rest.starts_with('C');
  return {bytes.front(), bytes.back(),
          /*srcChannel=*/oneChannel || (bytes.size() == 2 && bytes[1] == 1),  // C3C1, C4C1
          /*dstChannel=*/oneChannel || pixels.starts_with("C1C")};            // C1C3, C1C4
}

Arguments RandomArguments(std::mt19937& random) {
  const auto uniform = [&random](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  static constexpr int kExtremeScales[] = {INT_MIN, -1000, -16, -15, -9,   -8,
                                           17,      19,    31,  32,  1000, INT_MAX};
  Arguments args;
  args.scaleFactor = uniform(0, 6) > 0 ? uniform(-10, 18) : kExtremeScales[uniform(0, 11)];
  for (Ipp8u& constant : args.constants) {
    constant = uniform(0, 6) > 0 ? static_cast<Ipp8u>(uniform(0, 255)) : 0;
  }
  const int maxCount = uniform(0, 9) == 0 ? 40 : 9;  // beyond 7 everything is shifted out
  for (Ipp32u& count : args.counts) count = static_cast<Ipp32u>(uniform(0, maxCount));
  if (uniform(0, 2) == 0) args.counts.fill(args.counts[0]);  // one count for every channel
  args.value = uniform(-32768, 32767);
  args.axis = static_cast<IppiAxis>(uniform(0, 19) == 0 ? 3 : uniform(0, 2));
  return args;
}

}  // namespace qx::arithtest
