#include "support/BoardFailureTrap.h"

#include "state/GeneralStuff.h"
#include "board/USBStuff.h"
#include "registers/RegMapStuff.h"

BoardFixtureState::BoardFixtureState() {
    USBStuff::ResetFailureState();
    USBStuff::SetDriver(&driver);
    USBStuff::SetFailureHooks({
        [this](const std::string& m, const std::string&) { messages.push_back(m); },
        [this] { ++windowsClosed; },
        [this] { throw BoardFailure{messages.empty() ? std::string() : messages.back()}; },
    });
    GeneralStuff::InstallShadowHook();
    GeneralStuff::ResetRunTimeState();
    RegMapStuff::BuildRegTable();
    RegMapStuff::ExtendedRange = false;
    RegMapStuff::Standby = false;
    USBStuff::DeviceAddress = 0x4C;
}

BoardFixtureState::~BoardFixtureState() {
    USBStuff::SetDriver(nullptr);
    USBStuff::ResetFailureState();
}
