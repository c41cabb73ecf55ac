// Publishing pins as properties, so that form files store connections.
//
//   const TClassInfo& TMyFilter::StaticClassInfo() {
//     static const TClassInfo info = TClassInfo::Of<TMyFilter>({
//         PinProperty("InputPin", &TMyFilter::GetInputPin),
//         PinProperty("OutputPin", &TMyFilter::GetOutputPin),
//     });
//     return info;
//   }
//
// A sink pin's property is a component reference whose value is the source
// pin it is connected to: the form file stores "<Component>.<Pin>" (the
// pins must be named, their components too), the reader connects once every
// component of the form exists, like any component reference, and an
// unconnected pin stores nothing. Reading a reference to something that is
// not a source pin is an error of the form file. A source pin's property is
// the pin as a sub-object: tools list it, the form stores nothing for it.
#pragma once

#include <memory>
#include <string>
#include <type_traits>

#include "host/Properties.h"
#include "packages/flowbus/FBSinkPin.h"
#include "packages/flowbus/FBSourcePin.h"

namespace qx {

namespace detail {

template <class G>
struct TPinGetter;
template <class C, class P>
struct TPinGetter<P* (C::*)() const> {
  using Class = C;
  using Pin = P;
};
template <class C, class P>
struct TPinGetter<P* (C::*)() const noexcept> : TPinGetter<P* (C::*)() const> {};

template <class C, class G>
class TSinkPinProperty final : public TPropertyInfo {
 public:
  TSinkPinProperty(std::string name, G getter)
      : TPropertyInfo(std::move(name), pkComponent), FGetter(getter) {}

  std::string GetTypeName() const override { return "TFBSourcePin"; }
  TComponent* GetReference(const TPersistent& instance) const override {
    return PinOf(instance).GetSource();
  }
  void SetReference(TPersistent& instance, TComponent* value) const override {
    auto* source = dynamic_cast<TFBSourcePin*>(value);
    if (value && !source) {
      throw EPropertyError(value->ClassName() + " " + value->GetName() +
                           " is not a source pin, as property " + GetName() + " requires");
    }
    PinOf(instance).Connect(source);
  }
  bool IsDefault(const TPersistent& instance) const override {
    return PinOf(instance).GetSource() == nullptr;
  }

 private:
  TFBSinkPin& PinOf(const TPersistent& instance) const {
    const C* object = dynamic_cast<const C*>(&instance);
    if (!object) {
      throw EPropertyError("property " + GetName() + " does not belong to class " +
                           instance.ClassName());
    }
    TFBSinkPin* pin = (object->*FGetter)();
    if (!pin) throw EPropertyError("property " + GetName() + " has no pin");
    return *pin;
  }

  G FGetter;
};

}  // namespace detail

// `getter` is `TPin* (C::*)() const` for a sink or source pin class.
template <class G>
TPropertyDecl PinProperty(std::string name, G getter) {
  using TPin = typename detail::TPinGetter<G>::Pin;
  using C = typename detail::TPinGetter<G>::Class;
  if constexpr (std::is_base_of_v<TFBSinkPin, TPin>) {
    return TPropertyDecl(std::make_shared<detail::TSinkPinProperty<C, G>>(std::move(name), getter));
  } else {
    static_assert(std::is_base_of_v<TFBSourcePin, TPin>, "the getter must return a pin");
    return ObjectProperty(std::move(name), getter);
  }
}

}  // namespace qx
