#include "xor_cipher.h"

namespace quorvel {
namespace {

std::optional<AnsiCode> CodeAt(const std::u16string& text, long position) {
  if (position < 1 || static_cast<unsigned long>(position) > text.size()) {
    return std::nullopt;
  }
  return ToAnsi(text[static_cast<std::size_t>(position - 1)]);
}

}  // namespace

long KeyPosition(long i, long m) {
  long k = i % m;
  return k < 1 ? m : k;
}

std::optional<TraceStep> Encrypt(const std::u16string& phrase, const std::u16string& key, long i,
                                 CodeTable& table) {
  if (key.empty()) {
    return std::nullopt;
  }
  TraceStep step;
  step.i = i;
  step.k = KeyPosition(i, static_cast<long>(key.size()));
  const auto p = CodeAt(phrase, i);
  const auto q = CodeAt(key, step.k);
  if (!p || !q || !CodeTable::InRange(i)) {
    return std::nullopt;
  }
  step.p = *p;
  step.q = *q;
  step.letter = FromAnsi(step.p);
  step.keyChar = FromAnsi(step.q);
  step.x = static_cast<AnsiCode>(step.p ^ step.q);
  table.Set(i, step.x);
  return step;
}

std::optional<DecryptStep> Decrypt(const std::u16string& key, long i, const CodeTable& table) {
  if (key.empty()) {
    return std::nullopt;
  }
  const auto q = CodeAt(key, KeyPosition(i, static_cast<long>(key.size())));
  const auto x = table.At(i);
  if (!q || !x) {
    return std::nullopt;
  }
  DecryptStep step;
  step.q = *q;
  step.x = *x;
  step.letter = FromAnsi(static_cast<AnsiCode>(step.x ^ step.q));
  return step;
}

}  // namespace quorvel
