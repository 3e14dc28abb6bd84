// The reader of saved configurations on any bytes: it ends, it writes only values (0..255) at
// writable addresses, it counts exactly the writes it made, and a file it does not recall whole
// (beyond the limits, a line that does not read, no closing brace) gets no write at all. The limits are
// checked as the program sets them, and as small ones taken from the input's first two bytes,
// so that short inputs reach them too.
#include "FuzzCheck.h"
#include "files/SavRecallParser.h"
#include "registers/RegMapStuff.h"

#include <QByteArray>
#include <cstdint>

namespace {

void Check(const QByteArray& bytes, const SavRecallLimits& limits) {
    using Outcome = SavRecallResult::Outcome;
    int writes = 0;
    const SavRecallResult result = RecallSavBytes(
        bytes,
        [&](int32_t address, int32_t value) {
            FUZZ_CHECK(RegMapStuff::IsWriteAddress(address));
            FUZZ_CHECK(value >= 0 && value <= 255);
            ++writes;
        },
        limits);
    FUZZ_CHECK(writes == result.registersWritten);
    FUZZ_CHECK(writes <= limits.maxRegisterLines);
    FUZZ_CHECK((bytes.size() > limits.maxBytes) == (result.outcome == Outcome::TooLarge));
    if (bytes.size() <= limits.maxBytes)
        FUZZ_CHECK(bytes.contains('\0') == (result.outcome == Outcome::NotSingleByteText));
    if (result.outcome != Outcome::Complete) FUZZ_CHECK(writes == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    Check(bytes, SavRecallLimits{});
    if (size >= 2) Check(bytes.mid(2), SavRecallLimits{data[0] * 16, data[1] % 32});
    return 0;
}
