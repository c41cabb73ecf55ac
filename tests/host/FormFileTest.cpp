// JSON form files: writing, reading, older names and bad input.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>

#include "TestClasses.h"
#include "host/Exceptions.h"
#include "host/FormFile.h"

namespace qx::test {
namespace {

class FormFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterTestClasses();
    EventLog().clear();
    FLiveAtStart = TTestWidget::LiveCount();
  }
  void TearDown() override { EXPECT_EQ(TTestWidget::LiveCount(), FLiveAtStart); }

  int FLiveAtStart = 0;
};

TTestWidget* AddWidget(TComponent& owner, const std::string& name) {
  auto* widget = new TTestWidget(&owner);
  widget->SetName(name);
  return widget;
}

// Reading `text` must fail with exactly this path, and a reason containing `reasonPart`.
void ExpectFormError(const std::string& text, const std::string& path,
                     const std::string& reasonPart) {
  try {
    LoadFormText(text, "bad.json");
    ADD_FAILURE() << "no error for " << text;
  } catch (const EFormFileError& error) {
    EXPECT_EQ(error.GetFileName(), "bad.json");
    EXPECT_EQ(error.GetPath(), path) << error.what();
    EXPECT_NE(error.GetReason().find(reasonPart), std::string::npos) << error.what();
    const std::string expectedStart = path.empty() ? "bad.json: " : "bad.json: " + path + ": ";
    EXPECT_EQ(std::string(error.what()).rfind(expectedStart, 0), 0u) << error.what();
  }
}

TEST_F(FormFileTest, DefaultsAreNotWritten) {
  TTestForm form;
  form.SetName("Form1");
  TTestWidget* widget = AddWidget(form, "Widget1");
  widget->FScale = 0.5f;  // Scale has no default: it is always written
  const nlohmann::json written = nlohmann::json::parse(SaveFormText(form));
  const nlohmann::json expected = {
      {"class", "TTestForm"},
      {"name", "Form1"},
      {"components",
       {{{"class", "TTestWidget"}, {"name", "Widget1"}, {"properties", {{"Scale", 0.5}}}}}}};
  EXPECT_EQ(written, expected);
}

TEST_F(FormFileTest, ValuesAreWrittenInTheirDocumentedForm) {
  TTestForm form;
  form.SetName("Form1");
  form.SetTitle("Capture");
  TTestWidget* widget = AddWidget(form, "Widget1");
  TTestWidget* buddy = AddWidget(form, "Buddy1");
  widget->FEnabled = false;
  widget->FTiny = -5;
  widget->FBig = 1ull << 40;
  widget->FRatio = std::numeric_limits<double>::infinity();
  widget->FMode = tmFast;
  widget->FOptions = {toUnderline, toBold};
  widget->FSize.FWidth = 640;
  widget->FCaptions.FEnabled = true;
  widget->FItems.Add().FCaption = "one";
  widget->FItems.Add();
  widget->SetBuddy(buddy);
  form.SetMain(widget);

  const nlohmann::json written = nlohmann::json::parse(SaveFormText(form));
  EXPECT_EQ(written["properties"], (nlohmann::json{{"Title", "Capture"}, {"Main", "Widget1"}}));
  const nlohmann::json& properties = written["components"][0]["properties"];
  const nlohmann::json expected = {{"Enabled", false},
                                   {"Tiny", -5},
                                   {"Big", 1099511627776ull},
                                   {"Ratio", "Infinity"},
                                   {"Scale", 0.0},
                                   {"Mode", "tmFast"},
                                   {"Options", {"toBold", "toUnderline"}},
                                   {"Size", {{"Width", 640}}},
                                   {"Captions", {{"Enabled", true}}},
                                   {"Items", {{{"Caption", "one"}}, nlohmann::json::object()}},
                                   {"Buddy", "Buddy1"}};
  EXPECT_EQ(properties, expected);
}

