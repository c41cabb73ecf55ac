#include "packages/zenthic/ZTRealBuffer.h"

#include <limits>

#include "packages/zenthic/ZTException.h"

namespace qx {
namespace {

std::size_t ByteSizeOf(std::size_t count) {
  if (count > std::numeric_limits<std::size_t>::max() / sizeof(double)) {
    throw EZTException("too many values for a buffer of reals");
  }
  return count * sizeof(double);
}

}  // namespace

TZTRealBuffer::TZTRealBuffer(std::size_t count) : TZTGenericBuffer(ByteSizeOf(count)) {}

TZTRealBuffer::TZTRealBuffer(const IZTDataBuffer& source) : TZTGenericBuffer(source) {}

// The blocks come from ZTBufferAllocate, aligned for any type, and hold no
// object of another type: they may be viewed as arrays of double.
const double* TZTRealBuffer::Read() const { return reinterpret_cast<const double*>(ByteRead()); }

double* TZTRealBuffer::Write() { return reinterpret_cast<double*>(ByteWrite()); }

double* TZTRealBuffer::Modify() { return reinterpret_cast<double*>(ByteModify()); }

TRefPtr<IZTDataBuffer> TZTRealBuffer::MakeCopy() const { return MakeRef<TZTRealBuffer>(*this); }

}  // namespace qx
