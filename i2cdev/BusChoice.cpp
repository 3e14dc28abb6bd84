#include "BusChoice.h"

#include "I2cBus.h"

#include <vector>

namespace I2cDev {

namespace {

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

}  // namespace

std::string AdapterName(Kernel& kernel, int number) {
    // Where i2cdetect reads it; there for every adapter that has a node.
    return Trimmed(kernel.ReadText("/sys/class/i2c-dev/i2c-" + std::to_string(number) + "/name"));
}

std::string ChosenNode(Kernel& kernel, const std::string& value, std::string& reason) {
    const std::string wanted = Trimmed(value);
    if (!wanted.empty() && wanted.size() <= 6 && wanted.find_first_not_of("0123456789") == std::string::npos)
        return "/dev/i2c-" + std::to_string(std::stoi(wanted));
    if (wanted.rfind('/', 0) == 0) return wanted;
    std::vector<std::string> named;
    for (const std::string& node : AdapterNodes(kernel))
        if (AdapterName(kernel, AdapterNumber(node)) == wanted) named.push_back(node);
    if (named.size() == 1) return named.front();
    if (named.empty()) {
        reason = "no I2C adapter is named '" + wanted + "' (list the adapters with 'i2cdetect -l'; give a bus number, a node such as /dev/i2c-1, or a name as listed)";
    } else {
        reason = "several I2C adapters are named '" + wanted + "' (";
        for (std::size_t i = 0; i < named.size(); ++i) reason += (i ? ", " : "") + named[i];
        reason += "); give the bus number instead";
    }
    return "";
}

}  // namespace I2cDev
