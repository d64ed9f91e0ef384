"use strict";
// The page's window: built from the form that the core's module carries, with every rule of
// its text (normalization, the log, the code page, paste, Ctrl+Backspace) the core's. This
// script only places the controls and moves UTF-16 text in and out of the module.
(async () => {
  const binary = atob(document.getElementById("core").textContent);  // white space ignored
  const bytes = new Uint8Array(binary.length);
  for (let i = 0; i < binary.length; i++) bytes[i] = binary.charCodeAt(i);
  const { instance } = await WebAssembly.instantiate(bytes, {});
  const core = instance.exports;
  core._initialize();

  // Text in the module's memory; its buffer is taken anew after every call, which may grow it.
  const units = (pointer, length) => new Uint16Array(core.memory.buffer, pointer, length);
  const zeroEnded = (pointer) => {
    const all = new Uint16Array(core.memory.buffer, pointer);
    return String.fromCharCode(...all.subarray(0, all.indexOf(0)));
  };
  const page = core.page_open();
  const put = (slot, text) => {
    const to = units(core.page_input(page, slot, text.length), text.length);
    for (let i = 0; i < text.length; i++) to[i] = text.charCodeAt(i);
  };
  const got = (slot) =>
    String.fromCharCode(...units(core.page_output(page, slot), core.page_output_length(page, slot)));

  // The form: the table's rows, a function of the module's a column, and the window's figures.
  const SYSTEM_COLOURS = 0xffffffff;
  const WINDOWS_SCROLL_BAR = 17;  // CSS pixels
  const twipsPerPixel = core.form_twips_per_inch() / 96;
  const px = (twips) => `${twips / twipsPerPixel}px`;
  const colour = (ref) => `rgb(${ref & 255}, ${(ref >>> 8) & 255}, ${(ref >>> 16) & 255})`;

  document.title = zeroEnded(core.form_caption());
  document.getElementById("caption").textContent = document.title;
  const client = document.getElementById("client");
  client.style.width = px(core.form_client_width());
  client.style.height = px(core.form_client_height());
  client.style.background = colour(core.form_background());
  client.style.fontFamily = `"${zeroEnded(core.form_font_face())}", "Liberation Serif", Tinos, serif`;
  client.style.fontSize = `${(core.form_font_points() * 96) / 72}px`;

  const controls = {};  // by "Text2(0)" and the like
  let caption = null;  // the caption just before, which names an edit box as on Windows
  for (let row = 0; row < core.form_rows(); row++) {
    const number = (column) => core[`form_row_${column}`](row) >>> 0;
    const kind = zeroEnded(core.form_row_kind(row));
    const text = zeroEnded(core.form_row_text(row));
    const name = `${zeroEnded(core.form_row_array(row))}(${number("index")})`;
    let control;
    if (kind === "caption") {
      control = document.createElement("label");
      control.textContent = text;
    } else if (kind === "button") {
      control = document.createElement("button");
      control.type = "button";
      control.textContent = text;
    } else {
      control = document.createElement(kind === "box" ? "textarea" : "input");
      if (kind === "box") {
        control.readOnly = true;
      } else {
        control.type = "text";
        control.maxLength = number("limit");
        control.autocomplete = "off";
        control.autocapitalize = "off";
      }
      control.spellcheck = false;
      control.value = text;
      if (caption) {
        caption.htmlFor = control.id = `control-${row}`;
        caption.id = `caption-${row}`;
        control.setAttribute("aria-labelledby", caption.id);
      }
    }
    control.dataset.control = name;
    for (const side of ["left", "top", "width", "height"]) control.style[side] = px(number(side));
    if (number("background") !== SYSTEM_COLOURS) control.style.background = colour(number("background"));
    control.hidden = !number("shown");
    caption = kind === "caption" ? control : null;
    controls[name] = control;
    client.append(control);
  }

  // A box shows its text from the first line, the caret before it, as the window's does.
  const showFromTheTop = (box, text) => {
    box.value = text;
    box.setSelectionRange(0, 0);
    box.scrollTop = 0;
  };
  const phrase = controls["Text2(0)"];
  const key = controls["Text2(1)"];
  const log = controls["Text1(0)"];
  controls["Command1(0)"].addEventListener("click", () => {
    put(0, phrase.value);
    put(1, key.value);
    const logged = core.page_compute(page);
    phrase.value = got(0);
    if (logged) {
      showFromTheTop(log, got(1));
    }
  });
  controls["Command1(1)"].addEventListener("click", () => {
    phrase.value = "";
    key.value = "";
  });

  // The selection replaced as by typing, which leaves a step for Ctrl+Z; where the browser
  // takes no such command, replaced all the same.
  const replaceSelection = (field, text) => {
    if (!text && field.selectionStart === field.selectionEnd) return;
    // Set again, which ends the typing before: the replacement is an undo step of its own.
    field.setSelectionRange(field.selectionStart, field.selectionEnd);
    const typed = text ? document.execCommand("insertText", false, text)
                       : document.execCommand("delete");
    if (!typed) field.setRangeText(text, field.selectionStart, field.selectionEnd, "end");
  };
  const refused = (text) => [...text].some((ch) => !core.in_code_page(ch.codePointAt(0)));
  for (const field of [phrase, key]) {
    // A typed character outside the code page goes nowhere.
    field.addEventListener("beforeinput", (event) => {
      if (event.inputType === "insertText" && event.data && refused(event.data)) {
        event.preventDefault();
      }
    });
    // A paste keeps the first line, without characters outside the code page, cut to the room.
    // What is kept whole is the browser's own paste; what is cut goes in as typing would, so
    // that Ctrl+Z takes it back either way.
    field.addEventListener("paste", (event) => {
      const text = event.clipboardData.getData("text/plain");
      put(0, text);
      core.page_admit_paste(page, field.maxLength, field.value.length,
                            field.selectionEnd - field.selectionStart);
      const admitted = got(0);
      if (admitted === text) return;
      event.preventDefault();
      replaceSelection(field, admitted);
    });
    field.addEventListener("drop", (event) => event.preventDefault());
    // What other ways of input bring (a phone's composing keyboard, say) is held to the same.
    field.addEventListener("input", () => {
      put(0, field.value);
      core.page_admit_paste(page, field.maxLength, 0, 0);
      const admitted = got(0);
      if (admitted !== field.value) {
        const caret = Math.min(field.selectionStart, admitted.length);
        field.value = admitted;
        field.setSelectionRange(caret, caret);
      }
    });
    // Ctrl+Backspace deletes the word before the caret, or the selection.
    field.addEventListener("keydown", (event) => {
      if (event.key !== "Backspace" || !event.ctrlKey || event.altKey) return;
      event.preventDefault();
      const end = field.selectionEnd;
      if (field.selectionStart === end) {
        put(0, field.value);
        field.setSelectionRange(core.page_word_start(page, end), end);
      }
      replaceSelection(field, "");
    });
  }

  // The log box wraps its text at the same width in every engine, whatever its scroll bar
  // takes (none where it lies over the text): the width a Windows scroll bar takes.
  const box = getComputedStyle(log);
  const bar = log.offsetWidth - log.clientWidth - parseFloat(box.borderLeftWidth) -
              parseFloat(box.borderRightWidth);
  log.style.paddingRight = `${parseFloat(box.paddingRight) + WINDOWS_SCROLL_BAR - bar}px`;

  // A window wider than the screen is shown smaller as a whole, never scrolled sideways. The
  // observer is called after each layout and before it is painted, the first one included.
  const fit = document.getElementById("fit");
  const frame = document.getElementById("frame");
  const room = document.getElementById("room");
  const scale = () => {
    const ratio = Math.min(1, room.clientWidth / frame.offsetWidth);
    frame.style.transform = ratio < 1 ? `scale(${ratio})` : "";
    fit.style.width = `${frame.offsetWidth * ratio}px`;
    fit.style.height = `${frame.offsetHeight * ratio}px`;
  };
  new ResizeObserver(scale).observe(room);
  scale();
  // Shown from here on (page.css hides the window until then), so that it can take the focus.
  document.documentElement.dataset.ready = "yes";
  log.setSelectionRange(0, 0);  // the caret before the task text, which shows from its top
  log.focus();
  performance.mark("quorvel-ready");
})();
