// What the page asks of the core and of the form, as plain functions of a WebAssembly module
// without imports: numbers and pointers into its memory go in and out, and the page's script
// moves UTF-16 text through the buffers of a Page.
#include <cstddef>
#include <cstdint>
#include <string>

#include "code_table.h"
#include "cp1251.h"
#include "field_input.h"
#include "layout.h"
#include "normalize.h"
#include "trace.h"

#define EXPORT(name) extern "C" __attribute__((export_name(name)))

namespace quorvel {
namespace {

// The page's counterpart of the window: it owns the CodeTable, which lives from the page's
// opening to its closing, and the text going in and coming out of the last call.
struct Page {
  CodeTable codeTable;
  std::u16string in[2];
  std::u16string out[2];
};

std::u16string* Slot(std::u16string (&texts)[2], int slot) {
  return slot == 0 || slot == 1 ? &texts[slot] : nullptr;
}

}  // namespace
}  // namespace quorvel

using quorvel::Page;

EXPORT("page_open") Page* PageOpen() {
  return new Page();
}

// Room for `length` UTF-16 units of input slot 0 or 1, to be written by the caller.
EXPORT("page_input") char16_t* PageInput(Page* page, int slot, std::size_t length) {
  std::u16string* text = quorvel::Slot(page->in, slot);
  if (text == nullptr) {
    return nullptr;
  }
  text->assign(length, u'\0');
  return text->data();
}

EXPORT("page_output") const char16_t* PageOutput(Page* page, int slot) {
  const std::u16string* text = quorvel::Slot(page->out, slot);
  return text == nullptr ? nullptr : text->data();
}

EXPORT("page_output_length") std::size_t PageOutputLength(Page* page, int slot) {
  const std::u16string* text = quorvel::Slot(page->out, slot);
  return text == nullptr ? 0 : text->size();
}

// "Изчисли": the phrase (input 0) reduced to capitals goes to output 0; with the key (input 1),
// the log goes to output 1, and the result says whether there is one.
EXPORT("page_compute") int PageCompute(Page* page) {
  page->out[0] = quorvel::Normalize(page->in[0]).phrase;
  const auto log = quorvel::Trace(page->out[0], page->in[1], page->codeTable);
  page->out[1] = log ? *log : std::u16string();
  return log ? 1 : 0;
}

// A paste of input 0 into a field with room for `room` more characters: what goes in to output
// 0; the result says whether a character was left out for being outside the code page.
EXPORT("page_admit_paste") int PageAdmitPaste(Page* page, std::size_t room) {
  quorvel::Admitted admitted = quorvel::AdmitPaste(page->in[0], room);
  page->out[0] = std::move(admitted.text);
  return admitted.refused ? 1 : 0;
}

// Where Ctrl+Backspace at `caret` in input 0 deletes back to.
EXPORT("page_word_start") std::size_t PageWordStart(Page* page, std::size_t caret) {
  return quorvel::WordStartBefore(page->in[0], caret);
}

EXPORT("in_code_page") int InCodePage(std::uint32_t ch) {
  return ch <= 0xFFFF && quorvel::InCodePage(static_cast<char16_t>(ch)) ? 1 : 0;
}

// The form, row by row: the numbers of a row, in the order of the table's columns.
enum RowField { kArray, kIndex, kKind, kLeft, kTop, kWidth, kHeight, kLimit, kBackground, kShown };

EXPORT("form_rows") std::size_t FormRows() {
  return quorvel::kControlCount;
}

EXPORT("form_row") std::uint32_t FormRow(std::size_t row, int field) {
  if (row >= quorvel::kControlCount) {
    return 0;
  }
  const quorvel::ControlSpec& spec = quorvel::kLayout[row];
  switch (field) {
    case kArray:
      return static_cast<std::uint32_t>(spec.array);
    case kIndex:
      return static_cast<std::uint32_t>(spec.index);
    case kKind:
      return static_cast<std::uint32_t>(spec.kind);
    case kLeft:
      return static_cast<std::uint32_t>(spec.twips.left);
    case kTop:
      return static_cast<std::uint32_t>(spec.twips.top);
    case kWidth:
      return static_cast<std::uint32_t>(spec.twips.width);
    case kHeight:
      return static_cast<std::uint32_t>(spec.twips.height);
    case kLimit:
      return static_cast<std::uint32_t>(spec.limit);
    case kBackground:
      return spec.background;
    case kShown:
      return spec.shown ? 1 : 0;
    default:
      return 0;
  }
}

// A row's text, ending in a zero.
EXPORT("form_row_text") const char16_t* FormRowText(std::size_t row) {
  return row < quorvel::kControlCount ? quorvel::kLayout[row].text : nullptr;
}

enum WindowField { kClientWidth, kClientHeight, kWindowBackground, kFontPoints, kTwipsPerInch };

EXPORT("form_window") std::uint32_t FormWindow(int field) {
  switch (field) {
    case kClientWidth:
      return quorvel::kClientWidthTwips;
    case kClientHeight:
      return quorvel::kClientHeightTwips;
    case kWindowBackground:
      return quorvel::kWindowBackground;
    case kFontPoints:
      return quorvel::kFontPoints;
    case kTwipsPerInch:
      return quorvel::kTwipsPerInch;
    default:
      return 0;
  }
}

EXPORT("form_caption") const char16_t* FormCaption() {
  return quorvel::kWindowCaption;
}

EXPORT("form_font_face") const char16_t* FormFontFace() {
  return quorvel::kFontFace;
}
