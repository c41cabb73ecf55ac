// The pixel-format choices components publish as sub-objects.
//
// - TQXOptionalVideoFormat: the format a component asks of its source, or
//   (AutoSelect, the default) whatever the source offers. A change calls the
//   virtual Notify under the owner's lock; the base's does nothing, an owner
//   that wants the signal uses a derived class that overrides it.
// - TQXVideoFormatSettings: the format a component converts its output to,
//   unless AutoSelect leaves frames in their own format (the default: Format
//   vfRGBA32, AutoSelect off). Changes give no signal: the owner reads the
//   values when it starts a stream.
//
// Setters run under the owner's lock and change nothing when it refuses.
#pragma once

#include "image/QXVideoFormat.h"
#include "packages/zenthic/NXLockedPersistent.h"

namespace qx {

class TQXOptionalVideoFormat : public TNXLockedPersistent {
  QX_CLASS(TQXOptionalVideoFormat, TNXLockedPersistent)

 public:
  using TNXLockedPersistent::TNXLockedPersistent;

  // Published without a default (always stored); vfRGB24 until set.
  TQXVideoFormat GetVideoFormat() const;
  void SetVideoFormat(TQXVideoFormat value);
  bool GetAutoSelect() const;
  void SetAutoSelect(bool value);

 private:
  TQXVideoFormat FVideoFormat = vfRGB24;
  bool FAutoSelect = true;
};

class TQXVideoFormatSettings : public TNXLockedPersistent {
  QX_CLASS(TQXVideoFormatSettings, TNXLockedPersistent)

 public:
  using TNXLockedPersistent::TNXLockedPersistent;

  bool GetAutoSelect() const;
  void SetAutoSelect(bool value);
  TQXVideoFormat GetFormat() const;
  void SetFormat(TQXVideoFormat value);

  // Takes Format and AutoSelect from another TQXVideoFormatSettings; raises
  // EAssignError for any other source.
  void Assign(const TPersistent& source) override;

 private:
  bool FAutoSelect = false;
  TQXVideoFormat FFormat = vfRGBA32;
};

}  // namespace qx
