// The page's service worker: a page opened without a network is answered from the files kept on
// an earlier visit. The network comes first, so a new build is seen as soon as it is served, and
// what it answers is kept in place of the older copy (on the first visit, before this worker
// answered anything, web/library_late.js keeps the page's files itself).
'use strict';
const KEPT = /\/(twirlstick\.(html|js|wasm|data)|IPAfont00203\/ipagp\.ttf|sound\/[a-z_]+\.wav)$/;
self.addEventListener('fetch', (event) => {
  const request = event.request;
  const url = new URL(request.url);
  if (request.method !== 'GET' || url.origin !== self.location.origin) return;
  event.respondWith(fetch(request).then((response) => {
    if (response.ok && (request.mode === 'navigate' || KEPT.test(url.pathname))) {
      const copy = response.clone();
      // An address with a query (a test's mark, a tracker's) is the same page, kept without one.
      event.waitUntil(caches.open('twirlstick').then((cache) => cache.put(url.origin + url.pathname, copy))
        .catch(() => {}));
    }
    return response;
  }, (error) => caches.match(request, {ignoreSearch: true}).then((kept) => kept || Promise.reject(error))));
});
