// Keeps one port to the native-messaging host open and carries out what the assistant asks
// in the active tab. Nothing of a page is sent anywhere; only the outcome goes back.
'use strict';
const api = globalThis.browser ?? globalThis.chrome;
const HOST = 'zumikey.bridge';
let port = null;

function connect() {
  port = api.runtime.connectNative(HOST);
  port.onMessage.addListener(onMessage);
  port.onDisconnect.addListener(() => {
    port = null;
    setTimeout(connect, 5000);
  });
  port.postMessage({
    type: 'hello',
    browser: navigator.userAgent.includes('Firefox') ? 'firefox' : 'chromium',
    version: api.runtime.getManifest().version,
  });
}

async function carryOut(message) {
  const [tab] = await api.tabs.query({ active: true, lastFocusedWindow: true });
  if (!tab) return { ok: false, error: 'no-tab' };
  const target = { tabId: tab.id, allFrames: true };
  await api.scripting.executeScript({ target, files: ['page.js', 'fill.js'] });
  const results = await api.scripting.executeScript({
    target,
    func: (m) => globalThis.zumikeyPage.handle(m),
    args: [message],
  });
  // Only the frame that holds the focus takes the message.
  const done = results.map((r) => r.result).find((r) => r && r.handled);
  if (!done) return { ok: false, error: 'no-field' };
  delete done.handled;
  return done;
}

async function onMessage(message) {
  if (message.type !== 'insert' && message.type !== 'fill') return;
  let answer;
  try {
    answer = await carryOut(message);
  } catch (e) {
    answer = { ok: false, error: String((e && e.message) || e) };
  }
  if (port) port.postMessage({ type: 'result', id: message.id, ...answer });
}

api.runtime.onStartup.addListener(() => {});
connect();
