#include "xor_cipher.h"

namespace quorvel {
namespace {

AnsiCode CodeAt(const std::u16string& text, long position) {
  if (position < 1 || static_cast<unsigned long>(position) > text.size()) {
    throw SubscriptOutOfRange();
  }
  return ToAnsi(text[static_cast<std::size_t>(position - 1)]);
}

}  // namespace

long KeyPosition(long i, long m) {
  long k = i % m;
  return k < 1 ? m : k;
}

TraceStep Encrypt(const std::u16string& phrase, const std::u16string& key, long i,
                  CodeTable& table) {
  TraceStep step;
  step.i = i;
  step.k = KeyPosition(i, static_cast<long>(key.size()));
  step.p = CodeAt(phrase, i);
  step.q = CodeAt(key, step.k);
  step.letter = FromAnsi(step.p);
  step.keyChar = FromAnsi(step.q);
  step.x = static_cast<AnsiCode>(step.p ^ step.q);
  table.Set(i, step.x);
  return step;
}

DecryptStep Decrypt(const std::u16string& key, long i, const CodeTable& table) {
  DecryptStep step;
  step.q = CodeAt(key, KeyPosition(i, static_cast<long>(key.size())));
  step.x = table.At(i);
  step.letter = FromAnsi(static_cast<AnsiCode>(step.x ^ step.q));
  return step;
}

}  // namespace quorvel
