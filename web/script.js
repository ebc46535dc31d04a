// `nubbo.runScript(text)`: the simulator's own script reader, compiled into
// its own module and fetched on the first call. It runs on a game of its
// own, so the game on the page never notices. Resolves to the exit status,
// standard output and standard error that `nubbo-sim` gives for the script.
let module = null;
const encoder = new TextEncoder();
const decoder = new TextDecoder();

// `text` is a string (run as UTF-8) or bytes (an ArrayBuffer or a typed array).
export async function runScript(text) {
  let bytes;
  if (typeof text === "string") bytes = encoder.encode(text);
  else if (ArrayBuffer.isView(text)) bytes = new Uint8Array(text.buffer, text.byteOffset, text.byteLength);
  else if (text instanceof ArrayBuffer) bytes = new Uint8Array(text);
  else throw new TypeError("runScript takes a string or bytes");
  module ??= import("./nubbo-script.js").then(({ default: create }) => create());
  const script = await module;
  try {
    script.HEAPU8.set(bytes, script._nubbo_script_input(bytes.length));
    const status = script._nubbo_run_script();
    const read = (at, size) => decoder.decode(script.HEAPU8.subarray(at, at + size));
    return {
      status,
      out: read(script._nubbo_script_out(), script._nubbo_script_out_size()),
      err: read(script._nubbo_script_err(), script._nubbo_script_err_size()),
    };
  } catch (error) {
    module = null;  // a module that aborted is not used again
    throw error;
  }
}
