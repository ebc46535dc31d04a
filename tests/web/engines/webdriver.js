// A small W3C WebDriver client over fetch: a session of a driver already
// listening at `base`, the commands the engine tests use, and nothing else.
export async function newSession(base, capabilities) {
  const call = async (method, path, body) => {
    const response = await fetch(base + path, {
      method,
      headers: body === undefined ? {} : { "Content-Type": "application/json" },
      body: body === undefined ? undefined : JSON.stringify(body),
    });
    const { value } = await response.json();
    if (!response.ok) throw new Error(`WebDriver ${method} ${path}: ${value?.error}: ${value?.message}`);
    return value;
  };
  const { sessionId } = await call("POST", "/session", { capabilities: { alwaysMatch: capabilities } });
  const at = (path) => `/session/${sessionId}${path}`;
  return {
    goto: (url) => call("POST", at("/url"), { url }),
    refresh: () => call("POST", at("/refresh"), {}),
    // A function's source called with `args`; the page's answer (a promise's
    // once it settles).
    evaluate: (fn, ...args) => call("POST", at("/execute/async"), {
      script: `const done = arguments[arguments.length - 1];
        Promise.resolve((${fn}).apply(null, Array.from(arguments).slice(0, -1)))
          .then((v) => done({ ok: v === undefined ? null : v }), (e) => done({ error: String(e) }));`,
      args,
    }).then((r) => { if (r.error) throw new Error(r.error); return r.ok; }),
    // Keys pressed one after another, each as WebDriver's code point.
    keys: (codes) => call("POST", at("/actions"), { actions: [{ type: "key", id: "keyboard",
      actions: codes.flatMap((value) => [{ type: "keyDown", value }, { type: "keyUp", value }]) }] }),
    click: async (selector) => {
      const element = await call("POST", at("/element"), { using: "css selector", value: selector });
      await call("POST", at(`/element/${Object.values(element)[0]}/click`), {});
    },
    screenshot: async () => Buffer.from(await call("GET", at("/screenshot")), "base64"),
    close: () => call("DELETE", at("")),
  };
}
