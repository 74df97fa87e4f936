// One-click filling of the focused form from the profile the assistant sends. The rules
// that recognise a field are in classify(), which sees only the field's own description.
'use strict';
globalThis.zumikeyFill = globalThis.zumikeyFill || (() => {
  const SKIP_TYPES = new Set(['hidden', 'password', 'submit', 'button', 'reset', 'image', 'file',
                              'checkbox', 'range', 'color']);
  const AUTOCOMPLETE = {
    'name': 'name', 'family-name': 'family', 'given-name': 'given', 'postal-code': 'postal',
    'address-level1': 'pref', 'address-level2': 'city', 'address-level3': 'street',
    'address-level4': 'street', 'address-line1': 'street', 'address-line2': 'building',
    'address-line3': 'building', 'street-address': 'cityStreet', 'tel': 'tel',
    'tel-national': 'tel', 'tel-area-code': 'tel1', 'tel-local-prefix': 'tel2',
    'tel-local-suffix': 'tel3', 'email': 'email', 'bday': 'bday', 'bday-year': 'bdayYear',
    'bday-month': 'bdayMonth', 'bday-day': 'bdayDay', 'sex': 'sex',
    'organization-title': 'job',
  };
  // Label rules in order: the first that matches decides.
  const RULES = [
    [/パスワード|password|暗証|カード|card|cvc|cvv|セキュリティコード|有効期限|口座/i, 'skip'],
    [/メール|e-?mail|mail/i, 'email'],
    [/郵便|〒|zip|postal|post_?code/i, 'postal'],
    [/都道府県|prefecture|pref/i, 'pref'],
    [/市区町村|市町村|city/i, 'city'],
    [/番地|丁目|street|address_?1/i, 'street'],
    [/建物|マンション|ビル名|building|address_?2/i, 'building'],
    [/携帯|mobile|keitai/i, 'mobile'],
    [/電話|tel|phone/i, 'tel'],
    [/生年月日|誕生日|birth|bday/i, 'bday'],
    [/年齢|age/i, 'age'],
    [/性別|gender|sex/i, 'sex'],
    [/職業|occupation|job/i, 'job'],
    [/住所|address/i, 'address'],
    [/会社名|学校名|団体名|店舗?名|商品名|賞品名|ニックネーム|nickname|company/i, 'unknown'],
    [/姓|苗字|last_?name|family|\bsei(?![a-z])/i, 'family'],
    [/(^|[^氏お前])名(?!前)|first_?name|given|\bmei(?![a-z])/i, 'given'],
    [/氏名|お?名前|name/i, 'name'],
  ];
  const KANA = /フリガナ|ふりがな|ﾌﾘｶﾞﾅ|カナ|かな|ｶﾅ|セイ|メイ|よみ|読み|kana|furigana|ruby/i;
  const KATAKANA_LABEL = /フリガナ|ﾌﾘｶﾞﾅ|カナ|ｶﾅ|セイ|メイ/;
  const SPLITS = {
    name: ['family', 'given'], kana: ['familyKana', 'givenKana'], postal: ['postal1', 'postal2'],
    tel: ['tel1', 'tel2', 'tel3'], mobile: ['mobile1', 'mobile2', 'mobile3'],
    bday: ['bdayYear', 'bdayMonth', 'bdayDay'],
  };

  // A field's description to what it asks for: {key, katakana} or null when unknown.
  // d: {autocomplete, text (label, name, id, placeholder), type}.
  function classify(d) {
    if (SKIP_TYPES.has(d.type)) return { key: 'skip' };
    const text = d.text || '';
    const tokens = (d.autocomplete || '').toLowerCase().split(/\s+/).filter(Boolean);
    if (tokens.includes('off') === false && tokens.length) {
      const token = tokens[tokens.length - 1];
      if (/^cc-|^new-password|^current-password|^one-time-code/.test(token)) return { key: 'skip' };
      let key = AUTOCOMPLETE[token];
      if (key === 'tel' && tokens.includes('mobile')) key = 'mobile';
      if (key) return kanaForm(key, text);
    }
    if (/年齢|(^|[^a-z])age([^a-z]|$)/i.test(text)) return { key: 'age' };
    if (/生年月日|誕生日|birth|bday/i.test(text)) {
      if (/year|年(?!月)/i.test(text.replace(/生年月日/, ''))) return { key: 'bdayYear' };
      if (/month|月(?!日)/i.test(text.replace(/生年月日/, ''))) return { key: 'bdayMonth' };
      if (/day|日/i.test(text.replace(/生年月日|誕生日/, ''))) return { key: 'bdayDay' };
    }
    for (const [pattern, key] of RULES) {
      if (!pattern.test(text)) continue;
      if (key === 'unknown') return null;
      if (key === 'bday' && d.type === 'date') return { key: 'bdayDate' };
      return kanaForm(key, text);
    }
    // A reading with no other word is the whole name's.
    return KANA.test(text) ? kanaForm('name', text) : null;
  }

  function kanaForm(key, text) {
    if (!KANA.test(text)) return { key };
    const katakana = KATAKANA_LABEL.test(text);
    if (key === 'name' && /セイ|せい/.test(text)) key = 'family';
    else if (key === 'name' && /メイ|めい/.test(text)) key = 'given';
    const kanaKey = { name: 'kana', family: 'familyKana', given: 'givenKana',
                      address: 'addressKana' }[key];
    return { key: kanaKey || key, katakana };
  }

  function toKatakana(s) {
    return s.replace(/[\u3041-\u3096]/g, (c) => String.fromCharCode(c.charCodeAt(0) + 0x60));
  }

  function toHalfWidthDigits(s) {
    return s.replace(/[０-９－]/g, (c) => (c === '－' ? '-' : String.fromCharCode(c.charCodeAt(0) - 0xfee0)));
  }

  // The text a page shows for a field: its label, or the heading of its table row or list.
  function labelOf(el) {
    const parts = [];
    if (el.labels && el.labels.length) parts.push([...el.labels].map((l) => l.textContent).join(' '));
    if (el.getAttribute('aria-label')) parts.push(el.getAttribute('aria-label'));
    const row = el.closest('tr');
    const head = row && row.querySelector('th');
    if (head) parts.push(head.textContent);
    const dd = el.closest('dd');
    if (dd && dd.previousElementSibling) parts.push(dd.previousElementSibling.textContent);
    const fieldset = el.closest('fieldset');
    const legend = fieldset && fieldset.querySelector('legend');
    if (legend) parts.push(legend.textContent);
    return parts.join(' ').replace(/\s+/g, ' ').trim();
  }

  function describe(el) {
    return {
      autocomplete: el.getAttribute('autocomplete') || '',
      text: [labelOf(el), el.name, el.id, el.placeholder].filter(Boolean).join(' '),
      type: el instanceof HTMLSelectElement ? 'select' : (el.type || 'text').toLowerCase(),
    };
  }

  function numericField(el) {
    return el.type === 'tel' || el.type === 'number' ||
      /numeric|tel|decimal/.test(el.inputMode || '') ||
      /\\d|0-9/.test(el.getAttribute('pattern') || '') ||
      (el.maxLength > 0 && el.maxLength <= 13);
  }

  function chooseOption(select, value) {
    const number = /^\d+$/.test(value) ? Number(value) : null;
    for (const o of select.options) {
      const text = o.text.trim();
      if (o.value === value || text === value) return o;
    }
    for (const o of select.options) {
      const text = o.text.trim();
      if (number !== null && text && Number(text.replace(/[^\d]/g, '') || NaN) === number &&
          !/[^\d年月日歳\s]/.test(text)) return o;
      if (number === null && text && value.startsWith(text.replace(/[都道府県]$/, ''))) return o;
    }
    return null;
  }

  function setField(el, key, katakana, value) {
    const page = globalThis.zumikeyPage;
    if (el instanceof HTMLSelectElement) {
      const option = chooseOption(el, value);
      if (!option) return false;
      el.value = option.value;
      el.dispatchEvent(new Event('input', { bubbles: true }));
      el.dispatchEvent(new Event('change', { bubbles: true }));
      return true;
    }
    if (el.type === 'radio') {
      const group = el.form ? [...el.form.elements].filter((r) => r.type === 'radio' && r.name === el.name) : [el];
      const target = group.find((r) => (labelOf(r) + ' ' + r.value).includes(value[0]) ||
                                       (value === '女性' && /female|woman/i.test(r.value)) ||
                                       (value === '男性' && /^male|^man/i.test(r.value)));
      if (!target) return false;
      target.checked = true;
      target.dispatchEvent(new Event('input', { bubbles: true }));
      target.dispatchEvent(new Event('change', { bubbles: true }));
      return true;
    }
    let text = value;
    if (katakana) text = toKatakana(text);
    if (el.type === 'date' && key === 'bdayDate') text = value.replace(/\//g, '-');
    if (numericField(el)) {
      text = toHalfWidthDigits(text);
      if (el.maxLength > 0 && text.length > el.maxLength) text = text.replace(/-/g, '');
    }
    if (el.maxLength > 0 && text.length > el.maxLength) return false;
    page.setValue(el, text);
    page.fire(el, text);
    return true;
  }

  // What each key takes from the profile; parts of a run of fields split the value.
  function valueFor(values, key) {
    if (key === 'bdayDate') return values.bday;
    if (key === 'cityStreet') return [values.city, values.street, values.building].filter(Boolean).join('　');
    if (key === 'mobile' && !values.mobile) return values.tel;
    if (/^mobile\d$/.test(key) && !values.mobile) return values['tel' + key.slice(-1)];
    return values[key];
  }

  function showSummary(filled, left) {
    const old = document.getElementById('zumikey-summary');
    if (old) old.remove();
    const box = document.createElement('div');
    box.id = 'zumikey-summary';
    const shadow = box.attachShadow({ mode: 'closed' });
    const inner = document.createElement('div');
    inner.style.cssText = 'position:fixed;top:8px;right:8px;z-index:2147483647;max-width:22em;' +
      'background:#fffbe6;color:#000;border:1px solid #c90;padding:6px 10px;font:13px sans-serif;' +
      'box-shadow:0 2px 6px rgba(0,0,0,.3)';
    inner.textContent = `ズミキー：${filled.length} 項目を入力しました。` +
      (left.length ? `\n入力しなかった欄：${left.join('、')}` : '');
    inner.style.whiteSpace = 'pre-wrap';
    shadow.appendChild(inner);
    document.documentElement.appendChild(box);
    setTimeout(() => box.remove(), 10000);
  }

  function fill(message) {
    if (window !== window.top && !document.hasFocus()) return null;
    const active = document.activeElement;
    if (active && (active instanceof HTMLIFrameElement || active.tagName === 'FRAME')) return null;
    const scope = (active && active.form) || (document.forms.length === 1 ? document.forms[0] : document);
    const fields = [...scope.querySelectorAll('input, select, textarea')]
      .filter((el) => !el.disabled && !el.readOnly && el.type !== 'hidden');
    const plan = fields.map((el) => ({ el, c: classify(describe(el)) }));
    // Runs of fields asking for the same thing are its parts: 〒 [100]-[0001].
    for (let i = 0; i < plan.length;) {
      const key = plan[i].c && plan[i].c.key;
      let j = i + 1;
      while (j < plan.length && plan[j].c && plan[j].c.key === key && plan[j].el.type !== 'radio') ++j;
      if (SPLITS[key] && j - i === SPLITS[key].length)
        for (let k = i; k < j; ++k) plan[k].c = { ...plan[k].c, key: SPLITS[key][k - i] };
      i = j;
    }
    const filled = [];
    const left = [];
    const doneRadios = new Set();
    for (const { el, c } of plan) {
      const name = labelOf(el) || el.name || el.id || el.type;
      if (c && c.key === 'skip') continue;
      if (el.type === 'radio') {
        if (doneRadios.has(el.name)) continue;
        doneRadios.add(el.name);
      }
      const value = c && valueFor(message.values, c.key);
      if (value && setField(el, c.key, c.katakana, value)) filled.push(name);
      else left.push(name);
    }
    showSummary(filled, left);
    return { handled: true, ok: filled.length > 0, filled: filled.length, left: left.length,
             error: filled.length ? undefined : 'no-form' };
  }

  fill.classify = classify;
  return fill;
})();

// What the injection gives back: nothing (a function cannot be handed over).
undefined;
