// Classes that exercise every kind of published property, shared by the host
// suites. Each keeps its values in plain fields so that tests can check what
// the framework did through an independent path.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/Collection.h"
#include "host/Component.h"
#include "host/EnumNames.h"
#include "host/Identifiers.h"
#include "host/Properties.h"
#include "host/Set.h"
#include "host/StoredValue.h"

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
inline std::vector<std::string>& EventLog() {
  static std::vector<std::string> log;
  return log;
}

// A size with 16-bit terms; assignable from another TTestSize.
class TTestSize : public TPersistent {
  QX_CLASS(TTestSize, TPersistent)

 public:
  std::uint16_t GetWidth() const { return FWidth; }
  void SetWidth(std::uint16_t value) { FWidth = value; }
  std::uint16_t GetHeight() const { return FHeight; }
  void SetHeight(std::uint16_t value) { FHeight = value; }

  void Assign(const TPersistent& source) override {
    const auto* size = dynamic_cast<const TTestSize*>(&source);
    if (!size) return inherited::Assign(source);
    FWidth = size->FWidth;
    FHeight = size->FHeight;
  }

  std::uint16_t FWidth = 50;
  std::uint16_t FHeight = 50;
};

inline const TClassInfo& TTestSize::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TTestSize>({
      Property<std::uint16_t>("Width", &TTestSize::GetWidth, &TTestSize::SetWidth, 50),
      Property<std::uint16_t>("Height", &TTestSize::GetHeight, &TTestSize::SetHeight, 50),
  });
  return info;
}

// A size whose width defaults to 240.
class TTestWideSize : public TTestSize {
  QX_CLASS(TTestWideSize, TTestSize)

 public:
  TTestWideSize() { FWidth = 240; }
};

inline const TClassInfo& TTestWideSize::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TTestWideSize>({
      Property<std::uint16_t>("Width", &TTestSize::GetWidth, &TTestSize::SetWidth, 240),
  });
  return info;
}

class TTestItem : public TCollectionItem {
  QX_CLASS(TTestItem, TCollectionItem)

 public:
  const std::string& GetCaption() const { return FCaption; }
  void SetCaption(const std::string& value) { FCaption = value; }
  TTestSize* GetSize() const { return &FSize; }

  void Assign(const TPersistent& source) override {
    const auto* item = dynamic_cast<const TTestItem*>(&source);
    if (!item) return inherited::Assign(source);
    FCaption = item->FCaption;
    FSize.Assign(item->FSize);
  }

  std::string FCaption;
  mutable TTestSize FSize;
};

inline const TClassInfo& TTestItem::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TTestItem>({
      Property<std::string>("Caption", &TTestItem::GetCaption, &TTestItem::SetCaption, ""),
      ObjectProperty("Size", &TTestItem::GetSize),
  });
  return info;
}

using TTestCollection = TTypedCollection<TTestItem>;

// A component with a property of every kind.
class TTestWidget : public TComponent {
  QX_CLASS(TTestWidget, TComponent)

