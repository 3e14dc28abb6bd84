#include "cli/commands/FieldSettings.h"

#include "registers/FieldCodes.h"
#include "registers/FieldValueText.h"

#include <QFile>
#include <algorithm>

namespace {

// A settings file is a page of text; anything much larger is not one.
constexpr qint64 MaxSettingsFileBytes = 1 << 20;

const Chip::Field& ExtendedRangeField() { return *Chip::FindField("extended-range"); }

// Fields are told apart by name: the table is a constant of every file that includes it, so two
// files may hold the same field at two addresses.
bool SameField(const Chip::Field* a, const Chip::Field& b) { return std::string_view(a->name) == b.name; }

std::string FieldNames() {
    std::string names;
    for (const Chip::Field& field : Chip::Fields) names += (names.empty() ? "" : ", ") + std::string(field.name);
    return names;
}

std::string Trimmed(const std::string& text) {
    const size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos) return {};
    return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

}  // namespace

const Chip::Field* FindFieldNamed(const std::string& name, std::string& refusal) {
    const Chip::Field* field = Chip::FindField(name);
    if (!field) refusal = "There is no field '" + name + "': the fields are " + FieldNames() + ".";
    return field;
}

std::optional<FieldSetting> ReadFieldSetting(const std::string& pair, const std::string& where, std::string& refusal) {
    const size_t equals = pair.find('=');
    if (equals == std::string::npos) {
        refusal = where + ": give FIELD=VALUE, as local-high=90.";
        return std::nullopt;
    }
    std::string why;
    const Chip::Field* field = FindFieldNamed(Trimmed(pair.substr(0, equals)), why);
    const auto value = field ? GeneralStuff::ParseFieldValue(*field, pair.substr(equals + 1), why) : std::nullopt;
    if (!value) {
        refusal = where + ": " + why + (field ? "." : "");
        return std::nullopt;
    }
    return FieldSetting{field, *value, where};
}

std::optional<std::vector<FieldSetting>> ReadSettingsFile(const QString& path, std::string& refusal) {
    const std::string name = path.toStdString();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        refusal = "could not read " + name + ": " + file.errorString().toStdString();
        return std::nullopt;
    }
    QByteArray text = file.read(MaxSettingsFileBytes + 1);
    if (text.size() > MaxSettingsFileBytes) {
        refusal = name + " is no settings file: it is larger than a megabyte.";
        return std::nullopt;
    }
    // An editor on Windows may begin a UTF-8 file with a byte-order mark.
    if (text.startsWith("\xEF\xBB\xBF")) text.remove(0, 3);
    std::vector<FieldSetting> settings;
    const QList<QByteArray> lines = text.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        std::string line = lines[i].toStdString();
        line = Trimmed(line.substr(0, line.find('#')));
        if (!line.empty() && line.back() == '\r') line = Trimmed(line.substr(0, line.size() - 1));
        if (line.empty()) continue;
        const auto setting = ReadFieldSetting(line, name + ":" + std::to_string(i + 1) + ": " + line, refusal);
        if (!setting) return std::nullopt;
        settings.push_back(*setting);
    }
    if (settings.empty()) {
        refusal = name + " holds no FIELD=VALUE line.";
        return std::nullopt;
    }
    return settings;
}

std::optional<bool> RangeModeAfter(const std::vector<FieldSetting>& settings, std::optional<bool> chipExtendedRange) {
    for (const FieldSetting& s : settings)
        if (SameField(s.field, ExtendedRangeField())) return s.value != 0;
    return chipExtendedRange;
}

std::string SettingsRefusal(const std::vector<FieldSetting>& settings, std::optional<bool> chipExtendedRange) {
    const std::optional<bool> mode = RangeModeAfter(settings, chipExtendedRange);
    for (auto s = settings.begin(); s != settings.end(); ++s) {
        const auto twice = std::find_if(settings.begin(), s, [&](const FieldSetting& o) { return SameField(o.field, *s->field); });
        if (twice != s) return s->where + ": " + s->field->name + " is given twice (also " + twice->where + ").";
        const std::string why = GeneralStuff::FieldValueRefusal(*s->field, s->value, mode.value_or(false));
        if (!why.empty() && (mode || !GeneralStuff::FieldValueRefusal(*s->field, s->value, true).empty()))
            return s->where + ": " + why + ".";
    }
    return {};
}

std::vector<const Chip::Field*> UnnamedRangeFields(const std::vector<FieldSetting>& settings) {
    std::vector<const Chip::Field*> fields;
    for (const Chip::Field& field : Chip::Fields) {
        const bool followsRange =
            field.encoding == Chip::Encoding::TemperatureCode || field.encoding == Chip::Encoding::RemoteTenBit;
        const bool named = std::any_of(settings.begin(), settings.end(), [&](const FieldSetting& s) { return SameField(s.field, field); });
        if (followsRange && !named) fields.push_back(&field);
    }
    return fields;
}

std::vector<FieldSetting> WriteOrder(const std::vector<FieldSetting>& settings) {
    std::vector<FieldSetting> order = settings;
    std::stable_partition(order.begin(), order.end(), [](const FieldSetting& s) { return SameField(s.field, ExtendedRangeField()); });
    return order;
}

std::string FieldsHelp() {
    std::string text;
    for (const Chip::Field& field : Chip::Fields) {
        std::string name = field.name;
        name.resize(std::max<size_t>(name.size(), 20), ' ');
        text += "  " + name + " " + GeneralStuff::FieldValuesText(field) + "\n";
    }
    return text;
}
