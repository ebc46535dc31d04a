#!/usr/bin/env node
// A small static file server for the web edition, on 127.0.0.1 only.
// Usage: serve.mjs SITE_DIR [PORT]   (port 0, the default, picks a free one)
// The tests import `serve` to run the site on a free port of their own; it
// keeps a record of what it sent. Like a static host, it names each file's
// version (ETag) and answers an unchanged one with 304 Not Modified, and it
// sends the security headers a host of the site should send (the page sets
// its own Content-Security-Policy, which a static host may not send). Text
// and WebAssembly go gzipped to a browser that takes it, as from any host.
import { createHash } from "node:crypto";
import { createServer } from "node:http";
import { readFile } from "node:fs/promises";
import { gzipSync } from "node:zlib";
import { extname, join, normalize, resolve, sep } from "node:path";
import { fileURLToPath } from "node:url";

const TYPES = {
  ".html": "text/html; charset=utf-8",
  ".js": "text/javascript; charset=utf-8",
  ".css": "text/css; charset=utf-8",
  ".wasm": "application/wasm",
  ".png": "image/png",
  ".svg": "image/svg+xml",
  ".woff2": "font/woff2",
  ".txt": "text/plain; charset=utf-8",
  ".webmanifest": "application/manifest+json",
};

const COMPRESSED = new Set([".html", ".js", ".css", ".wasm", ".svg", ".txt", ".webmanifest"]);

export function serve(root, port = 0) {
  const base = resolve(root);
  const served = [];  // { path, status, bytes } of every answer with a file
  const server = createServer(async (request, response) => {
    let path;
    try {
      path = decodeURIComponent(new URL(request.url, "http://localhost").pathname);
    } catch {
      response.writeHead(400).end();
      return;
    }
    const file = normalize(join(base, path.endsWith("/") ? path + "index.html" : path));
    if (request.method !== "GET" && request.method !== "HEAD") {
      response.writeHead(405).end();
      return;
    }
    if (file !== base && !file.startsWith(base + sep)) {
      response.writeHead(403).end();
      return;
    }
    try {
      const raw = await readFile(file);
      const gzip = COMPRESSED.has(extname(file)) && /\bgzip\b/.test(request.headers["accept-encoding"] ?? "");
      const body = gzip ? gzipSync(raw) : raw;
      // Each encoding a version of its own.
      const tag = `"${createHash("sha1").update(raw).digest("base64url")}${gzip ? "-gzip" : ""}"`;
      const headers = {
        ...(gzip ? { "Content-Encoding": "gzip" } : {}),
        Vary: "Accept-Encoding",
        "Content-Type": TYPES[extname(file)] ?? "application/octet-stream",
        "Cache-Control": "no-cache",
        ETag: tag,
        "X-Content-Type-Options": "nosniff",
        "Referrer-Policy": "no-referrer",
      };
      const path = file.slice(base.length + 1).split(sep).join("/");
      if (request.headers["if-none-match"] === tag) {
        served.push({ path, status: 304, bytes: 0 });
        response.writeHead(304, headers).end();
        return;
      }
      served.push({ path, status: 200, bytes: raw.length });
      response.writeHead(200, headers);
      response.end(request.method === "HEAD" ? undefined : body);
    } catch {
      response.writeHead(404, { "Content-Type": "text/plain" }).end("not found\n");
    }
  });
  return new Promise((done, fail) => {
    server.once("error", fail);
    server.listen(port, "127.0.0.1", () => done({
      url: `http://127.0.0.1:${server.address().port}/`,
      served,
      close: () => new Promise((closed) => server.close(closed)),
    }));
  });
}

if (process.argv[1] && resolve(process.argv[1]) === fileURLToPath(import.meta.url)) {
  const [root, port] = process.argv.slice(2);
  if (!root) {
    console.error("usage: serve.mjs SITE_DIR [PORT]");
    process.exit(2);
  }
  const { url } = await serve(root, Number(port ?? 0));
  console.log(`Serving ${root} at ${url} (Ctrl+C stops)`);
}