 public:
  explicit TTestWidget(TComponent* owner) : TComponent(owner) {
    EventLog().push_back("create widget");
  }
  ~TTestWidget() override {
    EventLog().push_back("destroy " + GetName() + (IsDestroying() ? " (destroying)" : ""));
  }

  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool value) {
    FEnabled = value;
    FLoadingWhenEnabledSet = IsLoading();
  }
  std::int8_t GetTiny() const { return FTiny; }
  void SetTiny(std::int8_t value) { FTiny = value; }
  double GetRatio() const { return FRatio; }
  void SetRatio(double value) { FRatio = value; }
  float GetScale() const { return FScale; }
  void SetScale(float value) { FScale = value; }
  TTestMode GetMode() const { return FMode; }
  void SetMode(TTestMode value) { FMode = value; }
  TTestOptions GetOptions() const { return FOptions; }
  void SetOptions(TTestOptions value) { FOptions = value; }
  TTestSize* GetSize() const { return &FSize; }
  TTestCollection* GetItems() const { return &FItems; }
  TTestWidget* GetBuddy() const { return FBuddy.Get(); }
  void SetBuddy(TTestWidget* value) { FBuddy.Set(value); }
  const std::string& GetNote() const { return FNote; }
  void SetNote(const std::string& value) { FNote = value; }
  bool IsNoteStored() const { return FNote != "transient"; }

  bool FEnabled = true;
  std::int8_t FTiny = 0;
  double FRatio = 1.5;
  float FScale = 0;
  TTestMode FMode = tmSlow;
  TTestOptions FOptions{toBold};
  mutable TTestSize FSize;
  mutable TTestCollection FItems{this};
  TComponentLink<TTestWidget> FBuddy;
  std::string FNote;

  // What the framework showed the widget.
  bool FLoadingWhenEnabledSet = false;
  int FLoadedCalls = 0;
  bool FLoadingInLoaded = true;
  std::vector<std::pair<std::string, TOperation>> FNotifications;

 protected:
  void Loaded() override {
    ++FLoadedCalls;
    FLoadingInLoaded = IsLoading();
    EventLog().push_back("loaded " + GetName());
  }
  void Notification(TComponent* component, TOperation operation) override {
    FNotifications.emplace_back(component->GetName(), operation);
  }
  // Older forms stored the size's terms on the widget itself.
  bool ReadOlderProperty(const TStoredValue& value) override {
    if (!SameText(value.GetName(), "Width") && !SameText(value.GetName(), "Height")) {
      return inherited::ReadOlderProperty(value);
    }
    value.ApplyTo(FSize, value.GetName());
    return true;
  }
};

inline const TClassInfo& TTestWidget::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TTestWidget>({
      Property<bool>("Enabled", &TTestWidget::GetEnabled, &TTestWidget::SetEnabled, true),
      Property<std::int8_t>("Tiny", &TTestWidget::GetTiny, &TTestWidget::SetTiny, 0),
      Property<double>("Ratio", &TTestWidget::GetRatio, &TTestWidget::SetRatio, 1.5),
      // No default: always stored.
      Property<float>("Scale", &TTestWidget::GetScale, &TTestWidget::SetScale),
      Property<TTestMode>("Mode", &TTestWidget::GetMode, &TTestWidget::SetMode, tmSlow),
      Property<TTestOptions>("Options", &TTestWidget::GetOptions, &TTestWidget::SetOptions,
                             TTestOptions{toBold}),
      ObjectProperty("Size", &TTestWidget::GetSize),
      CollectionProperty("Items", &TTestWidget::GetItems),
      ComponentProperty("Buddy", &TTestWidget::GetBuddy, &TTestWidget::SetBuddy),
      Property<std::string>("Note", &TTestWidget::GetNote, &TTestWidget::SetNote, "")
          .StoredWhen(&TTestWidget::IsNoteStored),
  });
  return info;
}

// A widget named `name`, owned by `owner`.
inline TTestWidget* NewWidget(TComponent* owner, const std::string& name) {
  auto* widget = new TTestWidget(owner);
  widget->SetName(name);
  return widget;
}

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
  void Loaded() override { EventLog().push_back("loaded " + GetName()); }
};

inline const TClassInfo& TTestForm::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TTestForm>({
      Property<std::string>("Title", &TTestForm::GetTitle, &TTestForm::SetTitle, ""),
      ComponentProperty("Main", &TTestForm::GetMain, &TTestForm::SetMain),
  });
  return info;
}

// A component whose constructor fails, for form files that create it.
class TFailingWidget : public TComponent {
  QX_CLASS(TFailingWidget, TComponent)

 public:
  explicit TFailingWidget(TComponent* owner) : TComponent(owner) {
    throw std::runtime_error("no device for TFailingWidget");
  }
};

inline const TClassInfo& TFailingWidget::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TFailingWidget>();
  return info;
}

// Registers the test component classes (once).
inline void RegisterTestClasses() {
  RegisterClass<TTestWidget>();
  RegisterClass<TTestForm>();
  RegisterClass<TFailingWidget>();
}

}  // namespace qx::test
