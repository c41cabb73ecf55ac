// The stream registry: which stream types exist, how pins pass their
// operations on by default, and which converters join two types.
//
// A package registers its stream types once when it starts, before any pin
// declares them:
//
//   FBRegisterStream(IID_IFBQXImageStream, "QX Image stream");
//   FBRegisterDefaultHandler(IID_IFBQXImageStream, MyChannelHandler);
//   FBRegisterTypeConverter<TMyXYToPairsConverter>(IID_XYStream, IID_PairStream);
//
// The framework's own value streams (packages/flowbus/FBValueStreams.h) are
// registered from the start. Every function is thread-safe.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "host/Guid.h"
#include "host/RefCounted.h"
#include "packages/flowbus/FBStream.h"

namespace qx {

class TFBFormatConverter;
class TFBSinkPin;
class TFBSourcePin;

// Builds the converter that will stand between `origin` (speaking the
// converter's source type) and `target` (speaking its target type).
using TFBConverterFactory =
    std::function<TRefPtr<TFBFormatConverter>(TFBSinkPin& target, TFBSourcePin& origin)>;

// Registers a stream type under a display name. Registering it again with
// the same name does nothing; raises EFBError for a null GUID, an empty name
// or a type already registered under another name.
void FBRegisterStream(const TGUID& type, std::string_view name);
bool FBIsStreamRegistered(const TGUID& type);
// The registered name, or an empty string.
std::string FBGetStreamName(const TGUID& type);

// The handler a pin gets for `type` when it declares the type without one.
// Raises EFBError for an unregistered type. Pins that declared the type
// before keep the handler they got.
void FBRegisterDefaultHandler(const TGUID& type, TFBStreamHandler handler);
// The registered default handler, or FBStreamNotify.
TFBStreamHandler FBGetDefaultHandler(const TGUID& type);

// Registers how to convert stream `from` into stream `to`: when a source
// that speaks `from` (and nothing the sink speaks) is connected to a sink
// that speaks `to`, the framework builds a converter with `factory` and
// connects through it. A later registration for the same pair replaces the
// earlier one. Raises EFBError for unregistered types or an empty factory.
void FBRegisterTypeConverter(const TGUID& from, const TGUID& to, TFBConverterFactory factory);

// The same for a converter class constructed from (target sink, origin source).
template <class TConverter>
void FBRegisterTypeConverter(const TGUID& from, const TGUID& to) {
  FBRegisterTypeConverter(from, to, [](TFBSinkPin& target, TFBSourcePin& origin) {
    return TRefPtr<TFBFormatConverter>(new TConverter(target, origin));
  });
}

// The factory registered for the pair, or an empty function.
TFBConverterFactory FBFindTypeConverter(const TGUID& from, const TGUID& to);

}  // namespace qx
