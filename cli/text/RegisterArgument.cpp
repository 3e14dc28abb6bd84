#include "cli/text/RegisterArgument.h"

#include "cli/text/HexByte.h"
#include "registers/IntegerArgument.h"
#include "registers/RegMapStuff.h"

#include <QString>

namespace {

std::optional<int> EntryNamed(const std::string& text) {
    const QString name = QString::fromStdString(text);
    for (int i = 0; i < RegMapStuff::RegCount; ++i) {
        if (name.compare(QString::fromStdString(RegMapStuff::RegTable[i].Name), Qt::CaseInsensitive) == 0) return i;
    }
    return std::nullopt;
}

std::optional<int> EntryWrittenAt(int32_t address) {
    for (int i = 0; i < RegMapStuff::RegCount; ++i) {
        const RegMapStuff::RegEntry& entry = RegMapStuff::RegTable[i];
        if (!entry.ReadOnly && entry.WriteAddr == address) return i;
    }
    return std::nullopt;
}

}  // namespace

std::optional<RegisterTarget> ReadTarget(const std::string& text, std::string& refusal) {
    if (const std::optional<int> entry = EntryNamed(text)) return RegisterTarget{RegMapStuff::RegTable[*entry].ReadAddr, entry};
    const std::optional<int32_t> address = GeneralStuff::ParseIntegerArgument(text);
    if (!address || *address > 0xFF) {
        refusal = "There is no register '" + text + "': give a name from the register table (" +
                  "'kts9320b-cli dump' lists them) or an address from 0x00 to 0xFF.";
        return std::nullopt;
    }
    return RegisterTarget{*address, RegMapStuff::FindByReadAddr(*address)};
}

std::optional<RegisterTarget> WriteTarget(const std::string& text, std::string& refusal) {
    std::optional<RegisterTarget> target = ReadTarget(text, refusal);
    if (!target) return std::nullopt;
    if (!target->entry) {
        target->entry = EntryWrittenAt(target->address);
        return target;
    }
    const RegMapStuff::RegEntry& entry = RegMapStuff::RegTable[*target->entry];
    if (entry.ReadOnly) {
        refusal = TargetText(*target) + " is read-only.";
        return std::nullopt;
    }
    target->address = entry.WriteAddr;
    return target;
}

std::string TargetName(const RegisterTarget& target) {
    return target.entry ? RegMapStuff::RegTable[*target.entry].Name : "Unknown";
}

std::string TargetText(const RegisterTarget& target) {
    if (!target.entry) return HexByte(target.address);
    return RegMapStuff::RegTable[*target.entry].Name + " (" + HexByte(target.address) + ")";
}
