// TPersistent: the base of every object with published properties that can be
// assigned to another and stored in a form file.
//
// A persistent class declares itself with QX_CLASS and defines its class info
// (host/ClassInfo.h) in its .cpp file:
//
//   class TQXSize : public TPersistent {
//     QX_CLASS(TQXSize, TPersistent)
//    public:
//     void Assign(const TPersistent& source) override;
//     ...
//   };
//
// Assignment follows one rule: `destination.Assign(source)` copies what it
// understands of `source` and otherwise calls `source.AssignTo(destination)`,
// which gives the source's class a chance to copy itself into a class it knows;
// when neither knows the other, `AssignTo` raises EAssignError ("Cannot assign
// a TQXPoint to a TQXSize"). An override handles the sources it accepts and
// passes every other one to `inherited::Assign`.
#pragma once

#include <string>
#include <string_view>

#include "host/ClassInfo.h"

// Declares the class-info members of a persistent class: the `inherited` alias
// for its parent, its name, `StaticClassInfo()` (to be defined in the .cpp
// file, see host/ClassInfo.h) and the `ClassInfo()` override. Put it first in
// the class body; it leaves the section public.
#define QX_CLASS(ThisClass, ParentClass)                           \
 public:                                                           \
  using inherited = ParentClass;                                   \
  static constexpr std::string_view ClassNameLiteral = #ThisClass; \
  static const ::qx::TClassInfo& StaticClassInfo();                \
  const ::qx::TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

namespace qx {

class TStoredValue;

namespace detail {
struct TPersistentAccess;
}

class TPersistent {
 public:
  static constexpr std::string_view ClassNameLiteral = "TPersistent";
  static const TClassInfo& StaticClassInfo();
  // The class info of the object's own class (the most derived one that used QX_CLASS).
  virtual const TClassInfo& ClassInfo() const { return StaticClassInfo(); }

  TPersistent() = default;
  virtual ~TPersistent() = default;
  // Persistent objects are copied with Assign, never by value.
  TPersistent(const TPersistent&) = delete;
  TPersistent& operator=(const TPersistent&) = delete;

  const std::string& ClassName() const noexcept { return ClassInfo().GetName(); }
  bool InheritsFrom(const TClassInfo& classInfo) const noexcept {
    return ClassInfo().InheritsFrom(classInfo);
  }

  // Copies `source` into this object (see the rule above).
  virtual void Assign(const TPersistent& source);

 protected:
  // Copies this object into `destination`, for the destination classes this
  // class knows; the base raises EAssignError.
  virtual void AssignTo(TPersistent& destination) const;

  // Called while a form file is read, for a stored name that is not a
  // published property of the class: a name an older version of the class
  // wrote. Return true when the value was taken (applied or deliberately
  // ignored); false makes the name an unknown property. The base knows no
  // older names. See host/StoredValue.h for reading the value.
  virtual bool ReadOlderProperty(const TStoredValue& value);

 private:
  friend struct detail::TPersistentAccess;
};

}  // namespace qx
