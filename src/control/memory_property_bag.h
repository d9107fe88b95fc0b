// A property bag held in memory, in the order its names were first written: what the
// binary property stream reads and writes through, and a bag for hosts without one.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "control/property_bag.h"

namespace vantiq {

// True when a host may treat `value` as equal to `defaultValue` and leave it out: 16-bit,
// 32-bit and double values compare by number (so 128 equals a 16-bit 128), Booleans and
// strings by value, objects by identity (two empty references are equal).
bool SameSavedValue(const Variant& value, const Variant& defaultValue);

class MemoryPropertyBag final : public PropertyBag {
 public:
  using Entry = std::pair<std::u16string, Variant>;

  // With `omitDefaults`, a value written equal to its default is left out (and an
  // earlier value under that name removed), as containers that keep their files short do.
  explicit MemoryPropertyBag(bool omitDefaults = false) : omitDefaults_(omitDefaults) {}

  Variant ReadProperty(const std::u16string& name, const Variant& defaultValue) override;
  void WriteProperty(const std::u16string& name, const Variant& value,
                     const Variant& defaultValue) override;

  // Stores a value whatever its default; a name written again keeps its place.
  void Set(const std::u16string& name, Variant value);
  void Remove(const std::u16string& name);
  // The value under the name, or null when the bag does not hold it.
  const Variant* Find(const std::u16string& name) const;
  bool Contains(const std::u16string& name) const { return Find(name) != nullptr; }
  const std::vector<Entry>& Entries() const { return entries_; }
  std::vector<std::u16string> Names() const;

 private:
  bool omitDefaults_;
  std::vector<Entry> entries_;  // a few dozen at most: a linear search is enough
};

}  // namespace vantiq
