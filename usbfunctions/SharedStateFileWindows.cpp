// Windows has no shared state yet: the chip keeps its registers while the program runs.
#ifdef _WIN32
#include "SharedStateFile.h"

namespace UsbSim {

std::unique_ptr<SharedStateFile> SharedStateFile::Open(const std::string&, std::size_t, const Prepare&,
                                                       std::string& error) {
    error = "this build keeps the chip's state within one program";
    return nullptr;
}

std::string DefaultStateFilePath(std::string& why) {
    why = "this build keeps the chip's state within one program";
    return std::string();
}

std::string PowerSessionId() { return std::string(); }

}  // namespace UsbSim
#endif
