#include "packages/zenthic/ZTSmartBuffer.h"

namespace qx {

void TZTSmartBuffer::AddReff(bool /*dataBufferReference*/) const noexcept { AddRef(); }

void TZTSmartBuffer::RemoveReff(bool /*dataBufferReference*/) const noexcept { Release(); }

void TZTSmartBuffer::RemoveOwnerShip() const noexcept {
  // Taking and dropping a reference destroys the object exactly when no other
  // reference exists, without a window between a test and the deletion.
  AddRef();
  Release();
}

TRefPtr<TZTSmartBuffer> TZTSmartBuffer::CreateResized(std::size_t /*charSize*/) const {
  return nullptr;
}

}  // namespace qx
