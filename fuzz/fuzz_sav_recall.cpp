// The reader of saved configurations on any bytes: it ends, it writes only register
// addresses and values (0..255), and it counts exactly the writes it made.
#include "FuzzCheck.h"
#include "files/SavRecallParser.h"

#include <QBuffer>
#include <QByteArray>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QBuffer source;
    source.setData(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    source.open(QIODevice::ReadOnly);
    SavRecallParser parser(source);

    int writes = 0;
    const SavRecallResult result = RecallSavRegisters(parser, [&](int32_t address, int32_t value) {
        FUZZ_CHECK(address >= 0 && address <= 255);
        FUZZ_CHECK(value >= 0 && value <= 255);
        ++writes;
    });
    FUZZ_CHECK(writes == result.registersWritten);
    if (result.outcome == SavRecallResult::Outcome::NoBlock) FUZZ_CHECK(writes == 0);
    return 0;
}
