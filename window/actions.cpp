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
  // Nothing for an empty field, or for a phrase longer than the table, which only another
  // program can put into the field: the log box then keeps what it shows.
  const auto log = Trace(ReadText(Control(ControlArray::Text2, 0)),
                         ReadText(Control(ControlArray::Text2, 1)), codeTable_);
  if (log) {
    WriteText(Control(ControlArray::Text1, 0), *log);
  }
}

void Quorvel::ClearInputs() {
  WriteText(Control(ControlArray::Text2, 0), u"");
  WriteText(Control(ControlArray::Text2, 1), u"");
}

}  // namespace quorvel
