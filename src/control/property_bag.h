// The host's property bag: named values that a container saves with its form or page.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "draw/font.h"
#include "draw/picture.h"

namespace vantiq {

// A saved value: nothing, a 16- or 32-bit integer, a double, a Boolean, a string, or
// a font or picture object.
using Variant = std::variant<std::monostate, std::int16_t, std::int32_t, double, bool, std::u16string,
                             FontRef, PictureRef>;

class PropertyBag {
 public:
  virtual ~PropertyBag() = default;
  // The value stored under the name, or `defaultValue` when the name is absent.
  // Throws RuntimeError when the bag cannot be read.
  virtual Variant ReadProperty(const std::u16string& name, const Variant& defaultValue) = 0;
  // Stores the value; one equal to `defaultValue` may be left out of the bag.
  virtual void WriteProperty(const std::u16string& name, const Variant& value,
                             const Variant& defaultValue) = 0;
};

}  // namespace vantiq
