#include "cli/sweep/SweepPlan.h"

#include "board/BoardChoice.h"
#include "cli/DurationArgument.h"
#include "cli/commands/FieldSettings.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <sstream>
#include <toml++/toml.h>

namespace {

using Instruments::Driver;
using Instruments::InstrumentSettings;

// The most steps a plan may make with from, to and step: a typo (step = 0.001) is refused,
// not run for a year.
constexpr size_t MostSteps = 1000;
constexpr int64_t Day = 86400000;

// The first problem found, with the line it was found at.
struct PlanError {
    int64_t line;
    std::string what;
};

int64_t LineOf(const toml::node& node) { return static_cast<int64_t>(node.source().begin.line); }

std::optional<double> NumberOf(const toml::node& node) {
    if (const auto* i = node.as_integer()) return static_cast<double>(i->get());
    if (const auto* f = node.as_floating_point())
        if (std::isfinite(f->get())) return f->get();
    return std::nullopt;
}

double Number(const toml::node& node, const std::string& key) {
    const auto value = NumberOf(node);
    if (!value) throw PlanError{LineOf(node), key + " takes a number"};
    return *value;
}

double Positive(const toml::node& node, const std::string& key) {
    const double value = Number(node, key);
    if (value <= 0) throw PlanError{LineOf(node), key + " takes a number above 0"};
    return value;
}

std::string Text(const toml::node& node, const std::string& key) {
    const auto* text = node.as_string();
    if (!text || text->get().empty()) throw PlanError{LineOf(node), key + " takes a text in double quotes"};
    return text->get();
}

int Integer(const toml::node& node, const std::string& key, int64_t lowest, int64_t highest) {
    const auto* value = node.as_integer();
    if (!value || value->get() < lowest || value->get() > highest)
        throw PlanError{LineOf(node), key + " takes a whole number from " + std::to_string(lowest) + " to " +
                                          std::to_string(highest)};
    return static_cast<int>(value->get());
}

// A time with the command line's units ("5min", "500ms"), or a bare number of seconds.
int64_t DurationMs(const toml::node& node, const std::string& key) {
    std::optional<int64_t> ms;
    if (const auto* text = node.as_string()) ms = ParseDurationMs(text->get(), 1000, Day);
    else if (const auto seconds = NumberOf(node); seconds && *seconds >= 0 && *seconds <= Day / 1000)
        ms = std::llround(*seconds * 1000);
    if (!ms) throw PlanError{LineOf(node), key + " takes a time up to 24h: \"500ms\", \"2s\", \"5min\", \"1h\""};
    return *ms;
}

Driver DriverNamed(const toml::node& node, bool chamber) {
    const std::string name = Text(node, "driver");
    if (name == "sim") return Driver::Sim;
    if (name == "scpi") return Driver::Scpi;
    if (name == "command") return Driver::Command;
    if (chamber && name == "modbus") return Driver::Modbus;
    if (!chamber && name == "none") return Driver::None;
    throw PlanError{LineOf(node), chamber ? "driver is sim, scpi, modbus or command, not '" + name + "'"
                                          : "driver is sim, scpi, command or none, not '" + name + "'"};
}

Instruments::ModbusFormat FormatNamed(const toml::node& node) {
    const std::string name = Text(node, "format");
    if (name == "float32") return Instruments::ModbusFormat::Float32;
    if (name == "float32-swapped") return Instruments::ModbusFormat::Float32Swapped;
    if (name == "int16") return Instruments::ModbusFormat::Int16;
    throw PlanError{LineOf(node), "format is float32, float32-swapped or int16, not '" + name + "'"};
}

const toml::table& Table(const toml::node& node, const std::string& name) {
    const auto* table = node.as_table();
    if (!table) throw PlanError{LineOf(node), "[" + name + "] must be a table"};
    return *table;
}

[[noreturn]] void Unknown(const toml::key& key, const std::string& table) {
    throw PlanError{static_cast<int64_t>(key.source().begin.line),
                    "there is no key '" + std::string(key.str()) + "' in [" + table + "]"};
}

// The keys each driver takes besides driver and timeout.
bool DriverTakes(Driver driver, const std::string& key) {
    switch (driver) {
    case Driver::Scpi: return key == "address" || key == "set" || key == "read";
    case Driver::Command: return key == "set" || key == "read";
    case Driver::Modbus:
        return key == "address" || key == "unit" || key == "setpoint-register" || key == "reading-register" ||
               key == "format" || key == "scale";
    default: return false;
    }
}

// [chamber] or [reference]: the driver first, so that each key is checked against it.
InstrumentSettings ReadInstrument(const toml::table& table, const std::string& name, double* safe) {
    InstrumentSettings s;
    const bool chamber = safe != nullptr;
    const toml::node* driver = table.get("driver");
    if (!driver) throw PlanError{LineOf(table), "[" + name + "] needs a driver"};
    s.driver = DriverNamed(*driver, chamber);
    for (const auto& [key, node] : table) {
        const std::string k(key.str());
        if (k == "driver") continue;
        if (k == "timeout") s.timeoutMs = static_cast<int32_t>(DurationMs(node, k));
        else if (chamber && k == "safe") *safe = Number(node, k);
        else if (!DriverTakes(s.driver, k) || (!chamber && k == "set")) Unknown(key, name);
        else if (k == "address") s.address = Text(node, k);
        else if (k == "set") s.set = Text(node, k);
        else if (k == "read") s.read = Text(node, k);
        else if (k == "unit") s.unit = Integer(node, k, 0, 255);
        else if (k == "setpoint-register") s.setpointRegister = Integer(node, k, 0, 65535);
        else if (k == "reading-register") s.readingRegister = Integer(node, k, 0, 65535);
        else if (k == "format") s.format = FormatNamed(node);
        else if (k == "scale") s.scale = Positive(node, k);
    }
    std::vector<const char*> needed;
    if (s.driver == Driver::Scpi) needed = {"address", "read"};
    if (s.driver == Driver::Modbus) needed = {"address", "setpoint-register", "reading-register"};
    if (s.driver == Driver::Command) needed = {"read"};
    if (chamber && (s.driver == Driver::Scpi || s.driver == Driver::Command)) needed.push_back("set");
    for (const char* key : needed)
        if (!table.contains(key)) throw PlanError{LineOf(table), "[" + name + "] driver needs " + key};
    if (!s.set.empty() && s.set.find("{setpoint}") == std::string::npos)
        throw PlanError{LineOf(*table.get("set")), "set must hold {setpoint} where the number goes"};
    return s;
}

void ReadChip(const toml::table& table, const QString& planPath, SweepPlan& plan) {
    for (const auto& [key, node] : table) {
        const std::string k(key.str());
        if (k == "address") {
            plan.address = Integer(node, k, USBStuff::FirstBusAddress, USBStuff::LastBusAddress);
        } else if (k == "apply") {
            const QString name = QString::fromStdString(Text(node, k));
            plan.applyFile = QDir::cleanPath(QFileInfo(planPath).absoluteDir().absoluteFilePath(name));
            std::string refusal;
            const auto settings = ReadSettingsFile(plan.applyFile, refusal);
            if (settings) refusal = SettingsRefusal(*settings, std::nullopt);
            if (!refusal.empty()) throw PlanError{LineOf(node), refusal};
            plan.apply = *settings;
        } else {
            Unknown(key, "chip");
        }
    }
}

std::vector<double> RangeOfSetpoints(const toml::table& table) {
    for (const char* key : {"from", "to", "step"})
        if (!table.contains(key)) throw PlanError{LineOf(table), std::string("[steps] needs ") + key + " with from, to and step"};
    const double from = Number(*table.get("from"), "from");
    const double to = Number(*table.get("to"), "to");
    const double step = Positive(*table.get("step"), "step");
    const double count = std::floor(std::abs(to - from) / step + 1e-9) + 1;
    if (count > MostSteps)
        throw PlanError{LineOf(*table.get("step")), "from, to and step make more than " + std::to_string(MostSteps) + " steps"};
    std::vector<double> setpoints;
    const double sign = to < from ? -1 : 1;
    for (size_t i = 0; i < static_cast<size_t>(count); ++i) setpoints.push_back(from + sign * step * static_cast<double>(i));
    return setpoints;
}

void ReadSteps(const toml::table& table, SweepPlan& plan) {
    bool range = false;
    for (const auto& [key, node] : table) {
        const std::string k(key.str());
        if (k == "setpoints") {
            const auto* list = node.as_array();
            if (!list || list->empty() || list->size() > MostSteps)
                throw PlanError{LineOf(node), "setpoints takes a list of 1 to " + std::to_string(MostSteps) + " numbers"};
            for (const toml::node& item : *list) plan.setpoints.push_back(Number(item, "each setpoint"));
        } else if (k == "from" || k == "to" || k == "step") {
            range = true;
        } else if (k == "window") {
            plan.window = Positive(node, k);
        } else if (k == "stable-for") {
            plan.stableForS = static_cast<double>(DurationMs(node, k)) / 1000.0;
        } else if (k == "record" || k == "timeout") {
            const int64_t ms = DurationMs(node, k);
            if (ms == 0) throw PlanError{LineOf(node), k + " takes a time above 0"};
            (k == "record" ? plan.recordS : plan.timeoutS) = static_cast<double>(ms) / 1000.0;
        } else if (k == "interval") {
            plan.intervalMs = static_cast<int32_t>(DurationMs(node, k));
        } else {
            Unknown(key, "steps");
        }
    }
    if (range && !plan.setpoints.empty())
        throw PlanError{LineOf(table), "[steps] takes setpoints, or from, to and step, not both"};
    if (range) plan.setpoints = RangeOfSetpoints(table);
    if (plan.setpoints.empty()) throw PlanError{LineOf(table), "[steps] needs setpoints, or from, to and step"};
}

void ReadPass(const toml::table& table, SweepPlan& plan) {
    for (const auto& [key, node] : table) {
        const std::string k(key.str());
        if (k == "local") plan.passLocal = Positive(node, k);
        else if (k == "remote") plan.passRemote = Positive(node, k);
        else Unknown(key, "pass");
    }
}

void AddInstrument(std::ostringstream& text, const InstrumentSettings& s) {
    text << static_cast<int>(s.driver) << '|' << s.address << '|' << s.set << '|' << s.read << '|' << s.unit << '|'
         << s.setpointRegister << '|' << s.readingRegister << '|' << static_cast<int>(s.format) << '|' << s.scale << ';';
}

// Sixteen hex digits of a hash of every value that decides what a step does and what passes.
std::string Fingerprint(const SweepPlan& plan) {
    std::ostringstream text;
    text.imbue(std::locale::classic());
    text.precision(17);
    for (const double setpoint : plan.setpoints) text << setpoint << ',';
    text << ';' << plan.window << ';' << plan.stableForS << ';' << plan.recordS << ';' << plan.timeoutS << ';'
         << plan.intervalMs << ';' << plan.passLocal << ';' << plan.passRemote << ';' << plan.safe << ';'
         << plan.address.value_or(-1) << ';';
    AddInstrument(text, plan.chamber);
    AddInstrument(text, plan.reference);
    for (const FieldSetting& s : plan.apply) text << s.field->name << '=' << s.value << ',';
    const QByteArray hash = QCryptographicHash::hash(QByteArray::fromStdString(text.str()), QCryptographicHash::Sha256);
    return hash.toHex().left(16).toStdString();
}

}  // namespace

