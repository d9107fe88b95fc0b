// Saving and loading the control's properties through the host's property bag: 26 keys,
// each with the same default on both sides so that a host may leave out default values.
//
// Values read are converted the way OLE's variant coercion would, restricted to the
// conversions that do not depend on the user's locale:
// - to a 32-bit integer (colours, enumerations, ShadowIntensity): 16- and 32-bit
//   integers; Booleans (True is -1); doubles rounded half to even when the result fits;
//   text holding a decimal number (decimal point ".") or "&H" and 1 to 8 hex digits,
//   taken as the 32-bit pattern ("&H8000000F" is the button-face reference);
// - to a double (Min, Max, Value): integers, Booleans, doubles and decimal text;
// - to a Boolean: Booleans, numbers (non-zero is True), "True"/"False" in any case and
//   decimal text;
// - to text: text, and 16- or 32-bit integers as their decimal digits.
// Anything else is skipped and the property keeps what it had: other text, empty
// values, text as a colour in another form, fonts for pictures and pictures for fonts.
// A missing or empty "Font" keeps the font the control started with.
#pragma once

#include "control/property_bag.h"

namespace vantiq {

class Vantiq;

// The host's ReadProperties event: refreshes the theme identity at run time, then reads
// every key, each with errors ignored; Font, Max, Min, Orientation, ShowCaption and
// Value go through their setters (which notify and redraw), the rest are stored.
void ReadProperties(Vantiq& control, PropertyBag& bag);

// The host's WriteProperties event: writes every key, each with errors ignored.
void WriteProperties(Vantiq& control, PropertyBag& bag);

}  // namespace vantiq
