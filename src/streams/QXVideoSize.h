// TQXVideoSize and TQXOptionalVideoSize: the frame size a component asks of
// its source (capture, player, generator), published as a sub-object.
//
//   TQXVideoSize FVideoSize{this, FLock, [this](TQXVideoSize&) { SizeChanged(); }};
//   ...
//   ObjectProperty("VideoSize", &TMyCapture::GetVideoSize)   // in the class info
//   {"VideoSize": {"Width": 640, "Height": 480}}             // in the form file
//
// Width and height are 320 x 240 until set. Setters and Assign run under the
// owner's lock; a change calls OnChange once per changed value, still under
// the lock (so the handler must not wait for another thread that needs it).
// When the lock refuses (the owner is being destroyed) nothing changes.
#pragma once

#include <cstdint>
#include <functional>

#include "packages/zenthic/NXLockedPersistent.h"

namespace qx {

class TQXVideoSize : public TNXLockedPersistent {
  QX_CLASS(TQXVideoSize, TNXLockedPersistent)

 public:
  using TChangeEvent = std::function<void(TQXVideoSize& sender)>;

  TQXVideoSize(TComponent* owner, TRefPtr<IFBLock> lock, TChangeEvent onChange = {});

  std::uint32_t GetWidth() const;
  std::uint32_t GetHeight() const;
  // Store a different value and call OnChange. Virtual: Assign goes through
  // them, so a derived size that limits its values limits assigned ones too.
  virtual void SetWidth(std::uint32_t value);
  virtual void SetHeight(std::uint32_t value);

  // Takes the width and height of another TQXVideoSize through the setters
  // (each change signals); raises EAssignError for any other source.
  void Assign(const TPersistent& source) override;

  TChangeEvent OnChange;

 protected:
  void Notify() override;

 private:
  std::uint32_t FWidth = 320;
  std::uint32_t FHeight = 240;
};

// A video size that may be left to the source: with Current set (the
// default) the component keeps the size the source delivers.
class TQXOptionalVideoSize : public TQXVideoSize {
  QX_CLASS(TQXOptionalVideoSize, TQXVideoSize)

 public:
  using TQXVideoSize::TQXVideoSize;

  bool GetCurrent() const;
  // Stores the value under the lock; no change signal.
  void SetCurrent(bool value);

  // Takes Current from another TQXOptionalVideoSize, then the size as
  // TQXVideoSize::Assign does.
  void Assign(const TPersistent& source) override;

 private:
  bool FCurrent = true;
};

}  // namespace qx
