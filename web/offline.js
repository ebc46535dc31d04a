// The site in a service worker's cache (sw.js), so that the game loads and
// plays with no network after the first visit. A new version, once
// published, is fetched in the background on the next visit and takes over
// at once (sw.js skips waiting and claims the pages); the page then reloads
// into it, but only while no game is under way, never under a player.
export function workOffline({ playing }) {
  if (!("serviceWorker" in navigator)) return;
  const older = navigator.serviceWorker.controller;
  navigator.serviceWorker.addEventListener("controllerchange", () => {
    if (older && !playing()) location.reload();
  });
  // After the page has loaded: the first visit's own downloads go first.
  const register = () => navigator.serviceWorker.register("sw.js").catch((error) => console.warn(error));
  if (document.readyState === "complete") register();
  else addEventListener("load", register, { once: true });
}
