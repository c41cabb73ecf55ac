#include "ArithTestSupport.h"

#include <cctype>
#include <climits>
#include <string>

namespace qx::arithtest {

Layout LayoutOf(std::string_view entryName) {
  const std::string name(entryName);
  if (name.find("_16u") != std::string::npos || name.find("_16s") != std::string::npos)
    return {2, 2};
  std::string suffix = name.substr(name.rfind('_') + 1);  // C3IRSfs, AC4C3R, C4CR, 8u...
  if (suffix == "8u") return {1, 1};                      // ippsCopy_8u
  for (const char* tail : {"Sfs", "R", "I"})
    if (suffix.ends_with(tail)) suffix.resize(suffix.size() - std::string_view(tail).size());
  const bool oneChannel = suffix.ends_with("C") && suffix.size() > 1 &&
                          std::isdigit(static_cast<unsigned char>(suffix[suffix.size() - 2]));
  if (oneChannel) suffix.pop_back();  // C3C, C4C: a channel of 3- or 4-byte pixels
  // Tokens AC4, C1, C3, C4 and P3 (planes of one byte), left to right.
  std::vector<int> bytes;
  for (std::size_t i = 0; i < suffix.size(); ++i) {
    if (suffix.compare(i, 3, "AC4") == 0) {
      bytes.push_back(4);
      i += 2;
    } else if (i + 1 < suffix.size() && (suffix[i] == 'C' || suffix[i] == 'P')) {
      const int digit = suffix[i + 1] - '0';
      bytes.push_back(suffix[i] == 'P' ? 1 : digit);
      ++i;
    }
  }
  Layout layout{bytes.front(), bytes.back()};
  if (oneChannel) {
    layout.dstChannel = true;
    layout.srcChannel = true;  // C4CR copies channel to channel; Set has no source
  } else if (bytes.size() == 2 && bytes[0] == 1 && suffix.front() == 'C') {
    layout.dstChannel = true;  // C1C3, C1C4: a plane into a channel
  } else if (bytes.size() == 2 && bytes[1] == 1) {
    layout.srcChannel = true;  // C3C1, C4C1: a channel into a plane
  }
  return layout;
}

Arguments RandomArguments(std::mt19937& random) {
  const auto chance = [&random](double p) { return std::bernoulli_distribution(p)(random); };
  const auto uniform = [&random](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  Arguments args;
  static constexpr int kExtremeScales[] = {INT_MIN, -1000, -16, -15, -9,   -8,
                                           17,      19,    31,  32,  1000, INT_MAX};
  args.scaleFactor =
      chance(0.85) ? uniform(-10, 18) : kExtremeScales[uniform(0, std::size(kExtremeScales) - 1)];
  for (Ipp8u& constant : args.constants)
    constant = chance(0.15) ? 0 : static_cast<Ipp8u>(uniform(0, 255));
  if (chance(0.3)) {
    args.counts.fill(static_cast<Ipp32u>(uniform(0, 9)));  // one count for every channel
  } else if (chance(0.1)) {
    for (Ipp32u& count : args.counts) count = static_cast<Ipp32u>(uniform(8, 40));
  } else {
    for (Ipp32u& count : args.counts) count = static_cast<Ipp32u>(uniform(0, 9));
  }
  args.byteValue = static_cast<Ipp8u>(uniform(0, 255));
  args.intValue = uniform(-32768, 32767);
  args.axis = static_cast<IppiAxis>(chance(0.05) ? 3 : uniform(0, 2));
  return args;
}

}  // namespace qx::arithtest
