// The simulated board's side of the link: firmware download, connect, the gating of
// requests, the chip search, and the settings that make the board misbehave on purpose.
#include "usbfunctions/SimulatedBoardLibrary.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <vector>

using namespace SimTest;

namespace {

std::string WriteFile(const SimulatedBoardLibrary& board, const std::string& name, const std::string& text) {
    const std::string path = (board.Folder() / name).string();
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

std::vector<std::string> Lines(const std::string& path) {
    std::ifstream file(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
}

const char* kData = ":0300300002337A1E\r\n";
const char* kEnd = ":00000001FF\r\n";

}  // namespace

TEST(SimulatedFirmware, AcceptsTheShippedImageAndWellFormedHex) {
    SimulatedBoardLibrary board;
    EXPECT_EQ(board.LoadFirmWare(FirmwarePath()), 0);
    EXPECT_EQ(board.LoadFirmWare(WriteFile(board, "lf.hex", ":0300300002337A1E\n:00000001FF\n")), 0);
    EXPECT_EQ(board.LoadFirmWare(WriteFile(board, "ext.hex", std::string(":020000040000FA\r\n") + kData + kEnd)), 0);
}

TEST(SimulatedFirmware, RejectsMissingAndMalformedFiles) {
    SimulatedBoardLibrary board;
    const std::vector<std::pair<std::string, std::string>> bad = {
        {"badsum.hex", std::string(":0300300002337A1F\r\n") + kEnd},
        {"noeof.hex", kData},
        {"empty.hex", ""},
        {"garbage.hex", "this is no firmware\r\n"},
        {"oddlength.hex", std::string(":0300300002337A1\r\n") + kEnd},
        {"shortrecord.hex", std::string(":0400300002337A1D\r\n") + kEnd},
        {"afterend.hex", std::string(kEnd) + kData},
        {"eofwithdata.hex", ":01000001FFFF\r\n"},
    };
    for (const auto& [name, text] : bad) EXPECT_LT(board.LoadFirmWare(WriteFile(board, name, text)), 0) << name;
    EXPECT_LT(board.LoadFirmWare((board.Folder() / "missing.hex").string()), 0);
    EXPECT_LT(board.LoadFirmWare(board.Folder().string()), 0);
}

TEST(SimulatedFirmware, TakesBackslashesAsFolderSeparators) {
    SimulatedBoardLibrary board;
    EXPECT_EQ(board.LoadFirmWare(RuntimeDir() + "\\KTS9330FW.Hex"), 0);
}

TEST(SimulatedFirmware, ForcedFailureRefusesAGoodImage) {
    SimulatedBoardLibrary board({{"KTS_SIM_FIRMWARE_FAIL", "1"}});
    EXPECT_LT(board.LoadFirmWare(FirmwarePath()), 0);
    EXPECT_NE(board.Connect(), 0);
}

TEST(SimulatedBoardRequests, FailBeforeFirmwareAndBeforeConnect) {
    SimulatedBoardLibrary board;
    uint8_t buffer[65] = {};
    EXPECT_NE(board.Connect(), 0);
    EXPECT_NE(board.Request(kRegister, kChip, 0xFE, 1, 1, buffer), 0);

    ASSERT_EQ(board.LoadFirmWare(FirmwarePath()), 0);
    EXPECT_NE(board.Request(kRegister, kChip, 0xFE, 1, 1, buffer), 0);
    EXPECT_NE(board.Request(kStatusRead, kChip, 2, 1, 1, buffer), 0);
    EXPECT_NE(board.Request(kConnect, 47, 51, 0, 0, buffer), 0);
    EXPECT_EQ(board.Connect(), 0);
    EXPECT_EQ(board.Connect(), 0);
    EXPECT_EQ(board.Read(0xFE), 0x41);

    // A failed download leaves the board without firmware.
    EXPECT_LT(board.LoadFirmWare((board.Folder() / "missing.hex").string()), 0);
    EXPECT_NE(board.Request(kRegister, kChip, 0xFE, 1, 1, buffer), 0);
}

TEST(SimulatedBoardRequests, RejectsNullBuffersAndUnknownRequests) {
    SimulatedBoardLibrary board;
    board.StartUp();
    EXPECT_NE(board.Request(kRegister, kChip, 0xFE, 1, 1, nullptr), 0);
    EXPECT_NE(board.Request(kStatusRead, kChip, 2, 1, 1, nullptr), 0);
    uint8_t buffer[65] = {};
    EXPECT_NE(board.Request(223, kChip, 0xFE, 1, 1, buffer), 0);
    EXPECT_NE(board.Request(kRegister, kChip, 0xFE, 2, 1, buffer), 0);
    EXPECT_EQ(board.Request(kRegister, kChip, 0x0B, 0, 0, nullptr), 0) << "a write needs no buffer";
}

TEST(SimulatedBoardRequests, ChipSearchFindsTheManufacturerIdOnlyAtTheChip) {
    SimulatedBoardLibrary board({{"KTS_SIM_ADDRESS", "0x30"}, {"KTS_SIM_SECOND_ADDRESS", "77"}});
    board.StartUp();
    std::vector<int> found;
    for (int address = 24; address <= 78; ++address) {
        uint8_t buffer[65] = {0x41};
        ASSERT_EQ(board.Request(kRegister, address, 0xFE, 1, 1, buffer), 0) << address;
        if (buffer[0] == 0x41) found.push_back(address);
    }
    EXPECT_EQ(found, (std::vector<int>{0x30, 77}));
}

TEST(SimulatedBoardRequests, SecondChipKeepsItsOwnRegisters) {
    SimulatedBoardLibrary board({{"KTS_SIM_SECOND_ADDRESS", "0x4D"}});
    board.StartUp();
    board.Write(0x0B, 70, 0x4D);
    EXPECT_EQ(board.Read(0x05, 0x4D), 70);
    EXPECT_EQ(board.Read(0x05, kChip), 85);
    board.Write(0x0B, 60, 0x50);  // nobody answers there: nothing happens
    EXPECT_EQ(board.Read(0x05, 0x50), 0xFF);
}

TEST(SimulatedBoardSettings, RefusesTheGivenNumberOfConnects) {
    SimulatedBoardLibrary board({{"KTS_SIM_REFUSE_CONNECTS", "3"}});
    ASSERT_EQ(board.LoadFirmWare(FirmwarePath()), 0);
    for (int attempt = 1; attempt <= 3; ++attempt) EXPECT_NE(board.Connect(), 0) << attempt;
    EXPECT_EQ(board.Connect(), 0);
    EXPECT_EQ(board.Read(0xFE), 0x41);
}

TEST(SimulatedBoardSettings, FailsEveryRequestAfterTheGivenCount) {
    SimulatedBoardLibrary board({{"KTS_SIM_FAIL_AFTER", "4"}});
    board.StartUp();  // request 1
    EXPECT_EQ(board.Read(0xFE), 0x41);
    board.Write(0x0B, 70);
    EXPECT_EQ(board.Status() & 0x40, 0);
    uint8_t buffer[65] = {};
    EXPECT_NE(board.Request(kRegister, kChip, 0xFE, 1, 1, buffer), 0);
    EXPECT_NE(board.Connect(), 0);
    EXPECT_NE(board.Request(kRegister, kChip, 0xFE, 1, 1, buffer), 0);
}

TEST(SimulatedBoardSettings, UnreadableSettingsKeepTheDefaults) {
    SimulatedBoardLibrary board({{"KTS_SIM_ADDRESS", "0x4Q"}, {"KTS_SIM_FAIL_AFTER", "many"}});
    board.StartUp();
    EXPECT_EQ(board.Read(0xFE, 0x4C), 0x41);
}

TEST(SimulatedBoardSettings, TracesEveryCallAsOneLine) {
    const std::string trace = "/tmp/kts-sim-trace-" + std::to_string(getpid()) + ".txt";
    std::remove(trace.c_str());
    {
        SimulatedBoardLibrary board({{"KTS_SIM_TRACE", trace}});
        board.StartUp();
        EXPECT_EQ(board.Read(0xFE, 76), 0x41);
        board.Write(0x0B, 0x12);
    }
    const std::vector<std::string> lines = Lines(trace);
    std::remove(trace.c_str());
    ASSERT_EQ(lines.size(), 4u);
    const std::string time = R"(\d{1,5}\.\d{3} )";
    EXPECT_TRUE(std::regex_match(lines[0], std::regex(time + "LoadFirmWare path=.*/KTS9330FW\\.Hex result=0")))
        << lines[0];
    EXPECT_TRUE(std::regex_match(lines[1], std::regex(time + "VendorIORequest request=221 value=48 index=51 "
                                                             "direction=0 length=0 result=0")))
        << lines[1];
    EXPECT_TRUE(std::regex_match(lines[2], std::regex(time + "VendorIORequest request=222 value=76 index=254 "
                                                             "direction=1 length=1 result=0 data=0x41")))
        << lines[2];
    EXPECT_TRUE(std::regex_match(lines[3], std::regex(time + "VendorIORequest request=222 value=76 index=4619 "
                                                             "direction=0 length=0 result=0")))
        << lines[3];
}
