#pragma once
// Where the chips keep their state while powered: in a file that every process loading the
// board shares (through SharedStateFile), or, where there is none, in this process alone.
// One slot per SMBus address, so that each chip keeps its own registers whatever order the
// programs start in.
#include "BoardState.h"
#include "ChipState.h"
#include "SharedStateFile.h"

#include <memory>
#include <string>

namespace UsbSim {

class ChipStateStore {
public:
    ChipStateStore();
    ~ChipStateStore();

    // Shares the state through the file at path, or keeps it in this process where path is
    // empty. Where the file cannot serve, the state stays where it was and the reason is
    // returned; note tells of a file whose contents were not the board's.
    std::string Attach(const std::string& path, std::string& note);
    const std::string& Path() const { return path_; }

    // The state of the chip at an SMBus address; only while the store is held.
    ChipState& Chip(int address);
    // The board's own state beside the chips; only while the store is held.
    BoardState& Board();
    // Every chip, and the board's own state, powers on afresh at its next access.
    void PowerOffAll();
    // What befell the shared state since the last call, for the trace; empty when nothing did.
    std::string TakeNote();

    // Holds the store against every other process and thread while it lives.
    class Hold {
    public:
        explicit Hold(ChipStateStore& store);
        ~Hold();
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        ChipStateStore& store_;
    };

private:
    struct Layout;

    std::unique_ptr<Layout> own_;            // the state while no file is shared
    std::unique_ptr<SharedStateFile> file_;
    Layout* layout_;
    std::string path_;
    std::string note_;
};

}  // namespace UsbSim
