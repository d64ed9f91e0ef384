#include "trace.h"

#include <iterator>

#include "xor_cipher.h"

namespace quorvel {
namespace {

constexpr char16_t kHeader[] = u"Дължина на въведената фраза и ключ за кодиране: ";
constexpr char16_t kEncryptHeading[] = u"Последователно извеждам изчислените ASCII кодове:";
constexpr char16_t kDecryptHeading[] = u"Извеждам обратно кодираната фраза:";

// Writes into storage sized beforehand: one allocation a log, no capacity checks per piece.
class Writer {
 public:
  explicit Writer(char16_t* at) : at_(at) {}
  char16_t* end() const { return at_; }

  Writer& operator<<(char16_t ch) {
    *at_++ = ch;
    return *this;
  }
  template <std::size_t N>
  Writer& operator<<(const char16_t (&text)[N]) {
    for (std::size_t i = 0; i + 1 < N; ++i) {
      *at_++ = text[i];
    }
    return *this;
  }
  Writer& operator<<(std::size_t value) {
    char16_t digits[20];
    int count = 0;
    do {
      digits[count++] = static_cast<char16_t>(u'0' + value % 10);
      value /= 10;
    } while (value != 0);
    while (count > 0) {
      *at_++ = digits[--count];
    }
    return *this;
  }

 private:
  char16_t* at_;
};

constexpr char16_t kXor[] = u" Xor ";
constexpr char16_t kEquals[] = u" = ";
constexpr char16_t kLineBreak[] = u"\r\n";

// The longest a letter line and a decryption line can be: "A Xor ? = 255 Xor 255 = 255" and
// "255 Xor 255 = A", each with its line break.
constexpr std::size_t kMaxLetterLine = 29;
constexpr std::size_t kMaxDecryptLine = 17;
constexpr std::size_t kMaxNumber = 20;

}  // namespace

std::optional<std::u16string> Trace(const std::u16string& phrase, const std::u16string& key,
                                    CodeTable& table) {
  if (phrase.empty() || key.empty() ||
      phrase.size() >= static_cast<std::size_t>(CodeTable::kSize)) {
    return std::nullopt;
  }
  const long n = static_cast<long>(phrase.size());

  std::u16string log(std::size(kHeader) + 2 * kMaxNumber + 1 + std::size(kEncryptHeading) +
                         std::size(kDecryptHeading) + 3 * std::size(kLineBreak) +
                         (kMaxLetterLine + kMaxDecryptLine) * phrase.size(),
                     u'\0');
  Writer out(log.data());
  out << kHeader << phrase.size() << u':' << key.size() << kLineBreak;
  out << kEncryptHeading << kLineBreak;
  for (long i = 1; i <= n; ++i) {
    // Every position is inside phrase, key and table, checked above: no step fails. The step is
    // read where it was returned, not copied out of its optional (a copy costs a stalled load).
    const auto s = Encrypt(phrase, key, i, table);
    out << s->letter << kXor << s->keyChar << kEquals;
    out << std::size_t{s->p} << kXor << std::size_t{s->q} << kEquals << std::size_t{s->x}
        << kLineBreak;
  }
  out << kDecryptHeading << kLineBreak;
  for (long i = 1; i <= n; ++i) {
    const auto s = Decrypt(key, i, table);
    out << std::size_t{s->q} << kXor << std::size_t{s->x} << kEquals << s->letter << kLineBreak;
  }
  log.resize(static_cast<std::size_t>(out.end() - log.data()));
  return log;
}

}  // namespace quorvel
