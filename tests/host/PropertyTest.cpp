// Assign / AssignTo, collections, property tables and reflection by name.
#include <gtest/gtest.h>

#include "TestClasses.h"
#include "host/Exceptions.h"

namespace qx::test {
namespace {

using nlohmann::json;

std::string Captions(const TTestCollection& items) {
  std::string all;
  for (int i = 0; i < items.GetCount(); ++i) all += items.GetItem(i).FCaption;
  return all;
}

TEST(CollectionTest, ItemsMoveAndGoByIndexAndAssignCopiesThemOrChangesNothing) {
  TTestCollection items(nullptr);
  for (const char* caption : {"a", "b", "c", "d"}) items.Add().FCaption = caption;
  items.GetItem(3).SetIndex(0);
  EXPECT_EQ(Captions(items), "dabc");
  items.GetItem(0).SetIndex(99);  // clamped to the end
  EXPECT_EQ(Captions(items), "abcd");
  items.Delete(1);
  EXPECT_EQ(Captions(items), "acd");
  EXPECT_EQ(items.GetItem(2).GetIndex(), 2);
  EXPECT_THROW(items.Delete(3), EPropertyError);

  TTestCollection copy(nullptr);
  copy.Add().FCaption = "old";
  items.GetItem(0).FSize.FWidth = 11;
  copy.Assign(items);
  EXPECT_EQ(Captions(copy), "acd");
  EXPECT_EQ(copy.GetItem(0).FSize.FWidth, 11);
  EXPECT_NE(&copy.GetItem(0), &items.GetItem(0));
  // Items of another class refuse each other: nothing may change.
  TCollection plain(nullptr, [] { return std::make_unique<TCollectionItem>(); });
  plain.Add();
  EXPECT_THROW(copy.Assign(plain), EAssignError);
  EXPECT_EQ(Captions(copy), "acd");
}

std::vector<std::string> PropertyNames(const TClassInfo& info) {
  std::vector<std::string> names;
  for (const TPropertyInfo* property : info.GetProperties()) names.push_back(property->GetName());
  return names;
}

TEST(PropertyTableTest, DerivedClassInheritsAndOverridesInPlace) {
  // Width is declared again with another default: it keeps its place.
  EXPECT_EQ(PropertyNames(TTestWideSize::StaticClassInfo()),
            (std::vector<std::string>{"Width", "Height"}));
  TTestSize size;
  TTestWideSize wide;
  size.FWidth = 240;
  EXPECT_FALSE(GetPropertyInfo(size, "Width").IsDefault(size));
  EXPECT_TRUE(GetPropertyInfo(wide, "Width").IsDefault(wide));
  // Components publish their name first.
  EXPECT_EQ(PropertyNames(TTestForm::StaticClassInfo()),
            (std::vector<std::string>{"Name", "Title", "Main"}));

  EXPECT_THROW(TPropertyTable({
                   Property<std::uint16_t>("Width", &TTestSize::GetWidth, &TTestSize::SetWidth),
                   Property<std::uint16_t>("width", &TTestSize::GetHeight, &TTestSize::SetHeight),
               }),
               EPropertyError);
}

TEST(ReflectionTest, AccessByNameChecksTheDeclaredTypeAndAssignsSubObjects) {
  TTestForm form;
  auto* widget = new TTestWidget(&form);
  SetProperty<std::int8_t>(*widget, "Tiny", -128);
  EXPECT_EQ(widget->FTiny, -128);
  widget->FMode = tmFast;
  EXPECT_EQ(GetProperty<TTestMode>(*widget, "mode"), tmFast);  // names ignore case
  try {
    GetProperty<std::int64_t>(*widget, "Tiny");
    FAIL() << "no exception";
  } catch (const EPropertyError& error) {
    EXPECT_STREQ(error.what(), "property Tiny is of type int8, not int64");
  }
  EXPECT_THROW(GetProperty<bool>(*widget, "NoSuchProperty"), EPropertyError);
  EXPECT_THROW(GetProperty<TTestForm*>(*widget, "Size"), EPropertyError);
  // A property's accessors refuse an object of another class.
  const TPropertyInfo& width = *TTestSize::StaticClassInfo().FindProperty("Width");
  EXPECT_THROW(width.SetJson(*widget, 1), EPropertyError);

  // Setting a sub-object assigns the owned object; it stays the same object.
  TTestSize size;
  size.FWidth = 320;
  SetProperty(*widget, "Size", &size);
  EXPECT_EQ(widget->FSize.FWidth, 320);
  EXPECT_EQ(GetProperty<TTestSize*>(*widget, "Size"), &widget->FSize);
  EXPECT_THROW(SetProperty(*widget, "Size", nullptr), EPropertyError);
  // A reference of the wrong class is refused.
  EXPECT_THROW(SetProperty(*widget, "Buddy", &form), EPropertyError);
  SetProperty(*widget, "Buddy", widget);
  EXPECT_EQ(GetProperty<TComponent*>(*widget, "Buddy"), widget);
}

TEST(ReflectionTest, JsonValuesAreCheckedForTypeAndRangeAndReadBackInTheirStoredForm) {
  struct Case {
    const char* Property;
    json Written;
    json ReadBack;  // null: the value is refused and the property keeps its value
  };
  const Case cases[] = {
      {"Tiny", 127, 127},
      {"Tiny", 128, nullptr},
      {"Tiny", -129, nullptr},
      {"Tiny", 1.5, nullptr},
      {"Tiny", "1", nullptr},
      {"Scale", 3, 3.0},  // an integer is a valid floating-point value
      {"Scale", 1e39, nullptr},
      {"Ratio", "inf", nullptr},
      {"Mode", "TMFAST", "tmFast"},
      {"Mode", 2, nullptr},
      {"Options", {"toUnderline", "toBold", "toBold"}, {"toBold", "toUnderline"}},
      {"Options", "toBold", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.Property) + " = " + c.Written.dump());
    TTestWidget widget(nullptr);
    const TPropertyInfo& property = GetPropertyInfo(widget, c.Property);
    const json before = property.GetJson(widget);
    if (c.ReadBack.is_null()) {
      EXPECT_THROW(property.SetJson(widget, c.Written), EPropertyError);
      EXPECT_EQ(property.GetJson(widget), before);
    } else {
      property.SetJson(widget, c.Written);
      EXPECT_EQ(property.GetJson(widget), c.ReadBack);
    }
  }
}

TEST(ReflectionTest, ValuesWithoutAStoredFormAreRefused) {
  TTestWidget widget(nullptr);
  widget.FMode = static_cast<TTestMode>(7);
  EXPECT_THROW(GetPropertyInfo(widget, "Mode").GetJson(widget), EPropertyError);
  widget.FOptions = TTestOptions::FromBits(1u << 5);
  EXPECT_THROW(GetPropertyInfo(widget, "Options").GetJson(widget), EPropertyError);
  EXPECT_THROW(GetPropertyInfo(widget, "Size").GetJson(widget), EPropertyError);
}

}  // namespace
}  // namespace qx::test
