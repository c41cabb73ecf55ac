#include "packages/flowbus/FBStreamRegistry.h"

#include <map>
#include <mutex>
#include <utility>

#include "packages/flowbus/FBExceptions.h"
#include "packages/flowbus/FBValueStreams.h"

namespace qx {
namespace {

struct TStreamEntry {
  std::string Name;
  TFBStreamHandler DefaultHandler;
};

class TRegistry {
 public:
  TRegistry() {
    FStreams[FBBoolStreamID].Name = "FB Boolean stream";
    FStreams[FBStringStreamID].Name = "FB String stream";
    FStreams[FBClockStreamID].Name = "FB Clock stream";
    FStreams[FBInt64TimeRangeStreamID].Name = "FB Int64 Time Ranged stream";
  }

  void Register(const TGUID& type, std::string_view name) {
    if (type.IsNull()) throw EFBError("a stream type cannot be the null GUID");
    if (name.empty()) throw EFBError("stream " + type.ToString() + " needs a name");
    std::lock_guard guard(FMutex);
    auto [entry, added] = FStreams.try_emplace(type);
    if (added) {
      entry->second.Name = name;
    } else if (entry->second.Name != name) {
      throw EFBError("stream " + type.ToString() + " is already registered as \"" +
                     entry->second.Name + "\"");
    }
  }

  std::string Name(const TGUID& type) const {
    std::lock_guard guard(FMutex);
    const auto entry = FStreams.find(type);
    return entry == FStreams.end() ? std::string() : entry->second.Name;
  }

  void SetDefaultHandler(const TGUID& type, TFBStreamHandler handler) {
    std::lock_guard guard(FMutex);
    FindRegistered(type).DefaultHandler = std::move(handler);
  }

  TFBStreamHandler DefaultHandler(const TGUID& type) const {
    std::lock_guard guard(FMutex);
    const auto entry = FStreams.find(type);
    if (entry == FStreams.end() || !entry->second.DefaultHandler) return FBStreamNotify;
    return entry->second.DefaultHandler;
  }

  void AddConverter(const TGUID& from, const TGUID& to, TFBConverterFactory factory) {
    if (!factory) throw EFBError("a type converter needs a factory");
    std::lock_guard guard(FMutex);
    FindRegistered(from);
    FindRegistered(to);
    FConverters[{from, to}] = std::move(factory);
  }

  TFBConverterFactory Converter(const TGUID& from, const TGUID& to) const {
    std::lock_guard guard(FMutex);
    const auto converter = FConverters.find({from, to});
    return converter == FConverters.end() ? TFBConverterFactory() : converter->second;
  }

 private:
  TStreamEntry& FindRegistered(const TGUID& type) {
    const auto entry = FStreams.find(type);
    if (entry == FStreams.end()) {
      throw EFBError("stream " + type.ToString() + " is not registered");
    }
    return entry->second;
  }

  mutable std::mutex FMutex;
  std::map<TGUID, TStreamEntry> FStreams;
  std::map<std::pair<TGUID, TGUID>, TFBConverterFactory> FConverters;
};

TRegistry& Registry() {
  static TRegistry registry;
  return registry;
}

}  // namespace

void FBRegisterStream(const TGUID& type, std::string_view name) { Registry().Register(type, name); }

bool FBIsStreamRegistered(const TGUID& type) { return !Registry().Name(type).empty(); }

std::string FBGetStreamName(const TGUID& type) { return Registry().Name(type); }

void FBRegisterDefaultHandler(const TGUID& type, TFBStreamHandler handler) {
  Registry().SetDefaultHandler(type, std::move(handler));
}

TFBStreamHandler FBGetDefaultHandler(const TGUID& type) { return Registry().DefaultHandler(type); }

void FBRegisterTypeConverter(const TGUID& from, const TGUID& to, TFBConverterFactory factory) {
  Registry().AddConverter(from, to, std::move(factory));
}

TFBConverterFactory FBFindTypeConverter(const TGUID& from, const TGUID& to) {
  return Registry().Converter(from, to);
}

bool FBStreamNotify(IFBStream& stream, const TGUID& dataType, const TFBOperationPtr& operation,
                    TFBState state) {
  if (state & fbsHeld) return false;
  auto* notify = dynamic_cast<IFBStreamNotify*>(&stream);
  return notify && notify->Notify(dataType, operation, state);
}

}  // namespace qx
