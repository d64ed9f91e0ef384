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

// A paste of input 0 into a field of at most `limit` characters that holds `length`, `selected`
// of them replaced: what goes in to output 0; the result says whether a character was left out
// for being outside the code page.
EXPORT("page_admit_paste")
int PageAdmitPaste(Page* page, std::size_t limit, std::size_t length, std::size_t selected) {
  const std::size_t room = quorvel::PasteRoom(limit, length, selected);
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

// The form, row by row, a function a column, so that the page names each thing it reads. A
// control's array ("Text2") and kind ("caption", "field", "box", "button") come as text.
template <typename Column>
std::uint32_t Number(std::size_t row, Column column) {
  return row < quorvel::kControlCount ? static_cast<std::uint32_t>(column(quorvel::kLayout[row]))
                                      : 0;
}

EXPORT("form_rows") std::size_t FormRows() {
  return quorvel::kControlCount;
}

EXPORT("form_row_array") const char16_t* FormRowArray(std::size_t row) {
  return row < quorvel::kControlCount
             ? quorvel::kArrayNames[static_cast<int>(quorvel::kLayout[row].array)]
             : nullptr;
}

EXPORT("form_row_index") std::uint32_t FormRowIndex(std::size_t row) {
  return Number(row, [](const quorvel::ControlSpec& c) { return c.index; });
}

EXPORT("form_row_kind") const char16_t* FormRowKind(std::size_t row) {
  static constexpr const char16_t* kKinds[] = {u"caption", u"field", u"box", u"button"};
  return row < quorvel::kControlCount ? kKinds[static_cast<int>(quorvel::kLayout[row].kind)]
                                      : nullptr;
}

EXPORT("form_row_text") const char16_t* FormRowText(std::size_t row) {
  return row < quorvel::kControlCount ? quorvel::kLayout[row].text : nullptr;
}

EXPORT("form_row_left") std::uint32_t FormRowLeft(std::size_t row) {
  return Number(row, [](const quorvel::ControlSpec& c) { return c.twips.left; });
}

EXPORT("form_row_top") std::uint32_t FormRowTop(std::size_t row) {
  return Number(row, [](const quorvel::ControlSpec& c) { return c.twips.top; });
}

EXPORT("form_row_width") std::uint32_t FormRowWidth(std::size_t row) {
  return Number(row, [](const quorvel::ControlSpec& c) { return c.twips.width; });
}

EXPORT("form_row_height") std::uint32_t FormRowHeight(std::size_t row) {
  return Number(row, [](const quorvel::ControlSpec& c) { return c.twips.height; });
}

// Characters the user may type, 0 for none.
EXPORT("form_row_limit") std::uint32_t FormRowLimit(std::size_t row) {
  return Number(row, [](const quorvel::ControlSpec& c) { return c.limit; });
}

// 0x00BBGGRR, or all ones for the system's own colours.
EXPORT("form_row_background") std::uint32_t FormRowBackground(std::size_t row) {
  return Number(row, [](const quorvel::ControlSpec& c) { return c.background; });
}

EXPORT("form_row_shown") std::uint32_t FormRowShown(std::size_t row) {
  return Number(row, [](const quorvel::ControlSpec& c) { return c.shown; });
}

EXPORT("form_client_width") std::uint32_t FormClientWidth() {
  return quorvel::kClientWidthTwips;
}

EXPORT("form_client_height") std::uint32_t FormClientHeight() {
  return quorvel::kClientHeightTwips;
}

EXPORT("form_background") std::uint32_t FormBackground() {
  return quorvel::kWindowBackground;
}

EXPORT("form_font_points") std::uint32_t FormFontPoints() {
  return quorvel::kFontPoints;
}

EXPORT("form_twips_per_inch") std::uint32_t FormTwipsPerInch() {
  return quorvel::kTwipsPerInch;
}

EXPORT("form_caption") const char16_t* FormCaption() {
  return quorvel::kWindowCaption;
}

EXPORT("form_font_face") const char16_t* FormFontFace() {
  return quorvel::kFontFace;
}
