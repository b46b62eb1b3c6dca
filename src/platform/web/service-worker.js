// Keeps Bramblewick's page, program, manifest and icons, so that after one
// visit the page starts with no network. The cache is named after the build:
// a new build put on the host is fetched whole into a cache of its own while
// the old one runs, then replaces it, so the next visit runs the new build. A
// download that fails leaves the old build in place. Everything else (the
// test programs beside the page, say) comes from the network as ever.
'use strict';
const build = 'bramblewick-@BUILD@';
const files = [@FILES@];

self.addEventListener('install', (event) => {
    const fresh = files.map((file) => new Request(file, {cache: 'reload'}));
    event.waitUntil(caches.open(build).then((cache) => cache.addAll(fresh)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
    const old = (name) => name.startsWith('bramblewick-') && name !== build;
    event.waitUntil(caches.keys()
        .then((names) => Promise.all(names.filter(old).map((name) => caches.delete(name))))
        .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
    const url = new URL(event.request.url);
    const file = url.pathname.slice(new URL(self.registration.scope).pathname.length) || 'index.html';
    if (event.request.method !== 'GET' || url.origin !== location.origin || !files.includes(file)) return;
    event.respondWith(caches.open(build)
        .then((cache) => cache.match(file))
        .then((kept) => kept || fetch(event.request)));
});
