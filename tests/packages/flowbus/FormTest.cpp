// Connections stored in form files by component and pin name.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "TestNodes.h"
#include "host/FormFile.h"
#include "host/Properties.h"
#include "packages/flowbus/FBPinProperty.h"
#include "packages/flowbus/FBValuePins.h"

namespace qx::test {
namespace {

class TFormRoot : public TComponent {
  QX_CLASS(TFormRoot, TComponent)

 public:
  using TComponent::TComponent;
};

const TClassInfo& TFormRoot::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TFormRoot>();
  return info;
}

// A logging node as form files hold it: its pins are published properties.
class TFormNode : public TNode {
  QX_CLASS(TFormNode, TComponent)

 public:
  explicit TFormNode(TComponent* owner) : TNode(owner) {}
  TFBSourcePin* GetOutputPin() const { return FOutput; }
  TFBBoolStatePin* GetStatePin() const { return FState; }
  TFBSinkPin* GetInputPin() const { return FInput; }

 private:
  TFBSourcePin* FOutput = &AddSource("OutputPin", {StreamA});
  TFBBoolStatePin* FState = new TFBBoolStatePin(this, "StatePin", GetLock(), true);
  TFBSinkPin* FInput = &AddSink("InputPin", {StreamA});
};

const TClassInfo& TFormNode::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TFormNode>({
      PinProperty("OutputPin", &TFormNode::GetOutputPin),
      PinProperty("StatePin", &TFormNode::GetStatePin),
      PinProperty("InputPin", &TFormNode::GetInputPin),
  });
  return info;
}

struct FormFile : ::testing::Test {
  void SetUp() override {
    RegisterClass<TFormRoot>();
    RegisterClass<TFormNode>();
  }
};

TEST_F(FormFile, StoresConnectionsAtTheSinkAndRestoresThem) {
  std::string text;
  {
    TFormRoot form(nullptr);
    form.SetName("Studio");
    auto* generator = new TFormNode(&form);
    generator->SetName("Gen1");
    auto* display = new TFormNode(&form);
    display->SetName("Display1");
    display->GetInputPin()->Connect(generator->GetOutputPin());
    text = SaveFormText(form);
  }
  const auto document = nlohmann::json::parse(text);
  const auto& components = document["components"];
  ASSERT_EQ(components.size(), 2u);
  EXPECT_FALSE(components[0].contains("properties")) << "unconnected and source pins store nothing";
  EXPECT_EQ(components[1]["properties"], nlohmann::json({{"InputPin", "Gen1.OutputPin"}}));

  std::unique_ptr<TComponent> form = LoadFormText(text);
  auto* generator = dynamic_cast<TFormNode*>(form->FindComponent("Gen1"));
  auto* display = dynamic_cast<TFormNode*>(form->FindComponent("Display1"));
  ASSERT_TRUE(generator && display);
  EXPECT_EQ(display->GetInputPin()->GetSource(), generator->GetOutputPin());
  generator->GetOutputPin()->Notify(Number(4));
  EXPECT_EQ(display->Numbers("InputPin"), std::vector<int>{4});
  // Saved again, the loaded form reads the same.
  EXPECT_EQ(SaveFormText(*form), text);
}

// A reference the sink cannot take fails the load instead of leaving it unconnected.
TEST_F(FormFile, ARefusedConnectionIsAnErrorOfTheFile) {
  auto form = [](const std::string& inputPin) {
    return R"({"class": "TFormRoot", "name": "Studio", "components": [
      {"class": "TFormNode", "name": "Gen1"},
      {"class": "TFormNode", "name": "Display1", "properties": {"InputPin": ")" +
           inputPin + R"("}}]})";
  };
  // Not a source pin; a pin of another stream; no such pin.
  for (const char* reference : {"Gen1", "Gen1.StatePin", "Gen1.NoSuchPin"}) {
    EXPECT_THROW(LoadFormText(form(reference)), EFormFileError) << reference;
  }
  EXPECT_NO_THROW(LoadFormText(form("Gen1.OutputPin")));
}

}  // namespace
}  // namespace qx::test
