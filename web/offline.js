// The page's service worker: a page opened without a network is answered from the files the page
// kept on an earlier visit (web/library_late.js keeps them). The network comes first, so a new
// build is seen as soon as it is served, and nothing the page did not keep is kept here.
'use strict';
self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) return;
  // An address with a query (a test's mark, a tracker's) is the same page, kept without one.
  event.respondWith(fetch(request).catch((error) => caches.match(request, {ignoreSearch: true})
    .then((kept) => kept || Promise.reject(error))));
});