std::optional<SweepPlan> ReadSweepPlan(const QString& path, std::string& refusal) {
    const std::string name = path.toStdString();
    SweepPlan plan;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        refusal = name + ": could not be read: " + file.errorString().toStdString();
        return std::nullopt;
    }
    file.close();
    try {
        const toml::table root = toml::parse_file(name);
        bool hasChamber = false;
        bool hasSteps = false;
        for (const auto& [key, node] : root) {
            const std::string k(key.str());
            if (k == "chip") ReadChip(Table(node, k), path, plan);
            else if (k == "chamber") plan.chamber = ReadInstrument(Table(node, k), k, &plan.safe), hasChamber = true;
            else if (k == "reference") plan.reference = ReadInstrument(Table(node, k), k, nullptr);
            else if (k == "steps") ReadSteps(Table(node, k), plan), hasSteps = true;
            else if (k == "pass") ReadPass(Table(node, k), plan);
            else throw PlanError{static_cast<int64_t>(key.source().begin.line), "there is no table [" + k + "]"};
        }
        if (!hasChamber) throw PlanError{1, "the plan needs a [chamber] with its driver"};
        if (!hasSteps) throw PlanError{1, "the plan needs [steps] with its setpoints"};
        if (!root.contains("reference")) plan.reference.driver = Driver::None;
    } catch (const toml::parse_error& error) {
        refusal = name + ":" + std::to_string(error.source().begin.line) + ": " + std::string(error.description());
        return std::nullopt;
    } catch (const PlanError& error) {
        refusal = name + ":" + std::to_string(error.line) + ": " + error.what;
        return std::nullopt;
    }
    plan.fingerprint = Fingerprint(plan);
    return plan;
}
