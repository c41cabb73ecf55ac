#include "TestClasses.h"

#include <stdexcept>

#include "host/Identifiers.h"
#include "host/Properties.h"
#include "host/StoredValue.h"

namespace qx::test {
namespace {

int liveWidgets = 0;

}  // namespace

std::vector<std::string>& EventLog() {
  static std::vector<std::string> log;
  return log;
}

const TClassInfo& TTestSize::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TTestSize>({
      Property<std::uint16_t>("Width", &TTestSize::GetWidth, &TTestSize::SetWidth, 50),
      Property<std::uint16_t>("Height", &TTestSize::GetHeight, &TTestSize::SetHeight, 50),
  });
  return info;
}

void TTestSize::Assign(const TPersistent& source) {
  if (const auto* size = dynamic_cast<const TTestSize*>(&source)) {
    FWidth = size->FWidth;
    FHeight = size->FHeight;
    return;
  }
  inherited::Assign(source);
}

const TClassInfo& TTestWideSize::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TTestWideSize>({
      Property<std::uint16_t>("Width", &TTestSize::GetWidth, &TTestSize::SetWidth, 240),
      Property<std::int32_t>("Depth", &TTestWideSize::GetDepth, &TTestWideSize::SetDepth, 0),
  });
  return info;
}

const TClassInfo& TTestPoint::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TTestPoint>({
      Property<std::int16_t>("X", &TTestPoint::GetX, &TTestPoint::SetX, 0),
      Property<std::int16_t>("Y", &TTestPoint::GetY, &TTestPoint::SetY, 0),
  });
  return info;
}

void TTestPoint::AssignTo(TPersistent& destination) const {
  if (auto* size = dynamic_cast<TTestSize*>(&destination)) {
    size->FWidth = static_cast<std::uint16_t>(FX);
    size->FHeight = static_cast<std::uint16_t>(FY);
    return;
  }
  inherited::AssignTo(destination);
}

const TClassInfo& TTestCaptions::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TTestCaptions>({
      Property<bool>("Enabled", &TTestCaptions::GetEnabled, &TTestCaptions::SetEnabled, false),
  });
  return info;
}

const TClassInfo& TTestPreview::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TTestPreview>({
      Property<bool>("Visible", &TTestPreview::GetVisible, &TTestPreview::SetVisible, true),
  });
  return info;
}

bool TTestPreview::ReadOlderProperty(const TStoredValue& value) {
  if (SameText(value.GetName(), "FullScreen")) {
    value.As<bool>();
    return true;
  }
  return inherited::ReadOlderProperty(value);
}

const TClassInfo& TTestItem::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TTestItem>({
      Property<std::string>("Caption", &TTestItem::GetCaption, &TTestItem::SetCaption, ""),
      Property<double>("Weight", &TTestItem::GetWeight, &TTestItem::SetWeight, 1.0),
      ObjectProperty("Size", &TTestItem::GetSize),
  });
  return info;
}

void TTestItem::Assign(const TPersistent& source) {
  if (const auto* item = dynamic_cast<const TTestItem*>(&source)) {
    FCaption = item->FCaption;
    FWeight = item->FWeight;
    FSize.Assign(item->FSize);
    return;
  }
  inherited::Assign(source);
}

const TClassInfo& TTestWidget::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TTestWidget>({
      Property<bool>("Enabled", &TTestWidget::GetEnabled, &TTestWidget::SetEnabled, true),
      Property<std::int8_t>("Tiny", &TTestWidget::GetTiny, &TTestWidget::SetTiny, 0),
      Property<std::int32_t>("Count", &TTestWidget::GetCount, &TTestWidget::SetCount, 0),
      Property<std::uint64_t>("Big", &TTestWidget::GetBig, &TTestWidget::SetBig, 0),
      Property<double>("Ratio", &TTestWidget::GetRatio, &TTestWidget::SetRatio, 1.5),
      // No default: always stored.
      Property<float>("Scale", &TTestWidget::GetScale, &TTestWidget::SetScale),
      Property<std::string>("Caption", &TTestWidget::GetCaption, &TTestWidget::SetCaption, ""),
      Property<TTestMode>("Mode", &TTestWidget::GetMode, &TTestWidget::SetMode, tmSlow),
      Property<TTestOptions>("Options", &TTestWidget::GetOptions, &TTestWidget::SetOptions,
                             TTestOptions{toBold}),
      ObjectProperty("Size", &TTestWidget::GetSize),
      ObjectProperty("Captions", &TTestWidget::GetCaptions),
      ObjectProperty("Preview", &TTestWidget::GetPreview),
      CollectionProperty("Items", &TTestWidget::GetItems),
      ComponentProperty("Buddy", &TTestWidget::GetBuddy, &TTestWidget::SetBuddy),
      Property<std::string>("Note", &TTestWidget::GetNote, &TTestWidget::SetNote, "")
          .StoredWhen(&TTestWidget::IsNoteStored),
  });
  return info;
}

TTestWidget::TTestWidget(TComponent* owner) : TComponent(owner) {
  ++liveWidgets;
  EventLog().push_back("create widget");
}

TTestWidget::~TTestWidget() {
  --liveWidgets;
  EventLog().push_back("destroy " + GetName() + (IsDestroying() ? " (destroying)" : ""));
}

int TTestWidget::LiveCount() { return liveWidgets; }

void TTestWidget::SetEnabled(bool value) {
  FEnabled = value;
  FLoadingWhenEnabledSet = IsLoading();
}

void TTestWidget::Loaded() {
  ++FLoadedCalls;
  FLoadingInLoaded = IsLoading();
  EventLog().push_back("loaded " + GetName());
}

void TTestWidget::Notification(TComponent* component, TOperation operation) {
  FNotifications.emplace_back(component->GetName(), operation);
}

bool TTestWidget::ReadOlderProperty(const TStoredValue& value) {
  if (SameText(value.GetName(), "CaptionsEnabled")) {
    value.ApplyTo(FCaptions, "Enabled");
    return true;
  }
  if (SameText(value.GetName(), "Width") || SameText(value.GetName(), "Height")) {
    value.ApplyTo(FSize, value.GetName());
    return true;
  }
  return inherited::ReadOlderProperty(value);
}

const TClassInfo& TTestForm::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TTestForm>({
      Property<std::string>("Title", &TTestForm::GetTitle, &TTestForm::SetTitle, ""),
      ComponentProperty("Main", &TTestForm::GetMain, &TTestForm::SetMain),
  });
  return info;
}

void TTestForm::Loaded() { EventLog().push_back("loaded " + GetName()); }

const TClassInfo& TUnregisteredWidget::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TUnregisteredWidget>();
  return info;
}

const TClassInfo& TFailingWidget::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TFailingWidget>();
  return info;
}

TFailingWidget::TFailingWidget(TComponent* owner) : TComponent(owner) {
  throw std::runtime_error("no device for TFailingWidget");
}

void RegisterTestClasses() {
  RegisterClass<TTestWidget>();
  RegisterClass<TTestForm>();
  RegisterClass<TFailingWidget>();
}

}  // namespace qx::test
