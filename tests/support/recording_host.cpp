#include "support/recording_host.h"

#include <algorithm>

#include "caption/number_format.h"
#include "common/runtime_error.h"

namespace vantiq::testing {

int RecordingHost::ChangeCount(const std::u16string& name) const {
  return static_cast<int>(std::count(changes.begin(), changes.end(), name));
}

void RecordingHost::SetBaseMousePointer(std::int16_t pointer) {
  if (baseRefusesPointer) throw RuntimeError(380);
  baseMousePointer = pointer;
}

bool RecordingHost::AmbientRightToLeft() {
  if (!ambientRightToLeft) throw RuntimeError(398);  // not available yet
  return *ambientRightToLeft;
}

std::u16string RecordingHost::ExtenderToolTipText() {
  if (!toolTipText) throw RuntimeError(438);
  return *toolTipText;
}

void RecordingHost::SetExtenderToolTipText(const std::u16string& text) {
  ++toolTipWrites;
  if (!toolTipText) throw RuntimeError(438);
  toolTipText = text;
}

void RecordingHost::FormatNumber(double value, const std::u16string& pattern, std::u16string& out) {
  numbers_.Format(value, pattern, NumberLocale{}, out);
}

void RecordingHost::PropertyChanged(const std::u16string& name) {
  if (propertyChangedFails) throw RuntimeError(5);
  changes.push_back(name);
}

void RecordingHost::RaiseProgressTextCallBack(double& value, double& min, double& max,
                                              std::u16string& text) {
  events.push_back(u"ProgressTextCallBack");
  if (onProgressText) onProgressText(value, min, max, text);
}

}  // namespace vantiq::testing
