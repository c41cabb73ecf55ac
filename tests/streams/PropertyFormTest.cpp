// Form files store the property value types with their defaults and read
// back every value they wrote.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "host/Exceptions.h"
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
  explicit TPropertyHost(TComponent* owner)
      : TComponent(owner),
        VideoSize(this, Lock),
        OptionalVideoSize(this, Lock),
        OptionalVideoFormat(this, Lock),
        AspectRatio(this, Lock),
        Point(this, Lock),
        Size(this, Lock, {}, true),
        FilterOutputSize(this, Lock),
        MaskSize(this, Lock),
        IntegerSize(this, Lock),
        RectRegion(this, Lock),
        OptionalRectRegion(this, Lock),
        VideoFormatSettings(this, Lock) {}

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
  mutable TQXVideoSize VideoSize;
  mutable TQXOptionalVideoSize OptionalVideoSize;
  mutable TQXOptionalVideoFormat OptionalVideoFormat;
  mutable TQXAspectRatio AspectRatio;
  mutable TQXPoint Point;
  mutable TQXSize Size;
  mutable TQXFilterOutputSize FilterOutputSize;
  mutable TQXMaskSize MaskSize;
  mutable TQXIntegerSize IntegerSize;
  mutable TQXRectRegion RectRegion;
  mutable TQXOptionalRectRegion OptionalRectRegion;
  mutable TQXVideoFormatSettings VideoFormatSettings;
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

class PropertyForms : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterClass<TPropertyHost>(); }
};

TEST_F(PropertyForms, DefaultsAreLeftOutAndValuesWithoutDefaultsAreWritten) {
  TPropertyHost host(nullptr);
  const nlohmann::json written = nlohmann::json::parse(SaveFormText(host));
  EXPECT_EQ(written["properties"], nlohmann::json::parse(R"({
      "OptionalVideoFormat": {"VideoFormat": "vfRGB24"},
      "AspectRatio": {"Width": 4, "Height": 3}})"));
}

TEST_F(PropertyForms, EveryValueSurvivesARoundTrip) {
  TPropertyHost host(nullptr);
  host.VideoSize.SetWidth(1920);
  host.VideoSize.SetHeight(1080);
  host.OptionalVideoSize.SetCurrent(false);
  host.OptionalVideoSize.SetHeight(576);
  host.OptionalVideoFormat.SetVideoFormat(vfUYVY);
  host.OptionalVideoFormat.SetAutoSelect(false);
  host.AspectRatio.SetMode(arCustom);
  host.AspectRatio.SetWidth(16);
  host.AspectRatio.SetHeight(9);
  host.Point.SetX(65535);
  host.Point.SetY(1);
  host.Size.SetWidth(0);
  host.FilterOutputSize.SetWidth(50);
  host.MaskSize.SetHeight(7);
  host.IntegerSize.SetWidth(100000);
  host.RectRegion.SetLeft(3);
  host.RectRegion.SetHeight(17);
  host.OptionalRectRegion.SetEnabled(true);
  host.OptionalRectRegion.SetTop(44);
  host.VideoFormatSettings.SetFormat(vfGrayScale);
  host.VideoFormatSettings.SetAutoSelect(true);

  const std::string text = SaveFormText(host);
  const nlohmann::json properties = nlohmann::json::parse(text)["properties"];
  EXPECT_EQ(properties["VideoSize"], nlohmann::json::parse(R"({"Width": 1920, "Height": 1080})"));
  EXPECT_EQ(properties["OptionalVideoSize"],
            nlohmann::json::parse(R"({"Height": 576, "Current": false})"));
  EXPECT_EQ(properties["AspectRatio"]["Mode"], "arCustom");
  EXPECT_EQ(properties["Size"], nlohmann::json::parse(R"({"Width": 0})"));
  EXPECT_EQ(properties["FilterOutputSize"], nlohmann::json::parse(R"({"Width": 50})"));
  EXPECT_EQ(properties["VideoFormatSettings"],
            nlohmann::json::parse(R"({"AutoSelect": true, "Format": "vfGrayScale"})"));

  std::unique_ptr<TComponent> loaded = LoadFormText(text);
  auto& copy = dynamic_cast<TPropertyHost&>(*loaded);
  EXPECT_EQ(copy.VideoSize.GetWidth(), 1920u);
  EXPECT_EQ(copy.VideoSize.GetHeight(), 1080u);
  EXPECT_FALSE(copy.OptionalVideoSize.GetCurrent());
  EXPECT_EQ(copy.OptionalVideoSize.GetWidth(), 320u);
  EXPECT_EQ(copy.OptionalVideoSize.GetHeight(), 576u);
  EXPECT_EQ(copy.OptionalVideoFormat.GetVideoFormat(), vfUYVY);
  EXPECT_FALSE(copy.OptionalVideoFormat.GetAutoSelect());
  EXPECT_EQ(copy.AspectRatio.GetMode(), arCustom);
  EXPECT_EQ(copy.AspectRatio.GetWidth(), 16u);
  EXPECT_EQ(copy.AspectRatio.GetHeight(), 9u);
  EXPECT_EQ(copy.Point.GetX(), 65535);
  EXPECT_EQ(copy.Point.GetY(), 1);
  EXPECT_EQ(copy.Size.GetWidth(), 0);
  EXPECT_EQ(copy.Size.GetHeight(), 50);
  EXPECT_EQ(copy.FilterOutputSize.GetWidth(), 50);
  EXPECT_EQ(copy.FilterOutputSize.GetHeight(), 180);
  EXPECT_EQ(copy.MaskSize.GetWidth(), 4);
  EXPECT_EQ(copy.MaskSize.GetHeight(), 7);
  EXPECT_EQ(copy.IntegerSize.GetWidth(), 100000);
  EXPECT_EQ(copy.RectRegion.GetLeft(), 3);
  EXPECT_EQ(copy.RectRegion.GetHeight(), 17);
  EXPECT_TRUE(copy.OptionalRectRegion.GetEnabled());
  EXPECT_EQ(copy.OptionalRectRegion.GetTop(), 44);
  EXPECT_EQ(copy.VideoFormatSettings.GetFormat(), vfGrayScale);
  EXPECT_TRUE(copy.VideoFormatSettings.GetAutoSelect());
  EXPECT_EQ(SaveFormText(copy), text);
}

TEST_F(PropertyForms, ReadingAppliesTheSettersLimitsAndRejectsValuesOutOfTheirWidth) {
  std::unique_ptr<TComponent> loaded = LoadFormText(R"({"class": "TPropertyHost",
      "properties": {"MaskSize": {"Width": 0}, "IntegerSize": {"Height": -8},
                     "OptionalVideoFormat": {"VideoFormat": "vfrgb565"}}})");
  auto& host = dynamic_cast<TPropertyHost&>(*loaded);
  EXPECT_EQ(host.MaskSize.GetWidth(), 1);
  EXPECT_EQ(host.IntegerSize.GetHeight(), 1);
  EXPECT_EQ(host.OptionalVideoFormat.GetVideoFormat(), vfRGB565);

  EXPECT_THROW(LoadFormText(R"({"class": "TPropertyHost",
      "properties": {"Point": {"X": 65536}}})"),
               EFormFileError);
  EXPECT_THROW(LoadFormText(R"({"class": "TPropertyHost",
      "properties": {"VideoSize": {"Width": -1}}})"),
               EFormFileError);
  EXPECT_THROW(LoadFormText(R"({"class": "TPropertyHost",
      "properties": {"AspectRatio": {"Mode": "arStretch"}}})"),
               EFormFileError);
}

}  // namespace
}  // namespace qx
