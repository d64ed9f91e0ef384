#pragma once

#include <optional>
#include <string>

#include "code_table.h"

namespace quorvel {

// The whole step-by-step log of encrypting and decrypting the phrase with the key, every line
// ending in CR LF, or nothing when either is empty or the phrase is longer than the table holds
// (the table is then left alone). Fills table[1..n].
std::optional<std::u16string> Trace(const std::u16string& phrase, const std::u16string& key,
                                    CodeTable& table);

}  // namespace quorvel
