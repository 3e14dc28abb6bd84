#pragma once
// The fields a user names and the FIELD=VALUE pairs a user gives, on the command line or in a
// settings file, read and checked before anything is written to the chip.
#include "cli/CliRequest.h"

#include <QString>
#include <optional>
#include <string>
#include <vector>

// The field of that name; null, with the refusal, for a name that is no field.
const Chip::Field* FindFieldNamed(const std::string& name, std::string& refusal);

// "FIELD=VALUE" (blanks around either are dropped); none, with the refusal, for a pair that
// names no field or gives a value that is not in the field's unit.
std::optional<FieldSetting> ReadFieldSetting(const std::string& pair, const std::string& where, std::string& refusal);

// A settings file: one FIELD=VALUE a line; blank lines and # comments (after a pair as well)
// are left out. None, with the refusal naming the file and the line, for a file that cannot
// be read, a line that is no setting, or a file without one.
std::optional<std::vector<FieldSetting>> ReadSettingsFile(const QString& path, std::string& refusal);

// The range mode the chip will be in: extended-range among the settings, else the chip's own.
std::optional<bool> RangeModeAfter(const std::vector<FieldSetting>& settings, std::optional<bool> chipExtendedRange);

// The first refusal among the settings, as "WHERE: why": a field given twice, or a value the
// field cannot hold in the range mode the chip will be in. With that mode not yet known, a
// value is refused only when neither mode takes it. Empty when every setting can be written.
std::string SettingsRefusal(const std::vector<FieldSetting>& settings, std::optional<bool> chipExtendedRange);

// The fields whose codes mean other degrees in the other range mode (the limits) that the
// settings do not name: a change of range mode re-codes them so that they keep their degrees.
std::vector<const Chip::Field*> UnnamedRangeFields(const std::vector<FieldSetting>& settings);

// The settings in the order they are written: extended-range first, so that every limit is
// coded in the range it is written for; the others as given.
std::vector<FieldSetting> WriteOrder(const std::vector<FieldSetting>& settings);

// Every field with the values it takes, one a line, for the help.
std::string FieldsHelp();
