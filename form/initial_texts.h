#pragma once

namespace quorvel {

// The exercise the program solves, shown in the log box until the first computation.
extern const char16_t kTaskText[];

// The quote the window carries.
extern const char16_t kQuoteText[];

}  // namespace quorvel
