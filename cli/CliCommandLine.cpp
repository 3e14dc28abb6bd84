#include "cli/CliCommandLine.h"

#include "board/BoardOptions.h"
#include "cli/DurationArgument.h"
#include "cli/commands/FieldSettings.h"
#include "cli/monitor/AlarmCommand.h"
#include "cli/monitor/SameFile.h"
#include "cli/text/RegisterArgument.h"
#include "registers/IntegerArgument.h"
#include "registers/RegMapStuff.h"
#include "state/GeneralStuff.h"

#include <QCommandLineParser>
#include <QFile>
#include <algorithm>

namespace {

// The options that only some commands take.
enum CommandOption : unsigned {
    NoOptions = 0,
    MonitorOptions = 1,  // --interval, --duration, --count: monitor and watch
    RawOption = 2,       // --raw
    SaveOptions = 4,     // --comment, --all
    RunOptions = 8,      // --keep-going, --max-gap, --on-alarm: monitor and watch
    LogOptions = 16,     // --output, --limits: monitor only
    AlarmOption = 32,    // --fail-on-alarm
    ServeOptions = 64,   // --listen, --min-interval, --address more than once
    FieldOptions = 128,  // --keep-codes: set and apply
    SweepOptions = 256,  // --fit-offset, --write-offset, --resume
    CheckOption = 512,   // --check: apply
    EventsOption = 1024,  // --events: monitor, sweep and mark
};

struct CommandSpec {
    const char* name;
    CliCommand command;
    const char* arguments;  // as the help shows them
    int minArguments;
    int maxArguments;  // -1: any number
    unsigned options;
    const char* summary;
};

constexpr CommandSpec Commands[] = {
    {"scan", CliCommand::Scan, "", 0, 0, NoOptions, "every address from 0x18 to 0x4E, or the --address, where the chip's id answers"},
    {"temps", CliCommand::Temps, "", 0, 0, AlarmOption, "one reading: local and remote \u00B0C, and the alarm flags by name"},
    {"read", CliCommand::Read, "REG...", 1, -1, NoOptions, "each register: name, address, hex, decimal and meaning"},
    {"write", CliCommand::Write, "REG VALUE", 2, 2, NoOptions, "writes VALUE (0 to 255) at the register's write address"},
    {"dump", CliCommand::Dump, "", 0, 0, RawOption, "every named register as read shows it; --raw adds all 256 addresses"},
    {"monitor", CliCommand::Monitor, "", 0, 0, MonitorOptions | RunOptions | LogOptions | EventsOption,
     "readings as CSV until --duration, --count, Ctrl+C or SIGTERM"},
    {"watch", CliCommand::Watch, "", 0, 0, MonitorOptions | RunOptions,
     "the monitor's events as they come: alarms raised and cleared, the board lost and back"},
    {"get", CliCommand::Get, "[FIELD...]", 0, -1, NoOptions, "each field, or every field, as FIELD=VALUE in \u00B0C, Hz or on/off"},
    {"set", CliCommand::Set, "FIELD=VALUE...", 1, -1, FieldOptions,
     "sets the fields, every value checked first; shows them read back, as get"},
    {"apply", CliCommand::Apply, "FILE", 1, 1, FieldOptions | CheckOption,
     "set with the FIELD=VALUE lines of a file (# comments); get > FILE makes one"},
    {"save", CliCommand::Save, "FILE", 1, 1, SaveOptions, "the writable registers to a .sav file"},
    {"recall", CliCommand::Recall, "FILE", 1, 1, NoOptions, "writes the registers of a .sav file into the chip"},
    {"serve", CliCommand::Serve, "", 0, 0, ServeOptions,
     "metrics for Prometheus at http://--listen/metrics, one --address per chip; never writes"},
    {"sweep", CliCommand::Sweep, "PLAN", 1, 1, LogOptions | EventsOption | SweepOptions,
     "steps a chamber through a TOML plan's setpoints: the chip against a reference at each, to --output"},
    {"mark", CliCommand::Mark, "TEXT...", 1, -1, EventsOption,
     "appends a mark with the TEXT to the --events FILE, safely beside a monitor"},
};

struct Options {
    QCommandLineOption help{{"h", "help"}, "Show this help and end."};
    QCommandLineOption version{{"v", "version"}, "Show the program's name and version and end."};
    QCommandLineOption json{"json", "One JSON object per answer (per reading for monitor, per event for "
                                "watch) instead of text."};
    QCommandLineOption interval{"interval", "monitor, watch: the time from one reading to the next, 100ms, 2s, 5min "
                                            "or 8h; a bare number is milliseconds (default 1000; 0: as fast as the "
                                            "board answers).", "TIME"};
    QCommandLineOption duration{"duration", "monitor, watch: end after this time (a bare number is seconds).", "TIME"};
    QCommandLineOption limits{"limits", "monitor: add the six limits in \u00B0C (local_high_C ... remote_therm_C), read "
                                        "at the start and then at most once a second."};
    QCommandLineOption keepGoing{"keep-going", "monitor, watch: a failed reading does not end the run: the board is "
                                               "reconnected, pausing longer each time up to 5 s, and the readings "
                                               "take up their schedule at the next slot."};
    QCommandLineOption maxGap{"max-gap", "monitor, watch with --keep-going: end with status 1 once the board has not "
                                         "answered for longer than this (a bare number is seconds; default: no "
                                         "limit).", "TIME"};
    QCommandLineOption events{"events", "monitor, sweep: append the events to FILE, one JSON object a line: started, "
                                        "ended, alarm-raised, alarm-cleared, board-lost, board-back, "
                                        "command-ended; a sweep adds step-started, step-stable, "
                                        "step-recorded and step-unsettled; mark: append a mark to it.", "FILE"};
    QCommandLineOption onAlarm{"on-alarm", QStringLiteral("monitor, watch: run CMD through %1 at each alarm raised and "
                                           "cleared, with KTS_EVENT, KTS_FLAG, KTS_LOCAL_C, KTS_REMOTE_C and "
                                           "KTS_TIME set; the readings never wait for it, and it is not started "
                                           "again while it runs.").arg(QLatin1String(AlarmCommand::ShellName())), "CMD"};
    QCommandLineOption count{"count", "monitor, watch: end after this many readings.", "N"};
    QCommandLineOption output{"output", "monitor, sweep: append the readings to FILE (never truncated; the header only "
                                        "into an empty file); - is standard output (default).", "FILE"};
    QCommandLineOption raw{"raw", "dump: add a 16 x 16 grid of all 256 addresses, as i2cdump lays it out."};
    QCommandLineOption comment{"comment", "save: the file's comment line.", "TEXT"};
    QCommandLineOption all{"all", "save: every writable register, not only those that differ from their defaults."};
    QCommandLineOption failOnAlarm{"fail-on-alarm", "temps: exit status 3 when an alarm flag (any but the busy bit) is set."};
    QCommandLineOption listen{"listen", "serve: the IPv4 address and port to listen at (default 127.0.0.1:9320, "
                                        "loopback only; 0.0.0.0:9320 for every interface).", "HOST:PORT"};
    QCommandLineOption minInterval{"min-interval", "serve: scrapes within this time of the last reading share it "
                                                   "instead of reading the chips, e.g. 500ms or 2s; a bare number is "
                                                   "milliseconds (default 500).", "TIME"};
    QCommandLineOption keepCodes{"keep-codes", "set, apply: when extended-range changes, keep the codes of the limits "
                                               "not set, so that each means 64 \u00B0C less or more; by default "
                                               "each is re-coded to keep its \u00B0C."};
    QCommandLineOption fitOffset{"fit-offset", "sweep: print the remote offset that best removes the remote error, "
                                               "the residual error per step and the error's slope."};
    QCommandLineOption writeOffset{"write-offset", "sweep with --fit-offset: write that offset, read it back, and "
                                                   "record one more step at the setpoint nearest 25 \u00B0C."};
    QCommandLineOption resume{"resume", "sweep: continue a stopped sweep of the same plan at its first unfinished "
                                        "step, appending to --output and its .steps.csv."};
    QCommandLineOption check{"check", "apply: write nothing; print each field whose value in the chip differs "
                                      "from the file's as FIELD: file VALUE, chip VALUE (status 1 when any does)."};
    BoardOptions board;

