// The actions behind the two buttons. They work on the window's text boxes directly: the
// fields are the program's data.
#include "normalize.h"
#include "quorvel_window.h"
#include "text_box.h"
#include "trace.h"

namespace quorvel {

void Quorvel::Command1_Click(short index) {
  switch (index) {
    case 0:
      NormalizePhrase();
      break;
    case 1:
      ClearInputs();
      break;
    default:
      break;
  }
}

void Quorvel::NormalizePhrase() {
  HWND phrase = Control(ControlArray::Text2, 0);
  const Normalized normalized = Normalize(ReadText(phrase));
  WriteText(phrase, normalized.upper);
  WriteText(phrase, normalized.phrase);
  TraceXorCipher();
}

void Quorvel::TraceXorCipher() {
  try {
    const auto log = Trace(ReadText(Control(ControlArray::Text2, 0)),
                           ReadText(Control(ControlArray::Text2, 1)), codeTable_);
    if (log) {
      WriteText(Control(ControlArray::Text1, 0), *log);
    }
  } catch (const SubscriptOutOfRange&) {
    // Only text put into the field by another program can be longer than the table; the
    // log box then keeps what it shows, as for empty fields.
  }
}

void Quorvel::ClearInputs() {
  WriteText(Control(ControlArray::Text2, 0), u"");
  WriteText(Control(ControlArray::Text2, 1), u"");
}

}  // namespace quorvel
