// JSON form files: writing, reading, older names and bad input.
#include <gtest/gtest.h>

#include <limits>

#include "TestClasses.h"
#include "host/Exceptions.h"
#include "host/FormFile.h"

namespace qx::test {
namespace {

using nlohmann::json;

class FormFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterTestClasses();
    EventLog().clear();
  }
};

template <class T>
T& Find(const TComponent& owner, const std::string& name) {
  auto* found = dynamic_cast<T*>(owner.FindComponent(name));
  if (!found) throw std::runtime_error("no " + name);
  return *found;
}

// Runs `action`, which must fail with an EFormFileError; returns the error.
template <class F>
EFormFileError FormError(F action) {
  try {
    action();
  } catch (const EFormFileError& error) {
    return error;
  }
  ADD_FAILURE() << "no EFormFileError";
  return EFormFileError("", "", "");
}

// Reading `text` must fail with exactly this path, and a reason containing `reasonPart`.
void ExpectFormError(const std::string& text, const std::string& path,
                     const std::string& reasonPart) {
  SCOPED_TRACE(text.substr(0, 200));
  const EFormFileError error = FormError([&] { LoadFormText(text, "bad.json"); });
  EXPECT_EQ(error.GetPath(), path) << error.what();
  EXPECT_NE(error.GetReason().find(reasonPart), std::string::npos) << error.what();
  const std::string expectedStart = path.empty() ? "bad.json: " : "bad.json: " + path + ": ";
  EXPECT_EQ(std::string(error.what()).rfind(expectedStart, 0), 0u) << error.what();
}

TEST_F(FormFileTest, EveryKindOfValueIsWrittenInItsDocumentedFormAndReadBack) {
  TTestForm form;
  form.SetName("RoundTripForm");
  form.SetTitle("Title with \"quotes\"");
  TTestWidget* widget = NewWidget(&form, "Widget1");
  TTestWidget* other = NewWidget(&form, "Other");
  widget->FEnabled = false;
  widget->FTiny = 127;
  widget->FRatio = 1.0 / 3.0;
  widget->FScale = std::numeric_limits<float>::quiet_NaN();
  widget->FMode = tmFast;
  widget->FOptions = {toUnderline, toItalic};
  widget->FSize.FWidth = 65535;
  widget->FSize.FHeight = 0;
  widget->FItems.Add().FSize.FHeight = 3;  // a sub-object inside a collection item
  widget->FItems.Add().FCaption = "second";
  widget->FNote = "line\nbreak";
  widget->SetBuddy(other);
  other->FRatio = -std::numeric_limits<double>::infinity();
  other->FOptions = {};
  other->FNote = "transient";  // a value its stored predicate declines
  other->SetBuddy(other);      // a component may refer to itself
  form.SetMain(other);

  // Only values off their defaults are written; Scale has none, so it always is.
  const std::string text = SaveFormText(form);
  const json expected = json::parse(R"({
    "class": "TTestForm", "name": "RoundTripForm",
    "properties": {"Title": "Title with \"quotes\"", "Main": "Other"},
    "components": [
      {"class": "TTestWidget", "name": "Widget1", "properties": {
        "Enabled": false, "Tiny": 127, "Ratio": 0.3333333333333333,
        "Scale": "NaN", "Mode": "tmFast", "Options": ["toItalic", "toUnderline"],
        "Size": {"Width": 65535, "Height": 0},
        "Items": [{"Size": {"Height": 3}}, {"Caption": "second"}],
        "Buddy": "Other", "Note": "line\nbreak"}},
      {"class": "TTestWidget", "name": "Other", "properties": {
        "Ratio": "-Infinity", "Scale": 0.0, "Options": [], "Buddy": "Other"}}]})");
  EXPECT_EQ(json::parse(text), expected);

  // Written again, the loaded form gives the same text: every value, the
  // exact double and every reference included, was read.
  EXPECT_EQ(SaveFormText(*LoadFormText(text)), text);
}

