#include "app/TerminationSignals.h"

TerminationSignals::TerminationSignals(std::function<void(int)> onSignal) : onSignal_(std::move(onSignal)) {}
TerminationSignals::~TerminationSignals() = default;
void TerminationSignals::ReadSignals() {}
