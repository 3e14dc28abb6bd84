#pragma once
// The one place that knows how the chips' state reaches the other processes on this computer:
// a file of fixed size mapped into every process that loads the board, and a lock between them.
// SharedStateFilePosix.cpp maps it with mmap and locks with a robust mutex kept in the file;
// SharedStateFileWindows.cpp maps it with CreateFileMapping and locks with a named mutex.
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

namespace UsbSim {

class SharedStateFile {
public:
    // Checks the bytes of the file just opened and writes them afresh where they are not the
    // board's own; true when it wrote them. No other process opens the file meanwhile.
    using Prepare = std::function<bool(unsigned char* bytes)>;

    // The file at path, created where missing, with size bytes to share; none with the reason.
    // Only an empty file, or one whose shared bytes begin with signature, is taken: any other
    // file, and a file with more than one name (a hard link), is refused and left as it is.
    static std::unique_ptr<SharedStateFile> Open(const std::string& path, std::size_t size,
                                                 const std::string& signature, const Prepare& prepare,
                                                 std::string& error);
    virtual ~SharedStateFile() = default;

    virtual unsigned char* Bytes() = 0;
    // Waits until no other process holds the bytes. False when the last holder ended or
    // stopped while holding them: they may be half-written.
    virtual bool Lock() = 0;
    virtual void Unlock() = 0;
    // True once after Lock found the file cut short by another hand and made it whole again
    // (prepared afresh where its start was lost).
    virtual bool TakeCutShort() { return false; }
};

// The file the state lives in when the user named none; empty, with the reason, where there is none.
std::string DefaultStateFilePath(std::string& why);

// Names this run of the computer, so that a state from before a restart counts as powered
// off; empty where the system does not tell.
std::string PowerSessionId();

}  // namespace UsbSim