TEST_F(FormFileTest, RoundTripRestoresEveryKindOfProperty) {
  TTestForm form;
  form.SetName("RoundTripForm");
  form.SetTitle("Title with \"quotes\" and ünïcode");
  TTestWidget* widget = AddWidget(form, "Widget1");
  TTestWidget* other = AddWidget(form, "Other");
  widget->FEnabled = false;
  widget->FTiny = 127;
  widget->FCount = -2147483647 - 1;
  widget->FBig = std::numeric_limits<std::uint64_t>::max();
  widget->FRatio = 1.0 / 3.0;
  widget->FScale = std::numeric_limits<float>::quiet_NaN();
  widget->FCaption = "line\nbreak";
  widget->FMode = tmOff;
  widget->FOptions = {};
  widget->FSize.FWidth = 65535;
  widget->FSize.FHeight = 0;
  widget->FCaptions.FEnabled = true;
  widget->FPreview.FVisible = false;
  TTestItem& first = widget->FItems.Add();
  first.FCaption = "first";
  first.FSize.FHeight = 3;  // a sub-object inside a collection item
  widget->FItems.Add().FWeight = -0.5;
  widget->FNote = "kept";
  widget->SetBuddy(other);
  other->SetBuddy(other);  // a component may refer to itself
  form.SetMain(other);

  const std::string text = SaveFormText(form);
  std::unique_ptr<TComponent> loaded = LoadFormText(text);
  auto* form2 = dynamic_cast<TTestForm*>(loaded.get());
  ASSERT_NE(form2, nullptr);
  EXPECT_EQ(form2->GetName(), "RoundTripForm");
  EXPECT_EQ(form2->FTitle, form.FTitle);
  ASSERT_EQ(form2->GetComponentCount(), 2);
  auto* w = dynamic_cast<TTestWidget*>(form2->FindComponent("Widget1"));
  auto* o = dynamic_cast<TTestWidget*>(form2->FindComponent("Other"));
  ASSERT_TRUE(w && o);
  EXPECT_FALSE(w->FEnabled);
  EXPECT_EQ(w->FTiny, 127);
  EXPECT_EQ(w->FCount, -2147483647 - 1);
  EXPECT_EQ(w->FBig, std::numeric_limits<std::uint64_t>::max());
  EXPECT_EQ(w->FRatio, 1.0 / 3.0);  // doubles survive exactly
  EXPECT_TRUE(std::isnan(w->FScale));
  EXPECT_EQ(w->FCaption, "line\nbreak");
  EXPECT_EQ(w->FMode, tmOff);
  EXPECT_TRUE(w->FOptions.IsEmpty());
  EXPECT_EQ(w->FSize.FWidth, 65535);
  EXPECT_EQ(w->FSize.FHeight, 0);
  EXPECT_TRUE(w->FCaptions.FEnabled);
  EXPECT_FALSE(w->FPreview.FVisible);
  ASSERT_EQ(w->FItems.GetCount(), 2);
  EXPECT_EQ(w->FItems.GetItem(0).FCaption, "first");
  EXPECT_EQ(w->FItems.GetItem(0).FSize.FHeight, 3);
  EXPECT_EQ(w->FItems.GetItem(1).FWeight, -0.5);
  EXPECT_EQ(w->FNote, "kept");
  EXPECT_EQ(w->GetBuddy(), o);
  EXPECT_EQ(o->GetBuddy(), o);
  EXPECT_EQ(form2->GetMain(), o);
  // Written again, the loaded form gives the same text.
  EXPECT_EQ(SaveFormText(*form2), text);
}

TEST_F(FormFileTest, PropertyNotStoredIsNotWritten) {
  TTestForm form;
  AddWidget(form, "W")->FNote = "transient";
  const nlohmann::json written = nlohmann::json::parse(SaveFormText(form));
  EXPECT_FALSE(written["components"][0]["properties"].contains("Note"));
}

TEST_F(FormFileTest, SettersSeeTheLoadingStateAndLoadedRunsOnceInFileOrderRootLast) {
  const std::string text = R"({
    "class": "TTestForm", "name": "F",
    "components": [
      {"class": "TTestWidget", "name": "Second", "properties": {"Enabled": false, "Buddy": "First"}},
      {"class": "TTestWidget", "name": "First"}
    ]})";
  std::unique_ptr<TComponent> form = LoadFormText(text);
  auto* second = dynamic_cast<TTestWidget*>(form->FindComponent("Second"));
  auto* first = dynamic_cast<TTestWidget*>(form->FindComponent("First"));
  ASSERT_TRUE(second && first);
  EXPECT_TRUE(second->FLoadingWhenEnabledSet);
  EXPECT_FALSE(second->IsLoading());
  EXPECT_FALSE(form->IsLoading());
  // The reference to a component stored later in the file is resolved.
  EXPECT_EQ(second->GetBuddy(), first);
  EXPECT_EQ(second->FLoadedCalls, 1);
  EXPECT_EQ(first->FLoadedCalls, 1);
  EXPECT_FALSE(second->FLoadingInLoaded);
  const std::vector<std::string> expected = {"create widget", "create widget", "loaded Second",
                                             "loaded First", "loaded F"};
  EXPECT_EQ(EventLog(), expected);
}

