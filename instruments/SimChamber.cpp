#include "instruments/DriverMakers.h"

#include "protocol/BoardProtocol.h"

#include <cmath>

namespace Instruments {

namespace {

using namespace BoardProtocol;

const char* const kName = "sim";

// The simulated board's chamber, reached through the opened board's own request, so that
// every program on the board sees one chamber.
class SimulatedChamberLink {
public:
    explicit SimulatedChamberLink(USBStuff::BoardDriver& board) : board_(board) {}

    // The result of the request, and the reading where it succeeded.
    int16_t Ask(int32_t what, Reading& reading) {
        uint8_t buffer[kChamberLength] = {};
        const int16_t result = board_.VendorIORequest(kChamberAccess, what, 0, kDirectionIn, kChamberLength, buffer);
        if (result == kOk) reading.celsius = TakeMillidegrees(buffer) / 1000.0;
        else reading.failure = Failure("reading the air", result);
        return result;
    }

    Reading Air() {
        Reading reading;
        Ask(kChamberAir, reading);
        return reading;
    }

    std::string Set(double celsius) {
        const double millidegrees = std::round(celsius * 1000.0);
        if (!(millidegrees >= kLowestChamberMillidegrees && millidegrees <= kHighestChamberMillidegrees))
            return std::string(kName) + ": the setpoint " + std::to_string(celsius) + " °C is out of the chamber's range";
        uint8_t scratch = 0;
        const int16_t result = board_.VendorIORequest(kChamberAccess, kChamberSetpoint,
                                                      static_cast<int32_t>(millidegrees), kDirectionOut, 0, &scratch);
        return result == kOk ? std::string() : Failure("setting the setpoint", result);
    }

private:
    std::string Failure(const char* what, int16_t result) {
        const std::string why = board_.LastError();
        return std::string(kName) + ": " + what + " failed with result " + std::to_string(result) +
               (why.empty() ? std::string() : ": " + why);
    }

    USBStuff::BoardDriver& board_;
};

class SimChamber : public Chamber {
public:
    explicit SimChamber(USBStuff::BoardDriver& board) : link_(board) {}
    std::string Name() const override { return kName; }
    std::string SetSetpoint(double celsius) override { return link_.Set(celsius); }
    Reading ReadTemperature() override { return link_.Air(); }

private:
    SimulatedChamberLink link_;
};

// The reference in the simulated chamber reads its air.
class SimThermometer : public Thermometer {
public:
    explicit SimThermometer(USBStuff::BoardDriver& board) : link_(board) {}
    std::string Name() const override { return kName; }
    Reading Read() override { return link_.Air(); }

private:
    SimulatedChamberLink link_;
};

// A board that does not know the chamber's request is no simulated board; any other failure
// may pass, as a glitch does, and is met again at the first use.
bool Refused(USBStuff::BoardDriver* board, std::string& refusal) {
    if (!board) {
        refusal = std::string(kName) + ": the simulated chamber needs the simulated board, and no board is open";
        return true;
    }
    Reading probe;
    if (SimulatedChamberLink(*board).Ask(kChamberAir, probe) != kBadRequest) return false;
    refusal = std::string(kName) + ": the board's driver does not know the simulated chamber's request: "
              "the simulated chamber is only on the simulated board";
    return true;
}

}  // namespace

std::unique_ptr<Chamber> MakeSimChamber(USBStuff::BoardDriver* board, std::string& refusal) {
    if (Refused(board, refusal)) return nullptr;
    return std::make_unique<SimChamber>(*board);
}

std::unique_ptr<Thermometer> MakeSimThermometer(USBStuff::BoardDriver* board, std::string& refusal) {
    if (Refused(board, refusal)) return nullptr;
    return std::make_unique<SimThermometer>(*board);
}

}  // namespace Instruments