TEST_F(FormFileTest, SettersSeeTheLoadingStateAndLoadedRunsOnceInFileOrderRootLast) {
  // Width and Height are older names the widget takes for its size.
  std::unique_ptr<TComponent> form = LoadFormText(R"({
    "class": "TTestForm", "name": "F",
    "components": [
      {"class": "TTestWidget", "name": "Second",
       "properties": {"Enabled": false, "Buddy": "First", "Width": 720, "Height": 576}},
      {"class": "TTestWidget", "name": "First"}
    ]})");
  auto& second = Find<TTestWidget>(*form, "Second");
  auto& first = Find<TTestWidget>(*form, "First");
  EXPECT_TRUE(second.FLoadingWhenEnabledSet);
  EXPECT_FALSE(second.IsLoading());
  EXPECT_FALSE(form->IsLoading());
  // The reference to a component stored later in the file is resolved.
  EXPECT_EQ(second.GetBuddy(), &first);
  EXPECT_EQ(first.FLoadedCalls, 1);
  EXPECT_FALSE(second.FLoadingInLoaded);
  EXPECT_EQ(second.FSize.FWidth, 720);
  EXPECT_EQ(second.FSize.FHeight, 576);
  const std::vector<std::string> expected = {"create widget", "create widget", "loaded Second",
                                             "loaded First", "loaded F"};
  EXPECT_EQ(EventLog(), expected);
}

TEST_F(FormFileTest, ReferencesGoByPathAndWhatCannotBeNamedIsAWriteError) {
  auto other = std::make_unique<TTestForm>();
  other->SetName("OtherForm");
  TTestWidget* remote = NewWidget(other.get(), "Remote");
  TTestWidget* inner = NewWidget(remote, "Inner");  // owned by a component, two levels down

  TTestForm form;
  form.SetName("HostForm");
  TTestWidget* local = NewWidget(&form, "Local");
  local->SetBuddy(remote);
  form.SetMain(inner);
  const json written = json::parse(SaveFormText(form));
  EXPECT_EQ(written["properties"]["Main"], "OtherForm.Remote.Inner");
  EXPECT_EQ(written["components"][0]["properties"]["Buddy"], "OtherForm.Remote");
  form.SetMain(NewWidget(local, "Nested"));
  EXPECT_EQ(json::parse(SaveFormText(form))["properties"]["Main"], "Local.Nested");

  std::unique_ptr<TComponent> loaded = LoadFormText(
      R"({"class": "TTestForm", "name": "Copy", "properties": {"Main": "OtherForm.Remote.Inner"}})");
  EXPECT_EQ(dynamic_cast<TTestForm&>(*loaded).GetMain(), inner);

  // What cannot be named is a write error at its path.
  TTestWidget unnamed(nullptr);
  local->SetBuddy(&unnamed);
  const EFormFileError error = FormError([&] { SaveFormText(form, "out.json"); });
  EXPECT_EQ(error.GetFileName(), "out.json");
  EXPECT_EQ(error.GetPath(), "/components/0/properties/Buddy");
}

