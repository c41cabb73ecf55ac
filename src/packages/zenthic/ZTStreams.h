// The signal package's stream type and its channel handler.
//
// `ZTRegisterStreams` registers the pair stream with the pin framework; the
// package's pins call it before declaring a type, so a program need not,
// but a program that connects converters to the pair stream before creating
// any of them calls it at start-up. Calling it again does nothing.
#pragma once

#include "host/Guid.h"
#include "packages/flowbus/FBStream.h"

namespace qx {

// Pairs of buffers (TFBSuppliedBufferPairOperation): the X and Y values of
// point lists, for instance.
inline constexpr TGUID ZTBufferPairStreamID =
    TGUID::Parse("{F4D70F89-B478-4D08-990F-AD03759D0E31}");
inline constexpr const char* ZTBufferPairStreamName = "ZT Buffer pair stream";

void ZTRegisterStreams();

// The handler the package registers as the default of its stream types, and
// that the library's stream types register as theirs: unless `state` holds
// fbsHeld, passes the operation into the stream (through its
// IFBStreamNotify) and returns the receiver's answer; false otherwise.
bool DefaultZTChannelNotificationHandler(IFBStream& stream, const TGUID& dataType,
                                         const TFBOperationPtr& operation, TFBState state);

}  // namespace qx
