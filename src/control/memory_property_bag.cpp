#include "control/memory_property_bag.h"

#include <algorithm>
#include <optional>

namespace vantiq {
namespace {

std::optional<double> NumberOf(const Variant& v) {
  if (const auto* i2 = std::get_if<std::int16_t>(&v)) return *i2;
  if (const auto* i4 = std::get_if<std::int32_t>(&v)) return *i4;
  if (const auto* r8 = std::get_if<double>(&v)) return *r8;
  return std::nullopt;
}

}  // namespace

bool SameSavedValue(const Variant& value, const Variant& defaultValue) {
  const std::optional<double> a = NumberOf(value);
  const std::optional<double> b = NumberOf(defaultValue);
  if (a || b) return a && b && *a == *b;
  // Same alternatives from here on; std::variant's == compares objects by pointer.
  return value == defaultValue;
}

Variant MemoryPropertyBag::ReadProperty(const std::u16string& name, const Variant& defaultValue) {
  const Variant* found = Find(name);
  return found ? *found : defaultValue;
}

void MemoryPropertyBag::WriteProperty(const std::u16string& name, const Variant& value,
                                      const Variant& defaultValue) {
  if (omitDefaults_ && SameSavedValue(value, defaultValue)) {
    // Reading the name back must give the default, not a value saved before.
    Remove(name);
    return;
  }
  Set(name, value);
}

void MemoryPropertyBag::Set(const std::u16string& name, Variant value) {
  for (Entry& e : entries_) {
    if (e.first == name) {
      e.second = std::move(value);
      return;
    }
  }
  entries_.emplace_back(name, std::move(value));
}

void MemoryPropertyBag::Remove(const std::u16string& name) {
  entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                [&](const Entry& e) { return e.first == name; }),
                 entries_.end());
}

const Variant* MemoryPropertyBag::Find(const std::u16string& name) const {
  for (const Entry& e : entries_) {
    if (e.first == name) return &e.second;
  }
  return nullptr;
}

std::vector<std::u16string> MemoryPropertyBag::Names() const {
  std::vector<std::u16string> names;
  names.reserve(entries_.size());
  for (const Entry& e : entries_) names.push_back(e.first);
  return names;
}

}  // namespace vantiq
