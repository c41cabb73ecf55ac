// Reading a DV frame's time code and recording date and time from its
// subcode packs.
//
// A DV frame in DIF layout is a run of DIF sequences of 12 000 bytes (10 for
// 525-line, 12 for 625-line video), each made of 150 DIF blocks of 80 bytes.
// Blocks 1 and 2 of a sequence are subcode blocks: after a 3-byte block ID
// come six sync blocks of 8 bytes, each a 3-byte ID followed by a 5-byte
// pack (a header byte that names the pack, then four data bytes in BCD).
#pragma once

#include <cstddef>

#include "image/IQXImageBuffer.h"

namespace qx {

// Stamps `buffer` with the time code and the recording date and time of the
// DV frame in the `size` bytes at `data`.
//
// Both Available flags are cleared first. The time code is taken from the
// first time-code pack (header 0x13) of the frame's subcode; without one,
// nothing else is read. The date-time is taken from the first recording-date
// (0x62) and recording-time (0x63) packs and set only when both are present;
// a two-digit year of 25 or more is 19xx, below 25 20xx. Millisec and the
// fields of a stamp that is not found keep their values. BCD digits are not
// checked: a nibble above 9 gives a value beyond the usual range.
//
// Only the first 12 DIF sequences are searched, and nothing is read beyond
// `size` bytes: a frame cut short is searched up to its end. A null `data`
// counts as an empty frame.
void QXDSExtractTimeCode(const void* data, std::size_t size, IQXImageBuffer& buffer);

}  // namespace qx
