#pragma once
// The board protocol: the requests the program sends through VendorIORequest and how their
// fields are filled, as every driver library answers them. The program and the driver
// libraries share this header and nothing else.
#include <cstdint>

namespace BoardProtocol {

constexpr int16_t kStatusRead = 220;      // one register read, used for the Status register
constexpr int16_t kConnect = 221;
constexpr int16_t kRegisterAccess = 222;  // a read or a write, by direction
constexpr int32_t kConnectValue = 48;
constexpr int32_t kConnectIndex = 51;
constexpr int16_t kDirectionOut = 0;
constexpr int16_t kDirectionIn = 1;
// A read: value is the chip's address, index the register, one byte into the buffer.
constexpr int16_t kReadLength = 1;

// A write: the register in the low byte of the index, the data in the second byte.
// Unsigned arithmetic, so a negative data value cannot overflow the shift.
constexpr int32_t WriteIndex(int32_t registerAddress, int32_t data) {
    return static_cast<int32_t>(static_cast<uint32_t>(data) * 256u + static_cast<uint32_t>(registerAddress));
}
constexpr uint8_t WrittenRegister(int32_t index) { return static_cast<uint8_t>(static_cast<uint32_t>(index) & 0xFF); }
constexpr uint8_t WrittenData(int32_t index) { return static_cast<uint8_t>((static_cast<uint32_t>(index) >> 8) & 0xFF); }

// The simulated chamber, which only the simulated board keeps: value says what is reached.
// Out: the setpoint in millidegrees in the index. In: the temperature in millidegrees, four
// bytes low byte first, into the buffer. Real boards refuse it as a request they do not know.
constexpr int16_t kChamberAccess = 223;
constexpr int32_t kChamberSetpoint = 1;  // out: set it; in: read it
constexpr int32_t kChamberAir = 2;       // in: the air around the chips
constexpr int16_t kChamberLength = 4;
constexpr int32_t kLowestChamberMillidegrees = -200000;
constexpr int32_t kHighestChamberMillidegrees = 500000;

constexpr void PutMillidegrees(int32_t millidegrees, uint8_t* buffer) {
    const auto bits = static_cast<uint32_t>(millidegrees);
    for (int i = 0; i < kChamberLength; ++i) buffer[i] = static_cast<uint8_t>(bits >> (8 * i));
}
constexpr int32_t TakeMillidegrees(const uint8_t* buffer) {
    uint32_t bits = 0;
    for (int i = 0; i < kChamberLength; ++i) bits |= static_cast<uint32_t>(buffer[i]) << (8 * i);
    return static_cast<int32_t>(bits);
}

// What a request answers: 0, or a failure, whose reason the library's LastError gives. A number
// means one thing in every driver library; traces show the numbers.
enum RequestResult : int16_t {
    kOk = 0,
    kNoFirmware = -1,         // no firmware download has succeeded
    kNotConnected = -2,       // no connect request has been accepted
    kBadRequest = -3,         // a request the board does not know, or a field out of its range
    kBoardGone = -4,          // the board does not answer at all
    kConnectRefused = -5,     // the board refused the connect request
    kTransferFailed = -7,     // the chip's transfer failed on the bus
    kNoAdapter = -8,          // connect found no bus adapter to open
};

// What a firmware download answers: 0, or a negative failure.
enum DownloadResult : int16_t {
    kDownloaded = 0,
    kFirmwareMissing = -1,    // the image cannot be read
    kFirmwareMalformed = -2,  // the image is not well-formed Intel HEX
    kFirmwareRefused = -3,    // the board refuses the download
    kDownloadBoardGone = kBoardGone,
    kFirmwareSettings = -6,   // the board's own settings cannot serve
};

// How the chip is recognised on the bus: its Manufacturer ID register holds this value.
constexpr uint8_t kManufacturerIdRegister = 0xFE;
constexpr uint8_t kManufacturerId = 0x41;

// The 7-bit addresses a device may have on the bus; the rest are reserved.
constexpr int32_t kFirstBusAddress = 0x03;
constexpr int32_t kLastBusAddress = 0x77;
// Where the programs search for the chip, in this order.
constexpr int32_t kFirstSearchedAddress = 0x18;
constexpr int32_t kLastSearchedAddress = 0x4E;

}  // namespace BoardProtocol
