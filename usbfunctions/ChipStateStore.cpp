#include "ChipStateStore.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace UsbSim {

namespace {

// Marks a file as this board's, in this layout. A new layout takes a new version.
constexpr char kMagic[8] = {'K', 'T', 'S', 'S', 'I', 'M', 'C', 'H'};
constexpr uint32_t kVersion = 2;
constexpr int kAddresses = 128;

struct Header {
    char magic[8];
    uint32_t version;
    uint32_t size;
    char session[48];  // the computer's run the chips were powered in
};

}  // namespace

struct ChipStateStore::Layout {
    Header header;
    BoardState board;
    ChipState chips[kAddresses];
};

namespace {

Header CurrentHeader(std::size_t layoutSize) {
    Header header{};
    std::memcpy(header.magic, kMagic, sizeof kMagic);
    header.version = kVersion;
    header.size = static_cast<uint32_t>(layoutSize);
    const std::string session = PowerSessionId();
    std::memcpy(header.session, session.data(), std::min(session.size(), sizeof header.session - 1));
    return header;
}

bool AllZero(const unsigned char* bytes, std::size_t size) {
    return std::all_of(bytes, bytes + size, [](unsigned char b) { return b == 0; });
}

}  // namespace

ChipStateStore::ChipStateStore() : own_(std::make_unique<Layout>()), layout_(own_.get()) {}

ChipStateStore::~ChipStateStore() = default;

std::string ChipStateStore::Attach(const std::string& path, std::string& note) {
    if (path.empty()) {
        if (!own_) own_ = std::make_unique<Layout>();
        file_.reset();
        layout_ = own_.get();
        path_.clear();
        return std::string();
    }
    const Header current = CurrentHeader(sizeof(Layout));
    // Kept by the file, which prepares itself afresh again when it is found cut short.
    auto prepare = [this, current, path](unsigned char* bytes) {
        auto* layout = reinterpret_cast<Layout*>(bytes);
        if (std::memcmp(&layout->header, &current, sizeof current) == 0) return false;
        // Powered in an earlier run of the computer is powered off; anything else is damaged.
        const bool ours = layout->header.version == kVersion && layout->header.size == current.size;
        if (!ours && !AllZero(bytes, sizeof(Layout)))
            note_ = "the chip's state file " + path + " was damaged: the chips power on afresh";
        std::memset(bytes, 0, sizeof(Layout));
        layout->header = current;
        return true;
    };
    std::string error;
    auto file = SharedStateFile::Open(path, sizeof(Layout), std::string(kMagic, sizeof kMagic), prepare, error);
    note = TakeNote();
    if (!file) return error;
    file_ = std::move(file);
    layout_ = reinterpret_cast<Layout*>(file_->Bytes());
    own_.reset();
    path_ = path;
    return std::string();
}

ChipState& ChipStateStore::Chip(int address) { return layout_->chips[address & (kAddresses - 1)]; }

BoardState& ChipStateStore::Board() { return layout_->board; }

void ChipStateStore::PowerOffAll() {
    layout_->board.powered = 0;
    for (ChipState& chip : layout_->chips) chip.powered = 0;
}

std::string ChipStateStore::TakeNote() { return std::exchange(note_, std::string()); }

// A program that ended or stopped in the middle of a request left each chip as it was before
// or after a step of that request; a chip whose schedule it left torn powers on afresh at its
// next access.
ChipStateStore::Hold::Hold(ChipStateStore& store) : store_(store) {
    if (!store_.file_) return;
    const bool clean = store_.file_->Lock();
    if (store_.file_->TakeCutShort())
        store_.note_ = "the chip's state file " + store_.path_ + " was cut short: the chips power on afresh";
    else if (!clean)
        store_.note_ = "a program ended or stopped while it held the chip's state in " + store_.path_;
}

ChipStateStore::Hold::~Hold() {
    if (store_.file_) store_.file_->Unlock();
}

}  // namespace UsbSim
