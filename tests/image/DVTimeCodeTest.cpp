// DV time code and recording date-time read from the subcode packs of DV
// frames that the tests lay out DIF block by DIF block.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "image/QXDVTimeCode.h"
#include "image/QXImageBuffer.h"

namespace qx::test {
namespace {

using TPack = std::array<std::uint8_t, 5>;

// A DV frame of `size` bytes in DIF layout. Every byte starts as 0xFF, the
// header of the "no information" pack.
struct DVFrame {
  explicit DVFrame(std::size_t size) : Bytes(size, 0xFF) {}

  // Writes `pack` into sync block `sync` (0-5) of subcode block `subcode`
  // (0 or 1, DIF blocks 1 and 2) of DIF sequence `sequence`.
  void PutPack(int sequence, int subcode, int sync, const TPack& pack) {
    const std::size_t difBlock = 150 * sequence + 1 + subcode;
    const std::size_t syncBlock = 80 * difBlock + 3 + 8 * sync;  // after the block ID
    std::copy(pack.begin(), pack.end(), &Bytes.at(syncBlock + 3));
  }

  // Reads the stamps into `frame` from a copy allocated to the frame's size,
  // so that any read beyond the end is caught by the address sanitizer.
  void ExtractInto(IQXImageBuffer& frame) const {
    const std::vector<std::uint8_t> exact(Bytes);
    QXDSExtractTimeCode(exact.data(), exact.size(), frame);
  }