    std::vector<std::pair<const QCommandLineOption*, unsigned>> Limited() const {
        return {{&interval, MonitorOptions}, {&duration, MonitorOptions}, {&count, MonitorOptions},
                {&output, LogOptions}, {&raw, RawOption}, {&comment, SaveOptions}, {&all, SaveOptions},
                {&limits, LogOptions}, {&events, EventsOption}, {&keepGoing, RunOptions}, {&maxGap, RunOptions},
                {&onAlarm, RunOptions}, {&failOnAlarm, AlarmOption}, {&listen, ServeOptions},
                {&minInterval, ServeOptions}, {&keepCodes, FieldOptions}, {&check, CheckOption},
                {&fitOffset, SweepOptions}, {&writeOffset, SweepOptions}, {&resume, SweepOptions}};
    }
};

QString Description() {
    QString text = QStringLiteral(
        "Reads, sets and logs the KTS9320B temperature monitor on its evaluation board from a terminal\n"
        "or a script, without a display.\n\nCommands:\n");
    for (const CommandSpec& spec : Commands)
        text += QStringLiteral("  %1 %2\n")
                    .arg(QStringLiteral("%1 %2").arg(QLatin1String(spec.name), QLatin1String(spec.arguments)), -20)
                    .arg(QString::fromUtf8(spec.summary));
    return text + QStringLiteral(
                      "REG is a register name in any case (status, \"Local Temp High Limit\") or an "
                      "address (0x05 or 5).\nFIELD is one of these; a VALUE may carry its unit (95.25, 95.25C, "
                      "16Hz, on), and is never\nrounded:\n") + QString::fromStdString(FieldsHelp());
}

QString HelpText(const QCommandLineParser& parser) {
    QString text = parser.helpText();
    text.replace(0, text.indexOf('\n'), QStringLiteral("Usage: %1 [options] COMMAND [ARGS]").arg(QLatin1String(CliName)));
    text += QStringLiteral(
        "\nExit status:\n  0  success\n  1  the board or the chip failed; the message names the step "
        "(driver, firmware,\n     connect, no chip, transfer); or a field set reads back otherwise, named;\n"
        "     with --keep-going, a gap past --max-gap; apply --check: a field that\n"
        "     differs from the file's; mark: an events file that cannot be written\n"
        "  2  a usage error or bad input: an unknown command, register, field or option, a\n     value out of range "
        "or not held exactly, a file that cannot be read or written;\n     for serve, an address it cannot listen at\n"
        "  3  temps --fail-on-alarm: an alarm flag (any but the busy bit) is set\n"
        "  4  sweep: a step did not settle or did not pass, or the sweep was stopped\n");
    return text + QStringLiteral("\nFiles:\n") + DriverFilesHelp() + DriverEnvironmentHelp();
}

CliAnswer Refusal(const QString& reason) {
    return {ExitUsage, {}, QStringLiteral("%1: %2 Try '%1 --help'.\n").arg(QLatin1String(CliName), reason).toStdString()};
}

const CommandSpec* FindCommand(const QString& name) {
    for (const CommandSpec& spec : Commands)
        if (name == QLatin1String(spec.name)) return &spec;
    return nullptr;
}

// Fills the monitor settings; an error text for a value that cannot be used.
QString ReadMonitorOptions(const QCommandLineParser& parser, const Options& o, MonitorSettings& monitor) {
    constexpr int64_t Day = 86400000;
    if (parser.isSet(o.interval)) {
        const auto ms = ParseDurationMs(parser.value(o.interval).toStdString(), 1, Day);
        if (!ms)
            return QStringLiteral("--interval takes a time from 0 to 24h (100ms, 2s, 5min; a bare number is "
                                  "milliseconds), not '%1'.").arg(parser.value(o.interval));
        monitor.intervalMs = static_cast<int32_t>(*ms);
    }
    // A run may last a year; a gap may be as long.
    constexpr int64_t Year = 366 * Day;
    if (parser.isSet(o.duration)) {
        const auto ms = ParseDurationMs(parser.value(o.duration).toStdString(), 1000, Year);
        if (!ms || *ms == 0)
            return QStringLiteral("--duration takes a time above 0 (2s, 5min, 8h; a bare number is seconds), "
                                  "not '%1'.").arg(parser.value(o.duration));
        monitor.durationS = static_cast<double>(*ms) / 1000.0;
    }
    if (parser.isSet(o.maxGap)) {
        const auto ms = ParseDurationMs(parser.value(o.maxGap).toStdString(), 1000, Year);
        if (!ms)
            return QStringLiteral("--max-gap takes a time (2s, 5min, 8h; a bare number is seconds), not '%1'.")
                .arg(parser.value(o.maxGap));
        if (!parser.isSet(o.keepGoing)) return QStringLiteral("--max-gap needs --keep-going.");
        monitor.maxGapS = static_cast<double>(*ms) / 1000.0;
    }
    monitor.limits = parser.isSet(o.limits);
    monitor.keepGoing = parser.isSet(o.keepGoing);
    if (parser.isSet(o.events)) {
        monitor.events = parser.value(o.events);
        if (monitor.events.isEmpty()) return QStringLiteral("--events needs a file name, or - for standard output.");
    }
    if (parser.isSet(o.onAlarm)) {
        monitor.onAlarm = parser.value(o.onAlarm);
        if (monitor.onAlarm.trimmed().isEmpty()) return QStringLiteral("--on-alarm needs a command.");
    }
    if (parser.isSet(o.count)) {
        const auto count = GeneralStuff::ParseIntegerArgument(parser.value(o.count).toStdString());
        if (!count || *count < 1)
            return QStringLiteral("--count takes a number of readings from 1, not '%1'.").arg(parser.value(o.count));
        monitor.count = *count;
    }
    if (parser.isSet(o.output)) {
        monitor.output = parser.value(o.output);
        if (monitor.output.isEmpty()) return QStringLiteral("--output needs a file name, or - for standard output.");
    }
    if (monitor.events == QLatin1String("-") && monitor.output == QLatin1String("-"))
        return QStringLiteral("--events - needs the readings in a file (--output FILE).");
    if (!monitor.events.isEmpty() &&
        SameFile(QFile::encodeName(monitor.events).toStdString(), QFile::encodeName(monitor.output).toStdString()))
        return QStringLiteral("--events '%1' and --output '%2' name the same file.").arg(monitor.events, monitor.output);
    return QString();
}

// Fills the serve settings; an error text for a value that cannot be used.
QString ReadServeOptions(const QCommandLineParser& parser, const Options& o, ServeSettings& serve) {
    if (parser.isSet(o.listen)) serve.listen = parser.value(o.listen);  // checked when it listens
    if (parser.isSet(o.minInterval)) {
        const auto ms = ParseDurationMs(parser.value(o.minInterval).toStdString(), 1, 3600000);
        if (!ms)
            return QStringLiteral("--min-interval takes a time from 0 to 1h (500ms, 2s; a bare number is "
                                  "milliseconds), not '%1'.").arg(parser.value(o.minInterval));
        serve.minIntervalMs = static_cast<int32_t>(*ms);
    }
    const QString problem = o.board.ReadAddresses(parser, serve.addresses);
    std::sort(serve.addresses.begin(), serve.addresses.end());
    serve.addresses.erase(std::unique(serve.addresses.begin(), serve.addresses.end()), serve.addresses.end());
    return problem;
}

// The plan, and an output the steps' file can be named after.
QString SweepArguments(const QString& plan, CliRequest& request) {
    request.file = plan;
    if (plan.isEmpty()) return QStringLiteral("sweep needs a plan file.");
    if (request.monitor.limits) return QStringLiteral("sweep always writes the limits' columns: leave out --limits.");
    if (request.monitor.output == QLatin1String("-")) return QStringLiteral("sweep needs --output RUN.csv.");
    if (request.sweep.writeOffset && !request.sweep.fitOffset) return QStringLiteral("--write-offset needs --fit-offset.");
    return QString();
}

// Fills the command's arguments; an error text for one that cannot be used.
QString ReadArguments(const CommandSpec& spec, const QStringList& args, CliRequest& request) {
    std::string refusal;
    switch (spec.command) {
    case CliCommand::Read:
        for (const QString& arg : args) {
            const auto target = ReadTarget(arg.toStdString(), refusal);
            if (!target) return QString::fromStdString(refusal);
            request.registers.push_back(*target);
        }
        break;
    case CliCommand::Write: {
        const auto target = WriteTarget(args[0].toStdString(), refusal);
        if (!target) return QString::fromStdString(refusal);
        request.registers.push_back(*target);
        const auto value = GeneralStuff::ParseIntegerArgument(args[1].toStdString());
        if (!value || *value > 255)
            return QStringLiteral("'%1' is not a register value: give 0 to 255 (0x00 to 0xFF).").arg(args[1]);
        request.value = *value;
        break;
    }
    case CliCommand::Get:
        for (const QString& arg : args) {
            const Chip::Field* field = FindFieldNamed(arg.toStdString(), refusal);
            if (!field) return QString::fromStdString(refusal);
            request.fields.push_back(field);
        }
        break;
    case CliCommand::Set:
        for (const QString& arg : args) {
            const auto setting = ReadFieldSetting(arg.toStdString(), arg.toStdString(), refusal);
            if (!setting) return QString::fromStdString(refusal);
            request.settings.push_back(*setting);
        }
        return QString::fromStdString(SettingsRefusal(request.settings, std::nullopt));
    case CliCommand::Sweep:
        return SweepArguments(args[0], request);
    case CliCommand::Save:
    case CliCommand::Recall:
    case CliCommand::Apply:
        request.file = args[0];
        if (request.file.isEmpty()) return QStringLiteral("%1 needs a file name.").arg(spec.name);
        break;
    case CliCommand::Mark:
        request.file = request.monitor.events;
        if (request.file.isEmpty() || request.file == QLatin1String("-"))
            return QStringLiteral("mark needs the events file: --events FILE.");
        request.text = args.join(QLatin1Char(' ')).toStdString();
        if (args.join(QString()).trimmed().isEmpty()) return QStringLiteral("mark needs a text.");
        break;
    default:
        break;
    }
    return QString();
}

}  // namespace

