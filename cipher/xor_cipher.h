#pragma once

#include <optional>
#include <string>

#include "code_table.h"
#include "cp1251.h"

namespace quorvel {

// The key position (1..m) that serves phrase position i (1-based): the key repeats.
// m must be at least 1.
long KeyPosition(long i, long m);

// One phrase position of an encryption run.
struct TraceStep {
  long i = 0;            // phrase position, 1-based
  long k = 0;            // key position, 1-based
  char16_t letter = 0;   // the character of p
  char16_t keyChar = 0;  // the character of q
  AnsiCode p = 0;        // code of the phrase letter
  AnsiCode q = 0;        // code of the key character
  AnsiCode x = 0;        // p XOR q, the cipher code
};

// One phrase position of a decryption run.
struct DecryptStep {
  AnsiCode q = 0;       // code of the key character
  AnsiCode x = 0;       // the cipher code kept in the table
  char16_t letter = 0;  // the character of x XOR q
};

// Encrypts phrase position i and keeps its cipher code in table[i]; nothing, and nothing kept,
// for a position outside the phrase or the table or an empty key.
std::optional<TraceStep> Encrypt(const std::u16string& phrase, const std::u16string& key, long i,
                                 CodeTable& table);

// Decrypts phrase position i from table[i] with the same key character; nothing for a position
// outside the table or an empty key.
std::optional<DecryptStep> Decrypt(const std::u16string& key, long i, const CodeTable& table);

}  // namespace quorvel
