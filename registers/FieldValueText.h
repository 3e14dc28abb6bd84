#pragma once
// A field's value as text: as get shows it and as set and a settings file give it.
#include "chip/ChipFields.h"

#include <optional>
#include <string>

namespace GeneralStuff {

// "85", "95.25", "-0.25", "0.0625", "on": the number in the field's unit, or on/off for a flag.
std::string FieldValueText(const Chip::Field& field, double value);

// The value a user's text gives: a number, with the field's unit or without ("95.25", "95.25C",
// "95.25 °C", "16Hz"; the unit in any case), or on/off for a flag. None, with the refusal, for
// any other text: nothing is guessed. The value is not checked against the field's range.
std::optional<double> ParseFieldValue(const Chip::Field& field, const std::string& text, std::string& refusal);

}  // namespace GeneralStuff
