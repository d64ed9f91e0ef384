// Arbitrary UTF-16 for the key and the phrase field, normalized and traced on one long-lived
// code table, and the phrase text pasted into a field and cut back by Ctrl+Backspace, checking
// what must hold for every input.
//
// Input: code unit 0 gives the key length (mod 64), the next units are the key, the rest is
// the phrase field's text.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "code_table.h"
#include "cp1251.h"
#include "field_input.h"
#include "normalize.h"
#include "trace.h"

namespace {

using quorvel::CodeTable;

void Require(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
  }
}

std::array<std::uint8_t, CodeTable::kSize> Snapshot(const CodeTable& table) {
  std::array<std::uint8_t, CodeTable::kSize> slots{};
  for (long i = 0; i < CodeTable::kSize; ++i) {
    slots[static_cast<std::size_t>(i)] = *table.At(i);
  }
  return slots;
}

void CheckNormalized(const std::u16string& text, const quorvel::Normalized& n) {
  Require(n.upper.size() == text.size(), "upper-casing keeps the length");
  std::size_t at = 0;
  for (char16_t ch : n.phrase) {
    Require(ch >= u'A' && ch <= u'Z', "the phrase holds only A..Z");
    while (at < n.upper.size() && n.upper[at] != ch) {
      ++at;
    }
    Require(at < n.upper.size(), "the phrase keeps the text's order");
    ++at;
  }
}

void CheckLog(const std::u16string& phrase, const std::u16string& key, const std::u16string& log,
              const std::array<std::uint8_t, CodeTable::kSize>& before, const CodeTable& table) {
  const std::size_t n = phrase.size();
  std::size_t lines = 0;
  std::size_t start = 0;
  std::size_t decrypted = 0;
  for (std::size_t end; (end = log.find(u"\r\n", start)) != std::u16string::npos; start = end + 2) {
    ++lines;
    if (lines >= n + 4) {
      Require(end > start && log[end - 1] == phrase[decrypted], "decryption spells the phrase");
      ++decrypted;
    } else if (lines >= 3 && lines <= n + 2) {
      Require(log[start] == phrase[lines - 3], "each letter line starts with its letter");
    }
  }
  Require(start == log.size(), "the log ends with CR LF");
  Require(lines == 2 * n + 3, "the log has 2n+3 lines");
  Require(decrypted == n, "one decryption line a letter");

  Require(table.At(0) == before[0], "slot 0 is never written");
  for (std::size_t i = 1; i <= n; ++i) {
    const char16_t k = key[(i - 1) % key.size()];
    Require(table.At(static_cast<long>(i)) == (quorvel::ToAnsi(phrase[i - 1]) ^ quorvel::ToAnsi(k)),
            "slot i holds p XOR q");
  }
  for (std::size_t i = n + 1; i < before.size(); ++i) {
    Require(table.At(static_cast<long>(i)) == before[i], "slots above n are left as they were");
  }
}

// What a paste admits and where Ctrl+Backspace stops, with the key length as the room and the
// caret.
void CheckFieldInput(const std::u16string& clipboard, std::size_t room) {
  const quorvel::Admitted paste = quorvel::AdmitPaste(clipboard, room);
  Require(paste.text.size() <= room, "a paste fits the room");
  Require(clipboard.compare(0, paste.text.size(), paste.text) == 0 || paste.refused,
          "a paste of code-page text is its start");
  for (char16_t ch : paste.text) {
    Require(ch != u'\r' && ch != u'\n' && quorvel::InCodePage(ch), "a paste is one code-page line");
  }
  const std::size_t start = quorvel::WordStartBefore(clipboard, room);
  Require(start <= std::min(room, clipboard.size()), "the word starts before the caret");
  Require(start == 0 || clipboard[start - 1] == u' ' || clipboard[start - 1] == u'\t',
          "a word starts after a blank or at the start");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static CodeTable table;  // lives across inputs, as the window's does across clicks

  std::u16string units(size / 2, u'\0');
  std::memcpy(units.data(), data, units.size() * 2);
  if (units.empty()) {
    return 0;
  }
  const std::size_t keyLength = std::min<std::size_t>(units[0] % 64, units.size() - 1);
  const std::u16string key = units.substr(1, keyLength);
  const std::u16string text = units.substr(1 + keyLength);

  CheckFieldInput(text, keyLength);
  const quorvel::Normalized normalized = quorvel::Normalize(text);
  CheckNormalized(text, normalized);
  const std::u16string& phrase = normalized.phrase;

  const auto before = Snapshot(table);
  const auto log = quorvel::Trace(phrase, key, table);
  Require(log.has_value() == (!phrase.empty() && !key.empty() && phrase.size() <= 300),
          "a log exactly when both given and the phrase fits the table");
  if (log) {
    CheckLog(phrase, key, *log, before, table);
  } else {
    Require(Snapshot(table) == before, "no log, no change to the table");
  }
  return 0;
}
