// Keeps the page's files so that Lintwick plays offline after its first
// visit. Online, every request goes to the network first (so a new version of
// the game arrives as a whole, never a new script beside an old .wasm) and
// the answer is kept; offline, the kept copy answers. Saved games live in
// IndexedDB and are no business of this worker.
'use strict';

const kCache = 'lintwick-files-1';
// Everything a first visit loads. Files a build does not make (there may be
// no separate data file) are left out without failing the installation.
const kFiles = [
  './',
  'index.html',
  'style.css',
  'page.js',
  'lintwick.js',
  'lintwick.wasm',
  'lintwick.data',
  'manifest.webmanifest',
  'icons/icon-48.png',
  'icons/icon-64.png',
  'icons/icon-128.png',
  'icons/icon-256.png',
  'icons/icon.svg',
];

function keep(cache, url) {
  return fetch(url, { cache: 'no-cache' })
    .then(function (response) {
      if (response.ok) return cache.put(url, response);
      return undefined;
    })
    .catch(function () {});
}

self.addEventListener('install', function (event) {
  event.waitUntil(
    caches.open(kCache)
      .then(function (cache) {
        return Promise.all(kFiles.map(function (url) { return keep(cache, url); }));
      })
      .then(function () { return self.skipWaiting(); }));
});

self.addEventListener('activate', function (event) {
  event.waitUntil(
    caches.keys()
      .then(function (names) {
        return Promise.all(names.filter(function (name) { return name !== kCache; })
                              .map(function (name) { return caches.delete(name); }));
      })
      .then(function () { return self.clients.claim(); }));
});

// The page names what it loaded (whatever the build calls its files); they are
// kept too, and the answer says when the page would start offline.
self.addEventListener('message', function (event) {
  const urls = event.data && Array.isArray(event.data.keep) ? event.data.keep : [];
  const port = event.ports && event.ports[0];
  const own = urls.filter(function (url) {
    try {
      return new URL(url, self.location.href).origin === self.location.origin;
    } catch (e) {
      return false;
    }
  });
  event.waitUntil(
    caches.open(kCache)
      .then(function (cache) {
        return Promise.all(own.map(function (url) {
          return cache.match(url).then(function (kept) { return kept || keep(cache, url); });
        }));
      })
      .then(function () {
        if (port) port.postMessage({ kept: own.length });
      }));
});

self.addEventListener('fetch', function (event) {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) return;
  event.respondWith(
    fetch(request)
      .then(function (response) {
        if (response.ok && response.status === 200) {
          const copy = response.clone();
          caches.open(kCache).then(function (cache) { return cache.put(request, copy); });
        }
        return response;
      })
      .catch(function () {
        return caches.match(request, { ignoreSearch: true }).then(function (kept) {
          if (kept) return kept;
          // A page opened offline at another address of the site still starts.
          if (request.mode === 'navigate') return caches.match('index.html');
          return Response.error();
        });
      }));
});
