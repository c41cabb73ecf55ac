// Classes that exercise every kind of published property, shared by the host
// suites. Each keeps its values in plain fields so that tests can check what
// the framework did through an independent path.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/Collection.h"
#include "host/Component.h"
#include "host/EnumNames.h"
#include "host/Set.h"

namespace qx::test {

enum TTestMode : std::uint8_t { tmOff, tmSlow, tmFast };
enum TTestOption : std::uint8_t { toBold, toItalic, toUnderline };
using TTestOptions = TSet<TTestOption>;

}  // namespace qx::test

template <>
struct qx::TEnumNames<qx::test::TTestMode> {
  static constexpr std::string_view TypeName = "TTestMode";
  static constexpr TEnumValueName<test::TTestMode> Values[] = {
      {test::tmOff, "tmOff"}, {test::tmSlow, "tmSlow"}, {test::tmFast, "tmFast"}};
};

template <>
struct qx::TEnumNames<qx::test::TTestOption> {
  static constexpr std::string_view TypeName = "TTestOption";
  static constexpr TEnumValueName<test::TTestOption> Values[] = {
      {test::toBold, "toBold"}, {test::toItalic, "toItalic"}, {test::toUnderline, "toUnderline"}};
};

namespace qx::test {

// Log shared by the test classes: constructions, destructions, Loaded calls.
std::vector<std::string>& EventLog();

// A size with 16-bit terms; assignable from another TTestSize.
class TTestSize : public TPersistent {
  QX_CLASS(TTestSize, TPersistent)

 public:
  std::uint16_t GetWidth() const { return FWidth; }
  void SetWidth(std::uint16_t value) { FWidth = value; }
  std::uint16_t GetHeight() const { return FHeight; }
  void SetHeight(std::uint16_t value) { FHeight = value; }

  void Assign(const TPersistent& source) override;

  std::uint16_t FWidth = 50;
  std::uint16_t FHeight = 50;
};

// A size whose width defaults to 240 and that adds a depth.
class TTestWideSize : public TTestSize {
  QX_CLASS(TTestWideSize, TTestSize)

 public:
  TTestWideSize() { FWidth = 240; }
  std::int32_t GetDepth() const { return FDepth; }
  void SetDepth(std::int32_t value) { FDepth = value; }

  std::int32_t FDepth = 0;
};

// A point that knows how to copy itself into a TTestSize (through AssignTo),
// while a TTestSize cannot be copied into a point.
class TTestPoint : public TPersistent {
  QX_CLASS(TTestPoint, TPersistent)

 public:
  std::int16_t GetX() const { return FX; }
  void SetX(std::int16_t value) { FX = value; }
  std::int16_t GetY() const { return FY; }
  void SetY(std::int16_t value) { FY = value; }

  std::int16_t FX = 0;
  std::int16_t FY = 0;

 protected:
  void AssignTo(TPersistent& destination) const override;
};

// Closed-caption settings: one Boolean that older forms stored elsewhere.
class TTestCaptions : public TPersistent {
  QX_CLASS(TTestCaptions, TPersistent)

 public:
  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool value) { FEnabled = value; }
  bool FEnabled = false;
};

// A preview whose older forms stored an obsolete "FullScreen".
class TTestPreview : public TPersistent {
  QX_CLASS(TTestPreview, TPersistent)

 public:
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool value) { FVisible = value; }
  bool FVisible = true;

 protected:
  bool ReadOlderProperty(const TStoredValue& value) override;
};

class TTestItem : public TCollectionItem {
  QX_CLASS(TTestItem, TCollectionItem)

 public:
  const std::string& GetCaption() const { return FCaption; }
  void SetCaption(const std::string& value) { FCaption = value; }
  double GetWeight() const { return FWeight; }
  void SetWeight(double value) { FWeight = value; }
  TTestSize* GetSize() const { return &FSize; }

  void Assign(const TPersistent& source) override;