TEST_F(FormFileTest, ReferencesToTheFormAndToOtherForms) {
  auto other = std::make_unique<TTestForm>();
  other->SetName("OtherForm");
  TTestWidget* remote = AddWidget(*other, "Remote");
  AddWidget(*remote, "Inner");  // owned by a component, two levels down

  TTestForm form;
  form.SetName("HostForm");
  TTestWidget* local = AddWidget(form, "Local");
  TTestWidget* nested = AddWidget(*local, "Nested");
  local->SetBuddy(remote);
  form.SetMain(dynamic_cast<TTestWidget*>(remote->FindComponent("Inner")));
  nested->SetBuddy(local);  // not written: only the form's own components are

  const nlohmann::json written = nlohmann::json::parse(SaveFormText(form));
  EXPECT_EQ(written["properties"]["Main"], "OtherForm.Remote.Inner");
  EXPECT_EQ(written["components"][0]["properties"]["Buddy"], "OtherForm.Remote");

  form.SetMain(nested);
  EXPECT_EQ(nlohmann::json::parse(SaveFormText(form))["properties"]["Main"], "Local.Nested");

  std::unique_ptr<TComponent> loaded = LoadFormText(R"({"class": "TTestForm", "name": "Copy",
      "components": [{"class": "TTestWidget", "name": "W",
                      "properties": {"Buddy": "OtherForm.Remote"}},
                     {"class": "TTestWidget", "name": "V", "properties": {"Buddy": "W"}}],
      "properties": {"Main": "OtherForm.Remote.Inner"}})");
  auto* copy = dynamic_cast<TTestForm*>(loaded.get());
  EXPECT_EQ(copy->GetMain(), remote->FindComponent("Inner"));
  EXPECT_EQ(dynamic_cast<TTestWidget*>(copy->FindComponent("W"))->GetBuddy(), remote);
}

TEST_F(FormFileTest, ReferenceThatCannotBeNamedIsAWriteError) {
  TTestForm form;
  TTestWidget* widget = AddWidget(form, "W");
  TTestWidget unnamed(nullptr);
  widget->SetBuddy(&unnamed);
  try {
    SaveFormText(form, "out.json");
    FAIL() << "no error";
  } catch (const EFormFileError& error) {
    EXPECT_EQ(error.GetFileName(), "out.json");
    EXPECT_EQ(error.GetPath(), "/components/0/properties/Buddy");
  }
  widget->SetBuddy(nullptr);
}

TEST_F(FormFileTest, UnregisteredComponentClassIsAWriteError) {
  TTestForm form;
  (new TUnregisteredWidget(&form))->SetName("U");
  try {
    SaveFormText(form);
    FAIL() << "no error";
  } catch (const EFormFileError& error) {
    EXPECT_EQ(error.GetPath(), "/components/0/class");
  }
}

TEST_F(FormFileTest, OlderNamesAreTakenThroughTheHook) {
  std::unique_ptr<TComponent> form = LoadFormText(R"({"class": "TTestForm", "components": [
      {"class": "TTestWidget", "name": "W", "properties": {
         "CaptionsEnabled": true, "Width": 720, "Height": 576,
         "Preview": {"FullScreen": true, "Visible": false}}}]})");
  auto* widget = dynamic_cast<TTestWidget*>(form->FindComponent("W"));
  ASSERT_NE(widget, nullptr);
  EXPECT_TRUE(widget->FCaptions.FEnabled);
  EXPECT_EQ(widget->FSize.FWidth, 720);
  EXPECT_EQ(widget->FSize.FHeight, 576);
  EXPECT_FALSE(widget->FPreview.FVisible);

  // Older names are checked like any stored value, at their own path.
  ExpectFormError(R"({"class": "TTestForm", "components": [{"class": "TTestWidget",
      "properties": {"Width": 70000}}]})",
                  "/components/0/properties/Width", "out of the range of uint16");
  ExpectFormError(R"({"class": "TTestForm", "components": [{"class": "TTestWidget",
      "properties": {"Preview": {"FullScreen": "yes"}}}]})",
                  "/components/0/properties/Preview/FullScreen", "expected bool");
  ExpectFormError(R"({"class": "TTestForm", "components": [{"class": "TTestWidget",
      "properties": {"CaptionsEnabled": 1}}]})",
                  "/components/0/properties/CaptionsEnabled", "expected bool");
}