  std::vector<std::uint8_t> Bytes;
};

constexpr std::size_t kSequence = 12000;
constexpr TPack kTimeCode{0x13, 0x24, 0x59, 0x59, 0x23};  // 23:59:59, frame 24
constexpr TPack kDate{0x62, 0xFF, 0x31, 0x12, 0x25};      // 31 December 1925
constexpr TPack kTime{0x63, 0xFF, 0x45, 0x30, 0x12};      // 12:30:45
// Time code and date-time as StampedFrame leaves them unread, and as read
// from the three packs above.
const std::string kTimeCodeUnread = "unavailable 1:1:1.1", kTimeCodeRead = "23:59:59.24";
const std::string kDateUnread = " | unavailable 2001/1/1 1:1:1.-1";

// A frame whose stamps are both available, read from packs of ones that the
// cases never use; millisec, which no pack gives, is -1.
TRefPtr<TQXImageBuffer> StampedFrame() {
  DVFrame dv(kSequence);
  dv.PutPack(0, 0, 0, {0x13, 0x01, 0x01, 0x01, 0x01});
  dv.PutPack(0, 0, 1, {0x62, 0x01, 0x01, 0x01, 0x01});
  dv.PutPack(0, 0, 2, {0x63, 0x01, 0x01, 0x01, 0x01});
  auto frame = MakeRef<TQXImageBuffer>(8, 8, vfYUY2);
  dv.ExtractInto(*frame);
  frame->GetDateTime().SetMillisec(-1);
  return frame;
}

// The stamps as "time code | date-time", each "h:m:s.frame" or
// "y/m/d h:m:s.ms", with "unavailable" first when it is not available.
std::string StampsOf(IQXImageBuffer& frame) {
  const TQXTimeCode& c = frame.GetTimeCode();
  const TQXDateTime& d = frame.GetDateTime();
  std::ostringstream out;
  out << (c.GetAvailable() ? "" : "unavailable ") << c.GetHour() << ":" << c.GetMin() << ":"
      << c.GetSec() << "." << c.GetFrame() << " | " << (d.GetAvailable() ? "" : "unavailable ")
      << d.GetYear() << "/" << d.GetMonth() << "/" << d.GetDay() << " " << d.GetHour() << ":"
      << d.GetMin() << ":" << d.GetSec() << "." << d.GetMillisec();
  return out.str();
}

TEST(DVTimeCode, FlagBitsBesideTheDigitsAreIgnored) {
  DVFrame dv(10 * kSequence);
  // The bits above each tens digit carry flags in DV: frame bits 6-7, second
  // and minute bit 7, hour bits 6-7, day bits 6-7, month bits 5-7. Two-digit
  // years below 25 are in the twenty-first century (25 itself: kDate).
  dv.PutPack(0, 0, 0, {0x13, 0xE4, 0xD9, 0xC8, 0xE3});
  dv.PutPack(0, 1, 0, {0x62, 0x00, 0xF1, 0xF2, 0x24});
  dv.PutPack(0, 1, 1, {0x63, 0x00, 0x80, 0x81, 0xC0});
  auto frame = StampedFrame();
  dv.ExtractInto(*frame);
  EXPECT_EQ(StampsOf(*frame), "23:48:59.24 | 2024/12/31 0:1:0.-1");
}

TEST(DVTimeCode, SearchesTwelveSequencesAndNeverBeyondTheFrame) {
  // The header of pack (2, 1, 3), counted by hand, in a frame cut short after it.
  constexpr std::size_t kHeader = 2 * kSequence + 160 + 3 + 3 * 8 + 3;
  const struct {
    std::size_t size;
    int sequence, subcode, sync;
    bool found;
  } cases[] = {
      {12 * kSequence, 11, 1, 5, true},   // the last place searched
      {13 * kSequence, 12, 0, 0, false},  // a thirteenth sequence is not searched
      {kHeader + 5, 2, 1, 3, true},       // the pack is the frame's last five bytes
      {kHeader + 4, 2, 1, 3, false},      // its last byte lies outside
      {0, 0, 0, 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.size << " bytes");
    DVFrame dv(13 * kSequence);
    dv.PutPack(c.sequence, c.subcode, c.sync, kTimeCode);
    dv.Bytes.resize(c.size);
    auto frame = StampedFrame();
    dv.ExtractInto(*frame);
    EXPECT_EQ(StampsOf(*frame), (c.found ? kTimeCodeRead : kTimeCodeUnread) + kDateUnread);
  }
  auto frame = StampedFrame();
  QXDSExtractTimeCode(nullptr, 144000, *frame);
  EXPECT_FALSE(frame->GetTimeCode().GetAvailable());
}

TEST(DVTimeCode, TheFirstPackWinsForEveryHolderOfTheStorage) {
  DVFrame dv(12 * kSequence);
  // Date and time stand before the time code, and each search starts at the
  // frame start; of two time codes the first wins (subcode block 1 comes
  // before block 2 of the same sequence).
  dv.PutPack(0, 0, 0, kTime);
  dv.PutPack(0, 0, 1, kDate);
  dv.PutPack(3, 1, 0, {0x13, 0x00, 0x00, 0x00, 0x01});
  dv.PutPack(3, 0, 5, kTimeCode);
  dv.PutPack(5, 0, 0, {0x62, 0xFF, 0x02, 0x02, 0x02});
  auto frame = StampedFrame();
  auto sharer = MakeRef<TQXImageBuffer>(*frame);
  dv.ExtractInto(*frame);
  // Millisec is not part of the packs and keeps its value.
  EXPECT_EQ(StampsOf(*sharer), kTimeCodeRead + " | 1925/12/31 12:30:45.-1");
  // Stamping copied nothing: the holders still share the pixels.
  EXPECT_EQ(&sharer->GetBuffer(), &frame->GetBuffer());
}

TEST(DVTimeCode, MissingPacksLeaveTheirStampUnavailableAndUnchanged) {
  const struct {
    const char* what;
    std::vector<TPack> packs;
    bool timeCode;
  } cases[] = {
      {"date and time without a time code are not read", {kDate, kTime}, false},
      {"no recording-time pack", {kTimeCode, kDate}, true},
      {"no recording-date pack", {kTimeCode, kTime}, true},
      // Pack headers in the header block and a sync block ID are not packs.
      {"nothing but headers", {}, false},
  };
  for (const auto& [what, packs, timeCode] : cases) {
    SCOPED_TRACE(what);
    DVFrame dv(12 * kSequence);
    for (std::size_t i = 0; i < packs.size(); ++i) dv.PutPack(0, 0, static_cast<int>(i), packs[i]);
    dv.Bytes[0] = dv.Bytes[80 + 3] = 0x13;
    auto frame = StampedFrame();
    dv.ExtractInto(*frame);
    EXPECT_EQ(StampsOf(*frame), (timeCode ? kTimeCodeRead : kTimeCodeUnread) + kDateUnread);
  }
}

}  // namespace
}  // namespace qx::test
