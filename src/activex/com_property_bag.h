// The container's IPropertyBag as the core's PropertyBag, for ReadProperties and
// WriteProperties. Values cross as VARIANTs: integers, doubles, Booleans and strings as
// themselves, fonts and pictures as their dispatch interfaces.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <ocidl.h>

#include "activex/com_ptr.h"
#include "control/property_bag.h"

namespace vantiq::activex {

class ComPropertyBag final : public PropertyBag {
 public:
  // With `omitDefaults`, a value equal to its default is not written (a container's
  // save of the changed properties only).
  ComPropertyBag(IPropertyBag* bag, IErrorLog* log, bool omitDefaults)
      : bag_(bag), log_(log), omitDefaults_(omitDefaults) {}

  // The default for a name the bag does not hold, or cannot read.
  Variant ReadProperty(const std::u16string& name, const Variant& defaultValue) override;
  // Throws RuntimeError when the bag refuses the value.
  void WriteProperty(const std::u16string& name, const Variant& value,
                     const Variant& defaultValue) override;

 private:
  IPropertyBag* bag_;
  IErrorLog* log_;
  bool omitDefaults_;
};

// A saved value as the core takes it. An empty object reference becomes what
// `defaultValue` holds (no font, no picture), other objects a font or a picture by what
// they answer; values of other kinds are converted to the nearest the core knows, and
// those that cannot be are empty. A font is copied, so that the control does not share
// it with the bag.
Variant FromVariant(const VARIANT& value, const Variant& defaultValue);
// The VARIANT for a value of the core; the caller clears it.
HRESULT ToVariant(const Variant& value, VARIANT& out);

}  // namespace vantiq::activex
