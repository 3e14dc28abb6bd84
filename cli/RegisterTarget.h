#pragma once
// A register the user named, by name or number: all a register's text needs, without the board.
#include <cstdint>
#include <optional>

struct RegisterTarget {
    int32_t address = 0;      // the address a read goes to; for a write, its write address
    std::optional<int> entry;  // its row in the register table; none for an address not in it
};
