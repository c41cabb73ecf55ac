// Form files store the property value types with their defaults and read
// back every value they wrote.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "host/FormFile.h"
#include "host/Properties.h"
#include "streams/QXAspectRatio.h"
#include "streams/QXRegionProperties.h"
#include "streams/QXSizeProperties.h"
#include "streams/QXVideoFormatProperties.h"
#include "streams/QXVideoSize.h"

namespace qx {
namespace {

// A component that publishes one object of every property value type.
class TPropertyHost : public TComponent {
  QX_CLASS(TPropertyHost, TComponent)

 public:
  using TComponent::TComponent;

  TQXVideoSize* GetVideoSize() const { return &VideoSize; }
  TQXOptionalVideoSize* GetOptionalVideoSize() const { return &OptionalVideoSize; }
  TQXOptionalVideoFormat* GetOptionalVideoFormat() const { return &OptionalVideoFormat; }
  TQXAspectRatio* GetAspectRatio() const { return &AspectRatio; }
  TQXPoint* GetPoint() const { return &Point; }
  TQXSize* GetSize() const { return &Size; }
  TQXFilterOutputSize* GetFilterOutputSize() const { return &FilterOutputSize; }
  TQXMaskSize* GetMaskSize() const { return &MaskSize; }
  TQXIntegerSize* GetIntegerSize() const { return &IntegerSize; }
  TQXRectRegion* GetRectRegion() const { return &RectRegion; }
  TQXOptionalRectRegion* GetOptionalRectRegion() const { return &OptionalRectRegion; }
  TQXVideoFormatSettings* GetVideoFormatSettings() const { return &VideoFormatSettings; }

  TRefPtr<IFBLock> Lock = FBCreateLock();
  mutable TQXVideoSize VideoSize{this, Lock};
  mutable TQXOptionalVideoSize OptionalVideoSize{this, Lock};
  mutable TQXOptionalVideoFormat OptionalVideoFormat{this, Lock};
  mutable TQXAspectRatio AspectRatio{this, Lock};
  mutable TQXPoint Point{this, Lock};
  mutable TQXSize Size{this, Lock, {}, true};
  mutable TQXFilterOutputSize FilterOutputSize{this, Lock};
  mutable TQXMaskSize MaskSize{this, Lock};
  mutable TQXIntegerSize IntegerSize{this, Lock};
  mutable TQXRectRegion RectRegion{this, Lock};
  mutable TQXOptionalRectRegion OptionalRectRegion{this, Lock};
  mutable TQXVideoFormatSettings VideoFormatSettings{this, Lock};
};

const TClassInfo& TPropertyHost::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TPropertyHost>({
      ObjectProperty("VideoSize", &TPropertyHost::GetVideoSize),
      ObjectProperty("OptionalVideoSize", &TPropertyHost::GetOptionalVideoSize),
      ObjectProperty("OptionalVideoFormat", &TPropertyHost::GetOptionalVideoFormat),
      ObjectProperty("AspectRatio", &TPropertyHost::GetAspectRatio),
      ObjectProperty("Point", &TPropertyHost::GetPoint),
      ObjectProperty("Size", &TPropertyHost::GetSize),
      ObjectProperty("FilterOutputSize", &TPropertyHost::GetFilterOutputSize),
      ObjectProperty("MaskSize", &TPropertyHost::GetMaskSize),
      ObjectProperty("IntegerSize", &TPropertyHost::GetIntegerSize),
      ObjectProperty("RectRegion", &TPropertyHost::GetRectRegion),
      ObjectProperty("OptionalRectRegion", &TPropertyHost::GetOptionalRectRegion),
      ObjectProperty("VideoFormatSettings", &TPropertyHost::GetVideoFormatSettings),
  });
  return info;
}

// Every published value of every sub-object of `host`, defaults included.
nlohmann::json AllValues(const TPersistent& host) {
  nlohmann::json values;
  for (const TPropertyInfo* object : host.ClassInfo().GetProperties()) {
    if (object->GetKind() != pkObject) continue;
    const TPersistent& value = *object->GetObject(host);
    for (const TPropertyInfo* property : value.ClassInfo().GetProperties()) {
      values[object->GetName()][property->GetName()] = property->GetJson(value);
    }
  }
  return values;
}

class PropertyForms : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterClass<TPropertyHost>(); }
};

TEST_F(PropertyForms, NewObjectsHoldThePublishedDefaultsWhichFormsLeaveOut) {
  TPropertyHost host(nullptr);
  EXPECT_EQ(AllValues(host), nlohmann::json::parse(R"({
      "VideoSize": {"Width": 320, "Height": 240},
      "OptionalVideoSize": {"Width": 320, "Height": 240, "Current": true},
      "OptionalVideoFormat": {"VideoFormat": "vfRGB24", "AutoSelect": true},
      "AspectRatio": {"Mode": "arAuto", "Width": 4, "Height": 3},
      "Point": {"X": 0, "Y": 0},
      "Size": {"Width": 50, "Height": 50},
      "FilterOutputSize": {"Width": 240, "Height": 180},
      "MaskSize": {"Width": 4, "Height": 4},
      "IntegerSize": {"Width": 50, "Height": 50},
      "RectRegion": {"Width": 50, "Height": 50, "Left": 0, "Top": 0},
      "OptionalRectRegion": {"Width": 50, "Height": 50, "Left": 0, "Top": 0, "Enabled": false},
      "VideoFormatSettings": {"AutoSelect": false, "Format": "vfRGBA32"}})"));

  // Only the values published without a default are written.
  EXPECT_EQ(nlohmann::json::parse(SaveFormText(host))["properties"], nlohmann::json::parse(R"({
      "OptionalVideoFormat": {"VideoFormat": "vfRGB24"},
      "AspectRatio": {"Width": 4, "Height": 3}})"));
}

TEST_F(PropertyForms, EveryValueSurvivesARoundTrip) {
  const nlohmann::json properties = nlohmann::json::parse(R"({
      "VideoSize": {"Width": 1920, "Height": 1080},
      "OptionalVideoSize": {"Height": 576, "Current": false},
      "OptionalVideoFormat": {"VideoFormat": "vfUYVY", "AutoSelect": false},
      "AspectRatio": {"Mode": "arCustom", "Width": 16, "Height": 9},
      "Point": {"X": 65535, "Y": 1},
      "Size": {"Width": 0},
      "FilterOutputSize": {"Width": 50},
      "MaskSize": {"Height": 7},
      "IntegerSize": {"Width": 100000},
      "RectRegion": {"Height": 17, "Left": 3},
      "OptionalRectRegion": {"Top": 44, "Enabled": true},
      "VideoFormatSettings": {"AutoSelect": true, "Format": "vfGrayScale"}})");
  std::unique_ptr<TComponent> loaded =
      LoadFormText(nlohmann::json{{"class", "TPropertyHost"}, {"properties", properties}}.dump());
  // Whatever was not read, or read into the wrong value, is missing when written again.
  EXPECT_EQ(nlohmann::json::parse(SaveFormText(*loaded))["properties"], properties);
}

}  // namespace
}  // namespace qx
