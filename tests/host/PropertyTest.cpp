// Property tables and reflection by name.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "TestClasses.h"
#include "host/Exceptions.h"
#include "host/Properties.h"

namespace qx::test {
namespace {

std::vector<std::string> PropertyNames(const TClassInfo& info) {
  std::vector<std::string> names;
  for (const TPropertyInfo* property : info.GetProperties()) names.push_back(property->GetName());
  return names;
}

TEST(PropertyTableTest, DerivedClassInheritsAndOverridesInPlace) {
  EXPECT_EQ(PropertyNames(TTestSize::StaticClassInfo()),
            (std::vector<std::string>{"Width", "Height"}));
  // Width is declared again with another default: it keeps its place.
  EXPECT_EQ(PropertyNames(TTestWideSize::StaticClassInfo()),
            (std::vector<std::string>{"Width", "Height", "Depth"}));

  TTestSize size;
  TTestWideSize wide;
  size.FWidth = 240;
  wide.FWidth = 240;
  EXPECT_FALSE(GetPropertyInfo(size, "Width").IsDefault(size));
  EXPECT_TRUE(GetPropertyInfo(wide, "Width").IsDefault(wide));

  // Components publish their name first.
  EXPECT_EQ(PropertyNames(TTestForm::StaticClassInfo()),
            (std::vector<std::string>{"Name", "Title", "Main"}));
}

TEST(PropertyTableTest, DescribesKindsAndTypes) {
  const TClassInfo& info = TTestWidget::StaticClassInfo();
  struct Expected {
    const char* Name;
    TPropertyKind Kind;
    const char* Type;
  };
  for (const Expected& e : std::initializer_list<Expected>{{"Enabled", pkBoolean, "bool"},
                                                           {"Tiny", pkInteger, "int8"},
                                                           {"Big", pkInteger, "uint64"},
                                                           {"Ratio", pkFloat, "double"},
                                                           {"Scale", pkFloat, "float"},
                                                           {"Caption", pkString, "string"},
                                                           {"Mode", pkEnumeration, "TTestMode"},
                                                           {"Options", pkSet, "set of TTestOption"},
                                                           {"Size", pkObject, "TTestSize"},
                                                           {"Items", pkCollection, "TCollection"},
                                                           {"Buddy", pkComponent, "TTestWidget"}}) {
    const TPropertyInfo* property = info.FindProperty(e.Name);
    ASSERT_NE(property, nullptr) << e.Name;
    EXPECT_EQ(property->GetKind(), e.Kind) << e.Name;
    EXPECT_EQ(property->GetTypeName(), e.Type) << e.Name;
  }
  EXPECT_EQ(info.FindProperty("ENABLED"), info.FindProperty("Enabled"));
  EXPECT_EQ(info.FindProperty("Missing"), nullptr);
}

TEST(PropertyTableTest, DuplicateDeclarationIsRefused) {
  EXPECT_THROW(TPropertyTable({
                   Property<std::uint16_t>("Width", &TTestSize::GetWidth, &TTestSize::SetWidth),
                   Property<std::uint16_t>("width", &TTestSize::GetHeight, &TTestSize::SetHeight),
               }),
               EPropertyError);
}

TEST(ReflectionTest, ReadsAndWritesEveryScalarKindByName) {
  TTestWidget widget(nullptr);
  SetProperty(widget, "Enabled", false);
  SetProperty<std::int8_t>(widget, "Tiny", -128);
  SetProperty<std::uint64_t>(widget, "Big", 18446744073709551615ull);
  SetProperty(widget, "Ratio", 0.25);
  SetProperty(widget, "Caption", "hello");
  SetProperty(widget, "Mode", tmFast);
  SetProperty(widget, "Options", TTestOptions{toItalic, toUnderline});

  EXPECT_FALSE(widget.FEnabled);
  EXPECT_EQ(widget.FTiny, -128);
  EXPECT_EQ(widget.FBig, 18446744073709551615ull);
  EXPECT_EQ(widget.FRatio, 0.25);
  EXPECT_EQ(widget.FCaption, "hello");
  EXPECT_EQ(widget.FMode, tmFast);
  EXPECT_TRUE(widget.FOptions.Contains(toUnderline) && !widget.FOptions.Contains(toBold));

  widget.FCount = 42;
  EXPECT_EQ(GetProperty<std::int32_t>(widget, "count"), 42);
  EXPECT_EQ(GetProperty<std::string>(widget, "Caption"), "hello");
  EXPECT_EQ(GetProperty<TTestMode>(widget, "Mode"), tmFast);
}

TEST(ReflectionTest, RequestedTypeMustMatchTheDeclaredOne) {
  TTestWidget widget(nullptr);
  try {
    GetProperty<std::int64_t>(widget, "Count");
    FAIL() << "no exception";
  } catch (const EPropertyError& error) {
    EXPECT_STREQ(error.what(), "property Count is of type int32, not int64");
  }
  EXPECT_THROW(SetProperty(widget, "Enabled", 1), EPropertyError);
  EXPECT_THROW(SetProperty(widget, "Size", 5.0), EPropertyError);
  EXPECT_THROW(GetProperty<bool>(widget, "NoSuchProperty"), EPropertyError);
  EXPECT_THROW(GetProperty<TTestPoint*>(widget, "Size"), EPropertyError);
}

TEST(ReflectionTest, SubObjectsCollectionsAndReferences) {
  TTestForm form;
  auto* widget = new TTestWidget(&form);
  auto* other = new TTestWidget(&form);
  widget->SetName("W");
  other->SetName("Other");

  EXPECT_EQ(GetProperty<TTestSize*>(*widget, "Size"), &widget->FSize);
  EXPECT_EQ(GetProperty<TPersistent*>(*widget, "Items"), &widget->FItems);

  // Setting a sub-object assigns the owned object; it stays the same object.
  TTestSize size;
  size.FWidth = 320;
  SetProperty(*widget, "Size", &size);
  EXPECT_EQ(widget->FSize.FWidth, 320);
  EXPECT_THROW(SetProperty(*widget, "Size", nullptr), EPropertyError);

  SetProperty(*widget, "Buddy", other);
  EXPECT_EQ(widget->GetBuddy(), other);
  EXPECT_EQ(GetProperty<TComponent*>(*widget, "Buddy"), other);
  SetProperty(*widget, "Buddy", nullptr);
  EXPECT_EQ(widget->GetBuddy(), nullptr);

  // A reference of the wrong class is refused and changes nothing.
  widget->SetBuddy(other);
  EXPECT_THROW(SetProperty(*widget, "Buddy", &form), EPropertyError);
  EXPECT_EQ(widget->GetBuddy(), other);
}

TEST(ReflectionTest, JsonAccessChecksTypesAndRanges) {
  TTestWidget widget(nullptr);
  const TPropertyInfo& tiny = GetPropertyInfo(widget, "Tiny");
  tiny.SetJson(widget, 127);
  EXPECT_EQ(widget.FTiny, 127);
  tiny.SetJson(widget, -128);
  EXPECT_EQ(widget.FTiny, -128);
  for (const nlohmann::json& bad : {nlohmann::json(128), nlohmann::json(-129), nlohmann::json(1.5),
                                    nlohmann::json("1"), nlohmann::json(true)}) {
    EXPECT_THROW(tiny.SetJson(widget, bad), EPropertyError) << bad.dump();
  }
  EXPECT_EQ(widget.FTiny, -128);

  const TPropertyInfo& big = GetPropertyInfo(widget, "Big");
  big.SetJson(widget, nlohmann::json::parse("18446744073709551615"));
  EXPECT_EQ(widget.FBig, std::numeric_limits<std::uint64_t>::max());
  EXPECT_THROW(big.SetJson(widget, -1), EPropertyError);

  const TPropertyInfo& scale = GetPropertyInfo(widget, "Scale");
  scale.SetJson(widget, 3);  // an integer is a valid floating-point value
  EXPECT_EQ(widget.FScale, 3.0f);
  EXPECT_THROW(scale.SetJson(widget, 1e39), EPropertyError);  // beyond float

  const TPropertyInfo& mode = GetPropertyInfo(widget, "Mode");
  mode.SetJson(widget, "TMFAST");
  EXPECT_EQ(widget.FMode, tmFast);
  EXPECT_EQ(mode.GetJson(widget), "tmFast");
  EXPECT_THROW(mode.SetJson(widget, "tmMedium"), EPropertyError);
  EXPECT_THROW(mode.SetJson(widget, 2), EPropertyError);

  const TPropertyInfo& options = GetPropertyInfo(widget, "Options");
  options.SetJson(widget, {"toUnderline", "toBold", "toBold"});
  EXPECT_EQ(widget.FOptions, (TTestOptions{toBold, toUnderline}));
  EXPECT_EQ(options.GetJson(widget), nlohmann::json({"toBold", "toUnderline"}));
  EXPECT_THROW(options.SetJson(widget, "toBold"), EPropertyError);
  EXPECT_THROW(options.SetJson(widget, {"toBold", "toStrike"}), EPropertyError);

  EXPECT_THROW(GetPropertyInfo(widget, "Size").GetJson(widget), EPropertyError);
}

TEST(ReflectionTest, NonFiniteFloatsUseNamedStrings) {
  TTestWidget widget(nullptr);
  const TPropertyInfo& ratio = GetPropertyInfo(widget, "Ratio");
  widget.FRatio = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(ratio.GetJson(widget), "NaN");
  widget.FRatio = -std::numeric_limits<double>::infinity();
  EXPECT_EQ(ratio.GetJson(widget), "-Infinity");
  ratio.SetJson(widget, "Infinity");
  EXPECT_TRUE(std::isinf(widget.FRatio) && widget.FRatio > 0);
  ratio.SetJson(widget, "NaN");
  EXPECT_TRUE(std::isnan(widget.FRatio));
  EXPECT_THROW(ratio.SetJson(widget, "inf"), EPropertyError);
}

TEST(ReflectionTest, UnnamedEnumerationValuesCannotBeStored) {
  TTestWidget widget(nullptr);
  widget.FMode = static_cast<TTestMode>(7);
  EXPECT_THROW(GetPropertyInfo(widget, "Mode").GetJson(widget), EPropertyError);
  widget.FOptions = TTestOptions::FromBits(1u << 5);
  EXPECT_THROW(GetPropertyInfo(widget, "Options").GetJson(widget), EPropertyError);
}

TEST(ReflectionTest, PropertyInfoRefusesAnObjectOfAnotherClass) {
  TTestPoint point;
  const TPropertyInfo& width = *TTestSize::StaticClassInfo().FindProperty("Width");
  EXPECT_THROW(width.GetJson(point), EPropertyError);
  EXPECT_THROW(width.SetJson(point, 1), EPropertyError);
}

TEST(ReflectionTest, StoredValuesFollowDefaultsAndStoredPredicates) {
  TTestWidget widget(nullptr);
  // Scale has no default: a fresh widget still has it to store.
  EXPECT_TRUE(HasStoredValues(widget));
  const TPropertyInfo& note = GetPropertyInfo(widget, "Note");
  widget.FNote = "kept";
  EXPECT_TRUE(note.IsStored(widget));
  widget.FNote = "transient";
  EXPECT_FALSE(note.IsStored(widget));
  EXPECT_FALSE(GetPropertyInfo(widget, "Name").IsStored(widget));

  TTestSize size;
  EXPECT_FALSE(HasStoredValues(size));
  size.FHeight = 51;
  EXPECT_TRUE(HasStoredValues(size));

  const TPropertyInfo& sizeProperty = GetPropertyInfo(widget, "Size");
  EXPECT_TRUE(sizeProperty.IsDefault(widget));
  widget.FSize.FWidth = 1;
  EXPECT_FALSE(sizeProperty.IsDefault(widget));

  const TPropertyInfo& items = GetPropertyInfo(widget, "Items");
  EXPECT_TRUE(items.IsDefault(widget));
  widget.FItems.Add();  // an item at its defaults still makes the collection non-empty
  EXPECT_FALSE(items.IsDefault(widget));
}

}  // namespace
}  // namespace qx::test