TEST_F(FormFileTest, EachKindOfBadInputNamesItsPath) {
  const std::string widgetAt0 =
      R"({"class": "TTestForm", "components": [{"class": "TTestWidget", )";
  ExpectFormError(R"({"class": "TTestForm", )", "", "malformed JSON");
  ExpectFormError(R"([1, 2])", "", "expected a component object");
  ExpectFormError(R"({"name": "F"})", "/class", "no class");
  ExpectFormError(R"({"class": "TNoSuchForm"})", "/class", "unknown class TNoSuchForm");
  ExpectFormError(R"({"class": "TTestForm", "components": [{"class": "TTestWidget"},
      {"class": "TNoSuchWidget"}]})",
                  "/components/1/class", "unknown class TNoSuchWidget");
  ExpectFormError(R"({"class": "TTestForm", "components": [{"class": "TUnregisteredWidget"}]})",
                  "/components/0/class", "unknown class");
  ExpectFormError(R"({"class": "TTestForm", "components": [{"class": "TFailingWidget"}]})",
                  "/components/0/class", "no device for TFailingWidget");
  ExpectFormError(widgetAt0 + R"("properties": {"Colour": 3}}]})",
                  "/components/0/properties/Colour", "unknown property Colour of TTestWidget");
  ExpectFormError(widgetAt0 + R"("properties": {"Size": {"Width": "wide"}}}]})",
                  "/components/0/properties/Size/Width", "expected uint16, found \"wide\"");
  ExpectFormError(widgetAt0 + R"("properties": {"Size": {"Depth": 1}}}]})",
                  "/components/0/properties/Size/Depth", "unknown property Depth of TTestSize");
  ExpectFormError(widgetAt0 + R"("properties": {"Size": 5}}]})", "/components/0/properties/Size",
                  "expected an object of properties");
  ExpectFormError(widgetAt0 + R"("properties": {"Tiny": 200}}]})", "/components/0/properties/Tiny",
                  "out of the range of int8");
  ExpectFormError(widgetAt0 + R"("properties": {"Mode": "tmWarp"}}]})",
                  "/components/0/properties/Mode", "TTestMode has no value named \"tmWarp\"");
  ExpectFormError(widgetAt0 + R"("properties": {"Options": ["toBold", 1]}}]})",
                  "/components/0/properties/Options", "expected TTestOption value name");
  ExpectFormError(widgetAt0 + R"("properties": {"Items": [{}, {"Weight": "heavy"}]}}]})",
                  "/components/0/properties/Items/1/Weight", "expected double");
  ExpectFormError(widgetAt0 + R"("properties": {"Items": {"Caption": "x"}}}]})",
                  "/components/0/properties/Items", "expected an array of items");
  ExpectFormError(widgetAt0 + R"("name": "W", "properties": {"Buddy": "Nobody"}}]})",
                  "/components/0/properties/Buddy", "no component named Nobody");
  ExpectFormError(widgetAt0 + R"("properties": {"Buddy": 12}}]})", "/components/0/properties/Buddy",
                  "expected a component name");
  ExpectFormError(R"({"class": "TTestForm", "name": "F", "properties": {"Main": "F"}})",
                  "/properties/Main", "is not a TTestWidget");
  ExpectFormError(widgetAt0 + R"("name": "9lives"}]})", "/components/0/name", "not a valid");
  ExpectFormError(R"({"class": "TTestForm", "components": [{"class": "TTestWidget", "name": "A"},
      {"class": "TTestWidget", "name": "a"}]})",
                  "/components/1/name", "two components named a");
  ExpectFormError(widgetAt0 + R"("colour": "red"}]})", "/components/0/colour", "unexpected entry");
  ExpectFormError(widgetAt0 + R"("components": []}]})", "/components/0/components",
                  "unexpected entry");
  ExpectFormError(R"({"class": "TTestForm", "components": {}})", "/components",
                  "expected an array");
  ExpectFormError(R"({"class": "TTestForm", "components": [7]})", "/components/0",
                  "expected a component object");
  ExpectFormError(R"({"class": "TTestForm", "properties": {"a/b~c": 1}})", "/properties/a~1b~0c",
                  "unknown property a/b~c");
}

TEST_F(FormFileTest, FailedLoadLeavesNoComponentBehind) {
  EventLog().clear();
  // The error is found after both widgets were created and filled.
  ExpectFormError(R"({"class": "TTestForm", "name": "Broken", "components": [
      {"class": "TTestWidget", "name": "A"},
      {"class": "TTestWidget", "name": "B", "properties": {"Buddy": "Missing"}}]})",
                  "/components/1/properties/Buddy", "no component named Missing");
  EXPECT_EQ(FindGlobalComponent("Broken"), nullptr);
  for (const std::string& entry : EventLog())
    EXPECT_EQ(entry.rfind("loaded", 0), std::string::npos);
  // TearDown checks that every widget created was destroyed again.
}

