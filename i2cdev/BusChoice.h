#pragma once
// What the user names as the bus (KTS_I2C_BUS): a bus number, a node, or an adapter's name
// as 'i2cdetect -l' prints it. USB bridges get a new number when plugged in again; their
// name stays.
#include "Kernel.h"

#include <string>

namespace I2cDev {

// The adapter node that VALUE names ("1", "/dev/i2c-1" or "SMBus stub driver"); empty, with
// the reason, when it names no adapter or several.
std::string ChosenNode(Kernel& kernel, const std::string& value, std::string& reason);
// The name the kernel gives adapter NUMBER; empty when unknown.
std::string AdapterName(Kernel& kernel, int number);

}  // namespace I2cDev