  std::string FCaption;
  double FWeight = 1.0;
  mutable TTestSize FSize;
};

using TTestCollection = TTypedCollection<TTestItem>;

// A component with a property of every kind.
class TTestWidget : public TComponent {
  QX_CLASS(TTestWidget, TComponent)

 public:
  explicit TTestWidget(TComponent* owner);
  ~TTestWidget() override;

  static int LiveCount();

  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool value);
  std::int8_t GetTiny() const { return FTiny; }
  void SetTiny(std::int8_t value) { FTiny = value; }
  std::int32_t GetCount() const { return FCount; }
  void SetCount(std::int32_t value) { FCount = value; }
  std::uint64_t GetBig() const { return FBig; }
  void SetBig(std::uint64_t value) { FBig = value; }
  double GetRatio() const { return FRatio; }
  void SetRatio(double value) { FRatio = value; }
  float GetScale() const { return FScale; }
  void SetScale(float value) { FScale = value; }
  const std::string& GetCaption() const { return FCaption; }
  void SetCaption(const std::string& value) { FCaption = value; }
  TTestMode GetMode() const { return FMode; }
  void SetMode(TTestMode value) { FMode = value; }
  TTestOptions GetOptions() const { return FOptions; }
  void SetOptions(TTestOptions value) { FOptions = value; }
  TTestSize* GetSize() const { return &FSize; }
  TTestCaptions* GetCaptions() const { return &FCaptions; }
  TTestPreview* GetPreview() const { return &FPreview; }
  TTestCollection* GetItems() const { return &FItems; }
  TTestWidget* GetBuddy() const { return FBuddy.Get(); }
  void SetBuddy(TTestWidget* value) { FBuddy.Set(value); }
  const std::string& GetNote() const { return FNote; }
  void SetNote(const std::string& value) { FNote = value; }
  bool IsNoteStored() const { return FNote != "transient"; }

  bool FEnabled = true;
  std::int8_t FTiny = 0;
  std::int32_t FCount = 0;
  std::uint64_t FBig = 0;
  double FRatio = 1.5;
  float FScale = 0;
  std::string FCaption;
  TTestMode FMode = tmSlow;
  TTestOptions FOptions{toBold};
  mutable TTestSize FSize;
  mutable TTestCaptions FCaptions;
  mutable TTestPreview FPreview;
  mutable TTestCollection FItems{this};
  TComponentLink<TTestWidget> FBuddy;
  std::string FNote;

  // What the framework showed the widget.
  bool FLoadingWhenEnabledSet = false;
  int FLoadedCalls = 0;
  bool FLoadingInLoaded = true;
  std::vector<std::pair<std::string, TOperation>> FNotifications;

 protected:
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  bool ReadOlderProperty(const TStoredValue& value) override;
};

// A form: the root of form files in the tests.
class TTestForm : public TComponent {
  QX_CLASS(TTestForm, TComponent)

 public:
  explicit TTestForm(TComponent* owner = nullptr) : TComponent(owner) {}

  const std::string& GetTitle() const { return FTitle; }
  void SetTitle(const std::string& value) { FTitle = value; }
  TTestWidget* GetMain() const { return FMain.Get(); }
  void SetMain(TTestWidget* value) { FMain.Set(value); }

  std::string FTitle;
  TComponentLink<TTestWidget> FMain;

 protected:
  void Loaded() override;
};

// A component class that is never registered.
class TUnregisteredWidget : public TComponent {
  QX_CLASS(TUnregisteredWidget, TComponent)

 public:
  using TComponent::TComponent;
};

// A component whose constructor fails, for form files that create it.
class TFailingWidget : public TComponent {
  QX_CLASS(TFailingWidget, TComponent)

 public:
  explicit TFailingWidget(TComponent* owner);
};

// Registers the test component classes (once).
void RegisterTestClasses();

}  // namespace qx::test
