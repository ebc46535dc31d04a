// The service worker: the site in a cache of this build's own, served cache
// first, so that the game loads and plays with no network after the first
// visit. The build writes VERSION (a hash of every file of the site) and
// SITE (what a visit needs); a changed site is a changed sw.js, which the
// browser fetches on the next visit and installs beside the old one.
const VERSION = "@VERSION@";
const SITE = "@SITE@";
const CACHE = `nubbo-${VERSION}`;

self.addEventListener("install", (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(SITE)).then(() => self.skipWaiting()));
});

// The new version takes over the open pages at once, and the old caches go.
self.addEventListener("activate", (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((name) => name !== CACHE).map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

// The site's own files from the cache; what is not there yet (the script
// hook, the fonts' licences) from the network, kept on first use.
self.addEventListener("fetch", (event) => {
  const request = event.request;
  if (request.method !== "GET" || new URL(request.url).origin !== location.origin) return;
  event.respondWith(caches.open(CACHE).then(async (cache) => {
    const kept = await cache.match(request, { ignoreSearch: request.mode === "navigate" });
    if (kept) return kept;
    const response = await fetch(request);
    if (response.ok && request.mode !== "navigate") await cache.put(request, response.clone());
    return response;
  }));
});
