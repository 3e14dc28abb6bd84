// The chip stays powered between loads of the board and downloads: every load that names the
// same state file sees the same registers, until a power cycle. A state file that is not the
// board's powers the chip on afresh, and a program killed or stopped while holding it blocks
// no other. Settings that cannot serve refuse the download with the reason; a failure that
// heals answers again.
#include "usbfunctions/SimulatedBoardLibrary.h"

#include "ChipStateStore.h"

#include <sys/wait.h>

#include <csignal>
#include <unistd.h>

#include <fstream>
#include <memory>

using namespace SimTest;

namespace {

constexpr int kLocalHigh = 0x05;
constexpr int kLocalHighWrite = 0x0B;
constexpr int kPowerOnLocalHigh = 85;

std::unique_ptr<SimulatedBoardLibrary> Powered(const std::string& state, const char* powerCycle = "0") {
    auto board = std::make_unique<SimulatedBoardLibrary>(
        SimulatedBoardLibrary::Settings{{"KTS_SIM_STATE", state}, {"KTS_SIM_POWER_CYCLE", powerCycle}});
    board->StartUp();
    return board;
}

void WriteOver(const std::string& path, long offset, std::size_t count) {
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(offset);
    file << std::string(count, '?');
}

std::string Contents(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

}  // namespace

TEST(SimulatedChipPower, EveryLoadSeesTheSameRegistersUntilAPowerCycle) {
    SimulatedBoardLibrary scratch;
    const std::string state = (scratch.Folder() / "shared.state").string();
    auto first = Powered(state);
    first->Write(kLocalHighWrite, 70);
    auto second = Powered(state);
    EXPECT_EQ(second->Read(kLocalHigh), 70) << "a second program sees the first one's limit";
    second->Write(kLocalHighWrite, 71);
    EXPECT_EQ(first->Read(kLocalHigh), 71) << "and the first the second's, at its next read";
    first->StartUp();
    EXPECT_EQ(first->Read(kLocalHigh), 71) << "a download keeps the power on";

    auto cycled = Powered(state, "1");
    EXPECT_EQ(cycled->Read(kLocalHigh), kPowerOnLocalHigh);
    EXPECT_EQ(first->Read(kLocalHigh), kPowerOnLocalHigh) << "a power cycle reaches every program";
}

TEST(SimulatedChipPower, ADamagedStateFilePowersOnAfresh) {
    SimulatedBoardLibrary scratch;
    const std::string state = (scratch.Folder() / "damaged.state").string();
    const std::pair<const char*, std::function<void()>> damages[] = {
        {"truncated", [&] { std::filesystem::resize_file(state, 100); }},
        {"emptied", [&] { std::filesystem::resize_file(state, 0); }},
        {"its header after the name written over", [&] { WriteOver(state, 72, 56); }},  // after the lock's 64 bytes
    };
    for (const auto& [damage, apply] : damages) {
        Powered(state)->Write(kLocalHighWrite, 70);
        apply();
        auto board = Powered(state);
        EXPECT_EQ(board->Read(kLocalHigh), kPowerOnLocalHigh) << damage;
        board->Write(kLocalHighWrite, 72);
        EXPECT_EQ(Powered(state)->Read(kLocalHigh), 72) << damage << ": the file serves again";
    }
}

TEST(SimulatedChipPower, AFileThatIsNotTheBoardsOwnIsRefusedAndLeftAsItIs) {
    SimulatedBoardLibrary scratch;
    const std::string state = (scratch.Folder() / "chip.state").string();
    const std::string other = (scratch.Folder() / "notes.txt").string();
    struct Case { const char* what; std::function<void()> make; std::string reason; };
    const Case cases[] = {
        {"another program's file", [&] { std::ofstream(state, std::ios::binary) << "# some other program's settings\n"; },
         state + " is not a state file of the simulated board"},
        {"a hard link to a state file", [&] { Powered(other); std::filesystem::create_hard_link(other, state); },
         state + " has other names (hard links)"},
        {"a hard link to an empty file", [&] { std::ofstream{other}; std::filesystem::create_hard_link(other, state); },
         state + " has other names (hard links)"},
    };
    for (const auto& [what, make, reason] : cases) {
        for (const std::string& file : {state, other}) std::filesystem::remove(file);
        make();
        const std::string bytes = Contents(state);
        SimulatedBoardLibrary board({{"KTS_SIM_STATE", state}});
        EXPECT_LT(board.LoadFirmWare(FirmwarePath()), 0) << what;
        EXPECT_EQ(board.LastError().rfind("the chip's state file " + reason, 0), 0u) << what << ": " << board.LastError();
        EXPECT_EQ(Contents(state), bytes) << what << ": left as it was";
    }
}

TEST(SimulatedChipPower, AStateFileCutShortInUsePowersOnAfreshWithoutEndingTheProgram) {
    SimulatedBoardLibrary scratch;
    const std::string state = (scratch.Folder() / "shared.state").string();
    for (const std::uintmax_t cutTo : {0, 30, 100, 4096}) {
        auto board = Powered(state);
        board->Write(kLocalHighWrite, 70);
        std::filesystem::resize_file(state, cutTo);
        EXPECT_EQ(board->Read(kLocalHigh), kPowerOnLocalHigh) << "cut to " << cutTo;
        board->Write(kLocalHighWrite, 71);
        EXPECT_EQ(Powered(state)->Read(kLocalHigh), 71) << "cut to " << cutTo << ": the file serves again";
    }
}

TEST(SimulatedChipPower, SettingsThatCannotServeRefuseTheDownloadWithTheReason) {
    SimulatedBoardLibrary scratch;
    const std::string profile = (scratch.Folder() / "profile.txt").string();
    std::ofstream(profile) << "0 20 30\n60 hot 40\n";
    struct Case { const char* name; std::string value; std::string reason; };
    const Case cases[] = {
        {"KTS_SIM_STATE", "/no/such/folder/chip.state",
         "the chip's state file /no/such/folder/chip.state cannot be opened: No such file or directory (KTS_SIM_STATE)"},
        {"KTS_SIM_PROFILE", profile,
         "the temperature profile " + profile + ": line 2: expected SECONDS LOCAL_C REMOTE_C, found '60 hot 40'"},
        {"KTS_SIM_PROFILE", profile + ".missing", "the temperature profile " + profile + ".missing cannot be read"},
        {"KTS_SIM_PROFILE_SPEED", "0", "the simulated board cannot start: KTS_SIM_PROFILE_SPEED=0 is no positive number"},
    };
    for (const auto& [name, value, reason] : cases) {
        SimulatedBoardLibrary board({{name, value}});
        EXPECT_LT(board.LoadFirmWare(FirmwarePath()), 0) << reason;
        EXPECT_EQ(board.LastError(), reason);
        EXPECT_NE(board.Connect(), 0);
    }
}

TEST(SimulatedChipPower, AProfileRunsAtItsSpeed) {
    SimulatedBoardLibrary scratch;
    const std::string profile = (scratch.Folder() / "profile.txt").string();
    std::ofstream(profile) << "0 25 35\n100 125 120.5\n";
    // A hundred seconds of profile pass in a tenth of a millisecond.
    SimulatedBoardLibrary board({{"KTS_SIM_PROFILE", profile}, {"KTS_SIM_PROFILE_SPEED", "1000000"}});
    board.StartUp();
    EXPECT_GE(MillisecondsUntil([&] { return board.Read(0x00) == 125 && board.Remote() == 120.5; }, 1000), 0);
}

TEST(SimulatedBoardSettings, AFailureThatHealsAnswersAgain) {
    SimulatedBoardLibrary board({{"KTS_SIM_FAIL_AFTER", "2"}, {"KTS_SIM_FAIL_FOR", "300"}});
    board.StartUp();  // request 1
    EXPECT_EQ(board.Read(0xFE), 0x41);
    uint8_t buffer[65] = {};
    const auto failed = std::chrono::steady_clock::now();
    EXPECT_NE(board.Request(kRegister, kChip, 0xFE, 1, 1, buffer), 0);
    EXPECT_EQ(board.LastError().rfind("the simulated board stopped answering after 2 requests and answers again in ", 0), 0u)
        << board.LastError();
    EXPECT_GE(MillisecondsUntil([&] { return board.Request(kRegister, kChip, 0xFE, 1, 1, buffer) == 0; }, 2000), 0);
    EXPECT_GE(std::chrono::steady_clock::now() - failed, std::chrono::milliseconds(300));
    EXPECT_EQ(buffer[0], 0x41);
    EXPECT_EQ(board.LastError(), "");
}

TEST(SimulatedChipPower, AProgramKilledOrStoppedWhileHoldingTheChipHoldsUpNoOther) {
    SimulatedBoardLibrary scratch;
    const std::string state = (scratch.Folder() / "shared.state").string();
    Powered(state)->Write(kLocalHighWrite, 70);
    for (const bool stopped : {false, true}) {
        const pid_t child = fork();
        if (child == 0) {
            UsbSim::ChipStateStore store;
            std::string note;
            store.Attach(state, note);
            UsbSim::ChipStateStore::Hold hold(store);
            if (stopped) raise(SIGSTOP);
            _exit(0);
        }
        ASSERT_GT(child, 0);
        waitpid(child, nullptr, WUNTRACED);  // ended or stopped, holding the chip
        EXPECT_EQ(Powered(state)->Read(kLocalHigh), 70) << (stopped ? "stopped" : "killed");
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
}