std::variant<CliRequest, CliAnswer> ParseCliArguments(const QStringList& arguments) {
    RegMapStuff::BuildRegTable();
    const Options o;
    QCommandLineParser parser;
    parser.setApplicationDescription(Description());
    for (const QCommandLineOption* option : {&o.help, &o.version, &o.json, &o.interval, &o.duration, &o.count,
                                             &o.output, &o.limits, &o.keepGoing, &o.maxGap, &o.events, &o.onAlarm,
                                             &o.raw, &o.comment, &o.all, &o.failOnAlarm, &o.listen, &o.minInterval,
                                             &o.keepCodes, &o.check, &o.fitOffset, &o.writeOffset, &o.resume})
        parser.addOption(*option);
    o.board.AddTo(parser);

    if (!parser.parse(arguments)) return Refusal(parser.errorText());
    if (parser.isSet(o.version))
        return CliAnswer{ExitSuccess, QStringLiteral("%1 %2\n").arg(QLatin1String(CliName), GeneralStuff::VersionText()).toStdString(), {}};
    if (parser.isSet(o.help)) return CliAnswer{ExitSuccess, HelpText(parser).toStdString(), {}};

    QStringList args = parser.positionalArguments();
    if (args.isEmpty()) return Refusal(QStringLiteral("Name a command."));
    const QString name = args.takeFirst();
    const CommandSpec* spec = FindCommand(name);
    if (!spec) return Refusal(QStringLiteral("There is no command '%1'.").arg(name));
    if (args.size() < spec->minArguments || (spec->maxArguments >= 0 && args.size() > spec->maxArguments)) {
        if (spec->maxArguments == 0) return Refusal(QStringLiteral("%1 takes no arguments: '%2'.").arg(name, args.first()));
        return Refusal(QStringLiteral("Usage: %1 [options] %2 %3.")
                           .arg(QLatin1String(CliName), name, QLatin1String(spec->arguments)));
    }
    for (const auto& [option, group] : o.Limited()) {
        if (parser.isSet(*option) && (spec->options & group) == 0)
            return Refusal(QStringLiteral("--%1 does not apply to %2.").arg(option->names().first(), name));
    }
    if (parser.values(QStringLiteral("address")).size() > 1 && (spec->options & ServeOptions) == 0)
        return Refusal(QStringLiteral("%1 takes one --address; serve takes several.").arg(name));

    CliRequest request;
    request.command = spec->command;
    request.json = parser.isSet(o.json);
    request.raw = parser.isSet(o.raw);
    request.comment = parser.value(o.comment);
    request.onlyChanged = !parser.isSet(o.all);
    request.failOnAlarm = parser.isSet(o.failOnAlarm);
    request.keepCodes = parser.isSet(o.keepCodes);
    request.sweep = {parser.isSet(o.fitOffset), parser.isSet(o.writeOffset), parser.isSet(o.resume)};
    request.check = parser.isSet(o.check);
    QString problem = o.board.Read(parser, request.board);
    if (problem.isEmpty()) problem = ReadMonitorOptions(parser, o, request.monitor);
    if (problem.isEmpty()) problem = ReadServeOptions(parser, o, request.serve);
    if (problem.isEmpty()) problem = ReadArguments(*spec, args, request);
    if (!problem.isEmpty()) return Refusal(problem);
    return request;
}
