// Runs in the page on the user's click in the assistant: writes into the focused field the
// way typing would (input and change events for pages built on frameworks) and carries out
// the key the user chose to follow it.
'use strict';
globalThis.zumikeyPage = globalThis.zumikeyPage || (() => {
  const TEXT_TYPES = new Set(['', 'text', 'search', 'tel', 'url', 'email', 'number']);

  function deepActive(doc) {
    let el = doc.activeElement;
    while (el && el.shadowRoot && el.shadowRoot.activeElement) el = el.shadowRoot.activeElement;
    return el;
  }

  function isTextField(el) {
    if (el instanceof HTMLTextAreaElement) return true;
    return el instanceof HTMLInputElement && TEXT_TYPES.has(el.type);
  }

  // The value setter of the element's own kind: frameworks that wrap `value` see the change.
  function setValue(el, value) {
    const proto = el instanceof HTMLTextAreaElement ? HTMLTextAreaElement.prototype
                                                    : HTMLInputElement.prototype;
    Object.getOwnPropertyDescriptor(proto, 'value').set.call(el, value);
  }

  function fire(el, text) {
    el.dispatchEvent(new InputEvent('input', { bubbles: true, composed: true,
                                               inputType: 'insertText', data: text }));
    el.dispatchEvent(new Event('change', { bubbles: true }));
  }

  function insertAtCaret(el, text) {
    if (el.isContentEditable) {
      if (!document.execCommand('insertText', false, text)) {
        const range = getSelection().getRangeAt(0);
        range.deleteContents();
        range.insertNode(document.createTextNode(text));
        range.collapse(false);
        fire(el, text);
      }
      return;
    }
    let start = null;
    let end = null;
    try {
      start = el.selectionStart;
      end = el.selectionEnd;
    } catch (e) { /* email and number fields have no selection */ }
    if (start === null) start = end = el.value.length;
    const old = el.value;
    let piece = text;
    if (el.maxLength >= 0) piece = piece.slice(0, Math.max(0, el.maxLength - (old.length - (end - start))));
    setValue(el, old.slice(0, start) + piece + old.slice(end));
    try {
      el.setSelectionRange(start + piece.length, start + piece.length);
    } catch (e) { /* as above */ }
    fire(el, piece);
  }

  // Editing hosts are in the tab order though their tabIndex may read -1.
  function tabIndexOf(el) {
    if (el.hasAttribute('tabindex')) return el.tabIndex;
    const host = el.isContentEditable && !(el.parentElement && el.parentElement.isContentEditable);
    return host ? 0 : el.tabIndex;
  }

  function focusable(el) {
    if (el.disabled || tabIndexOf(el) < 0 || el.type === 'hidden') return false;
    if (!(el.offsetWidth || el.offsetHeight || el.getClientRects().length)) return false;
    return el.matches('input, select, textarea, button, a[href], iframe, [tabindex]') ||
      el.isContentEditable;
  }

  // The element Tab moves to: positive tab indexes first, in order, then document order.
  function nextInTabOrder(el) {
    const all = [...document.querySelectorAll('*')].filter(focusable);
    const positive = all.filter((e) => tabIndexOf(e) > 0).sort((a, b) => tabIndexOf(a) - tabIndexOf(b));
    const order = positive.concat(all.filter((e) => tabIndexOf(e) === 0));
    const at = order.indexOf(el);
    return order[at + 1] || null;
  }

  function key(el, type, name) {
    return el.dispatchEvent(new KeyboardEvent(type, { key: name, code: name, bubbles: true,
                                                      cancelable: true, composed: true }));
  }

  // Enter submits only where a key press would: a single-line field of a form that has a
  // submit button or no other such field.
  function pressEnter(el) {
    if (!key(el, 'keydown', 'Enter')) return;
    if (el instanceof HTMLTextAreaElement || el.isContentEditable) {
      insertAtCaret(el, '\n');
    } else if (el.form) {
      const submit = el.form.querySelector('button:not([type]), button[type=submit], input[type=submit], input[type=image]');
      const fields = [...el.form.elements].filter(isTextField);
      if (submit && !submit.disabled) submit.click();
      else if (!submit && fields.length === 1) el.form.requestSubmit();
    }
    key(el, 'keyup', 'Enter');
  }

  function after(el, name) {
    if (name === 'Tab') {
      if (!key(el, 'keydown', 'Tab')) return;
      const next = nextInTabOrder(el);
      if (next) next.focus();
    } else if (name === 'Enter') {
      pressEnter(el);
    }
  }

  // The frame whose focused element takes the message: the top document unless its focus is
  // in a frame, then the frame that has the focus.
  function focusedField() {
    if (window !== window.top && !document.hasFocus()) return null;
    const el = deepActive(document);
    if (!el || el instanceof HTMLIFrameElement || el.tagName === 'FRAME') return null;
    return el;
  }

  function insert(message) {
    const el = focusedField();
    if (!el) return null;
    if (!el.isContentEditable && !isTextField(el)) return { handled: true, ok: false, error: 'no-field' };
    if (el.readOnly || el.disabled) return { handled: true, ok: false, error: 'read-only' };
    insertAtCaret(el, String(message.text));
    after(el, message.after);
    return { handled: true, ok: true };
  }

  function handle(message) {
    if (message.type === 'insert') return insert(message);
    if (message.type === 'fill' && globalThis.zumikeyFill) return globalThis.zumikeyFill(message);
    return null;
  }

  return { handle, isTextField, setValue, fire };
})();

// What the injection gives back: nothing (a function cannot be handed over).
undefined;