TEST_F(FormFileTest, FailedLoadIntoAnOwnerLeavesTheOwnerAsItWas) {
  TTestForm owner;
  AddWidget(owner, "Taken");
  EXPECT_THROW(LoadFormText(R"({"class": "TTestWidget", "name": "Taken"})", owner), EFormFileError);
  EXPECT_EQ(owner.GetComponentCount(), 1);

  TComponent& loaded = LoadFormText(R"({"class": "TTestWidget", "name": "Free"})", owner);
  EXPECT_EQ(loaded.GetOwner(), &owner);
  EXPECT_EQ(owner.FindComponent("Free"), &loaded);
}

TEST_F(FormFileTest, ReadIntoAnExistingFormReusesComponentsByNameAndUndoesCreations) {
  TTestForm form;
  form.SetName("Existing");
  TTestWidget* kept = AddWidget(form, "Kept");

  ReadFormText(form, R"({"class": "TTestForm", "name": "Existing", "properties": {"Title": "T"},
      "components": [{"class": "TTestWidget", "name": "Kept", "properties": {"Count": 3}},
                     {"class": "TTestWidget", "name": "Added"}]})");
  EXPECT_EQ(form.FTitle, "T");
  EXPECT_EQ(kept->FCount, 3);
  EXPECT_EQ(kept->FLoadedCalls, 1);
  ASSERT_EQ(form.GetComponentCount(), 2);
  EXPECT_NE(form.FindComponent("Added"), nullptr);

  // A failed read removes the components it created and clears the loading state.
  EXPECT_THROW(ReadFormText(form, R"({"class": "TTestForm", "components": [
      {"class": "TTestWidget", "name": "New1"},
      {"class": "TTestWidget", "name": "Kept", "properties": {"Tiny": "x"}}]})"),
               EFormFileError);
  EXPECT_EQ(form.FindComponent("New1"), nullptr);
  EXPECT_EQ(form.GetComponentCount(), 2);
  EXPECT_FALSE(kept->IsLoading());
  EXPECT_FALSE(form.IsLoading());

  // The file must describe the form's class (or an ancestor of it) and
  // reused components must have the stored class.
  TTestWidget notAForm(nullptr);
  EXPECT_THROW(ReadFormText(notAForm, R"({"class": "TTestForm"})"), EFormFileError);
  EXPECT_NO_THROW(ReadFormText(form, R"({"class": "TComponent"})"));
  EXPECT_THROW(ReadFormText(form, R"({"class": "TTestForm", "components": [
      {"class": "TTestForm", "name": "Kept"}]})"),
               EFormFileError);
}

TEST_F(FormFileTest, FilesAreWrittenAndReadBack) {
  const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                     ("quexa_host_form_" + std::to_string(::getpid()) + ".json");
  TTestForm form;
  form.SetName("FileForm");
  AddWidget(form, "W")->FCount = 77;
  SaveForm(form, file);
  {
    std::unique_ptr<TComponent> loaded = LoadForm(file);
    auto* widget = dynamic_cast<TTestWidget*>(loaded->FindComponent("W"));
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->FCount, 77);
  }
  {
    std::ofstream(file) << R"({"class": "TTestForm", "properties": {"Title": 1}})";
    try {
      LoadForm(file);
      FAIL() << "no error";
    } catch (const EFormFileError& error) {
      EXPECT_EQ(error.GetFileName(), file.string());
      EXPECT_EQ(error.GetPath(), "/properties/Title");
    }
  }
  std::filesystem::remove(file);
  try {
    LoadForm(file);
    FAIL() << "no error";
  } catch (const EFormFileError& error) {
    EXPECT_EQ(error.GetFileName(), file.string());
    EXPECT_NE(error.GetReason().find("no such file"), std::string::npos);
  }
}

TEST_F(FormFileTest, DeepNestingIsRefused) {
  // Collection items hold sub-objects only one level down; a deeply nested
  // document must be refused without exhausting the stack.
  std::string deep = R"({"class": "TTestForm", "properties": {"Title": )";
  for (int i = 0; i < 100000; ++i) deep += "[";
  for (int i = 0; i < 100000; ++i) deep += "]";
  deep += "}}";
  ExpectFormError(deep, "/properties/Title", "expected string, found an array");
}

}  // namespace
}  // namespace qx::test