TEST_F(FormFileTest, EachKindOfBadInputNamesItsPath) {
  const std::string form = R"({"class": "TTestForm", )";
  const std::string widget = form + R"("components": [{"class": "TTestWidget", )";
  const std::string props = widget + R"("properties": )";
  // Values are refused as the property suite shows; here each refusal must name its path.
  struct Case {
    std::string Text, Path, Reason;
  };
  const Case cases[] = {
      {form, "", "malformed JSON"},
      {R"({"name": "F"})", "/class", "no class"},
      {R"({"class": "TNoSuchForm"})", "/class", "unknown class TNoSuchForm"},
      {form + R"("components": [{"class": "TFailingWidget"}]})", "/components/0/class",
       "no device for TFailingWidget"},
      {props + R"({"Colour": 3}}]})", "/components/0/properties/Colour",
       "unknown property Colour of TTestWidget"},
      {props + R"({"Size": {"Width": "wide"}}}]})", "/components/0/properties/Size/Width",
       "expected uint16, found \"wide\""},
      {props + R"({"Mode": "tmWarp"}}]})", "/components/0/properties/Mode",
       "TTestMode has no value named \"tmWarp\""},
      {props + R"({"Items": [{}, {"Caption": 5}]}}]})", "/components/0/properties/Items/1/Caption",
       "expected string"},
      {props + R"({"Buddy": "Nobody"}}]})", "/components/0/properties/Buddy",
       "no component named Nobody"},
      {form + R"("name": "F", "properties": {"Main": "F"}})", "/properties/Main",
       "is not a TTestWidget"},
      // Older names are checked like any stored value, at their own path.
      {props + R"({"Width": 70000}}]})", "/components/0/properties/Width",
       "out of the range of uint16"},
      {widget + R"("components": []}]})", "/components/0/components", "unexpected entry"},
      {form + R"("properties": {"a/b~c": 1}})", "/properties/a~1b~0c", "unknown property a/b~c"},
  };
  for (const Case& c : cases) ExpectFormError(c.Text, c.Path, c.Reason);

  // Deep nesting is refused without exhausting the stack.
  std::string deep = R"({"class": "TTestForm", "properties": {"Title": )";
  deep += std::string(100000, '[') + std::string(100000, ']') + "}}";
  ExpectFormError(deep, "/properties/Title", "expected string, found an array");
}

TEST_F(FormFileTest, FailedLoadLeavesNoComponentBehind) {
  // The error is found after both widgets were created and filled.
  ExpectFormError(R"({"class": "TTestForm", "name": "Broken", "components": [
      {"class": "TTestWidget", "name": "A"},
      {"class": "TTestWidget", "name": "B", "properties": {"Buddy": "Missing"}}]})",
                  "/components/1/properties/Buddy", "no component named Missing");
  EXPECT_EQ(FindGlobalComponent("Broken"), nullptr);
  // Both widgets were destroyed again, and none was told it had loaded.
  std::vector<std::string> events;
  for (const std::string& entry : EventLog()) events.push_back(entry.substr(0, entry.find(' ')));
  EXPECT_EQ(events, (std::vector<std::string>{"create", "create", "destroy", "destroy"}));
}

TEST_F(FormFileTest, ReadIntoAnExistingFormReusesComponentsByNameAndUndoesCreations) {
  TTestForm form;
  TTestWidget* kept = NewWidget(&form, "Kept");
  ReadFormText(form, R"({"class": "TTestForm", "properties": {"Title": "T"},
      "components": [{"class": "TTestWidget", "name": "Kept", "properties": {"Tiny": 3}},
                     {"class": "TTestWidget", "name": "Added"}]})");
  EXPECT_EQ(form.FTitle, "T");
  EXPECT_EQ(kept->FTiny, 3);
  EXPECT_EQ(kept->FLoadedCalls, 1);
  ASSERT_EQ(form.GetComponentCount(), 2);

  // A failed read removes the components it created and clears the loading state.
  EXPECT_THROW(ReadFormText(form, R"({"class": "TTestForm", "components": [
      {"class": "TTestWidget", "name": "New1"},
      {"class": "TTestWidget", "name": "Kept", "properties": {"Tiny": "x"}}]})"),
               EFormFileError);
  EXPECT_EQ(form.FindComponent("New1"), nullptr);
  EXPECT_EQ(form.GetComponentCount(), 2);
  EXPECT_FALSE(kept->IsLoading());
  EXPECT_FALSE(form.IsLoading());

  // Reused components must have the stored class.
  EXPECT_THROW(ReadFormText(form, R"({"class": "TTestForm", "components": [
      {"class": "TTestForm", "name": "Kept"}]})"),
               EFormFileError);
}

}  // namespace
}  // namespace qx::test
