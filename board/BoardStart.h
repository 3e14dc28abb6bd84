#pragma once
// What both programs' start-up sequences share: how long a board may take to accept the
// connect request, and the search for the chip by its manufacturer id.
#include "protocol/BoardProtocol.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace USBStuff {

// The addresses the search tries, in this order.
constexpr int32_t FirstCandidateAddress = BoardProtocol::kFirstSearchedAddress;
constexpr int32_t LastCandidateAddress = BoardProtocol::kLastSearchedAddress;

// The windows program pauses while the board enumerates (its splash bar's pause: 34 rounds of
// 50 ms), then sends the connect request up to 20 times, 200 ms apart.
constexpr int ConnectAttempts = 20;
constexpr int ConnectRetryMs = 200;
constexpr int EnumerationPauseMs = 34 * 50;
// The whole time a board is given to accept the connect request.
constexpr int ConnectPatienceMs = EnumerationPauseMs + ConnectAttempts * ConnectRetryMs;

// The addresses to try: the one chosen on the command line alone, else every candidate in order.
std::vector<int32_t> CandidateAddresses(const std::optional<int32_t>& chosen);
// True when the chip's id answers at the address. A failed read goes to the failure path.
bool ChipAnswersAt(int32_t address);
// The first of CandidateAddresses(chosen) where the id answers; 0 when none does.
int32_t FindChip(const std::optional<int32_t>& chosen);

}  // namespace USBStuff
