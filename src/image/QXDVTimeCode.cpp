#include "image/QXDVTimeCode.h"

#include <cstdint>
#include <optional>
#include <span>

#include "image/QXTimeCode.h"

namespace qx {
namespace {

constexpr std::size_t kSequenceBytes = 12000;
constexpr int kSequencesSearched = 12;
constexpr std::size_t kBlockBytes = 80;
constexpr int kSubcodeBlocks = 2;  // blocks 1 and 2 of a sequence
constexpr std::size_t kBlockIdBytes = 3;
constexpr int kSyncBlocks = 6;
constexpr std::size_t kSyncBlockBytes = 8;
constexpr std::size_t kSyncIdBytes = 3;
constexpr std::size_t kPackBytes = 5;

constexpr std::uint8_t kTimeCodePack = 0x13;
constexpr std::uint8_t kRecordingDatePack = 0x62;
constexpr std::uint8_t kRecordingTimePack = 0x63;

using TPack = std::span<const std::uint8_t, kPackBytes>;

// The first subcode pack with `header`, searched sequence by sequence,
// block by block, sync block by sync block; none once a pack would reach
// beyond the frame.
std::optional<TPack> FindPack(std::span<const std::uint8_t> frame, std::uint8_t header) {
  for (int sequence = 0; sequence < kSequencesSearched; ++sequence) {
    for (int block = 1; block <= kSubcodeBlocks; ++block) {
      for (int sync = 0; sync < kSyncBlocks; ++sync) {
        const std::size_t pack = sequence * kSequenceBytes + block * kBlockBytes + kBlockIdBytes +
                                 sync * kSyncBlockBytes + kSyncIdBytes;
        if (pack + kPackBytes > frame.size()) return std::nullopt;
        if (frame[pack] == header) return frame.subspan(pack).first<kPackBytes>();
      }
    }
  }
  return std::nullopt;
}

// A BCD byte: units in bits 0-3, tens in the `tensBits` bits above them.
std::int32_t Bcd(std::uint8_t value, int tensBits) {
  const int tens = (value >> 4) & ((1 << tensBits) - 1);
  return 10 * tens + (value & 0x0F);
}

}  // namespace

void QXDSExtractTimeCode(const void* data, std::size_t size, IQXImageBuffer& buffer) {
  TQXTimeCode& timeCode = buffer.GetTimeCode();
  TQXDateTime& dateTime = buffer.GetDateTime();
  dateTime.SetAvailable(false);
  timeCode.SetAvailable(false);
  if (data == nullptr) return;
  const std::span frame(static_cast<const std::uint8_t*>(data), size);

  const std::optional<TPack> code = FindPack(frame, kTimeCodePack);
  if (!code) return;
  timeCode.SetAvailable(true);
  timeCode.SetFrame(Bcd((*code)[1], 2));
  timeCode.SetSec(Bcd((*code)[2], 3));
  timeCode.SetMin(Bcd((*code)[3], 3));
  timeCode.SetHour(Bcd((*code)[4], 2));

  const std::optional<TPack> date = FindPack(frame, kRecordingDatePack);
  if (!date) return;
  const std::optional<TPack> time = FindPack(frame, kRecordingTimePack);
  if (!time) return;
  const std::int32_t day = Bcd((*date)[2], 2);
  const std::int32_t month = Bcd((*date)[3], 1);
  const std::int32_t twoDigitYear = Bcd((*date)[4], 4);
  dateTime.SetAvailable(true);
  dateTime.SetSec(Bcd((*time)[2], 3));
  dateTime.SetMin(Bcd((*time)[3], 3));
  dateTime.SetHour(Bcd((*time)[4], 2));
  dateTime.SetDay(day);
  dateTime.SetMonth(month);
  dateTime.SetYear(twoDigitYear >= 25 ? 1900 + twoDigitYear : 2000 + twoDigitYear);
}

}  // namespace qx
