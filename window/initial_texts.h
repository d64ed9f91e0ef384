#pragma once

namespace quorvel {

// The exercise the program solves, shown in the log box until the first computation.
extern const wchar_t kTaskText[];

// The quote the window carries.
extern const wchar_t kQuoteText[];

}  // namespace quorvel
