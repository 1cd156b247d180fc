// The page's side of the game: it checks that the browser can run
// WebAssembly, fetches the program with a progress line, shows the 640 x 480
// picture at the largest whole-number scale that fits the window (in device
// pixels, so every picture pixel covers a square of whole screen pixels), and
// turns every way loading can fail into a message instead of a blank page.
// The program itself is lintwick.js, a classic script that reads the global
// Module object defined here.
'use strict';

(function () {
  const kWidth = 640;
  const kHeight = 480;
  const kProgram = 'lintwick.js';
  const kWasm = 'lintwick.wasm';
  // How Emscripten's data loader reports its progress through setStatus.
  const kDataProgress = /\((\d+(?:\.\d+)?)\/(\d+(?:\.\d+)?)\)/;
  // The smallest valid module: the magic number and version 1.
  const kEmptyModule = new Uint8Array([0x00, 0x61, 0x73, 0x6d, 0x01, 0x00, 0x00, 0x00]);

  const body = document.body;
  const canvas = document.getElementById('canvas');
  const progressText = document.getElementById('progress-text');
  const progressBar = document.getElementById('progress-bar');
  body.classList.add('loading');

  // --- The picture's size and place ----------------------------------------

  // The largest whole number of device pixels per picture pixel that fits;
  // a window too small for even one shrinks the picture to fit, keeping its
  // shape. Sizes and offsets are whole device pixels.
  function layout() {
    const ratio = window.devicePixelRatio || 1;
    const width = Math.floor(window.innerWidth * ratio);
    const height = Math.floor(window.innerHeight * ratio);
    let scale = Math.floor(Math.min(width / kWidth, height / kHeight));
    if (scale < 1) scale = Math.min(width / kWidth, height / kHeight);
    const shownWidth = Math.round(kWidth * scale);
    const shownHeight = Math.round(kHeight * scale);
    const left = Math.max(0, Math.floor((width - shownWidth) / 2));
    const top = Math.max(0, Math.floor((height - shownHeight) / 2));
    const style = document.documentElement.style;
    style.setProperty('--canvas-width', shownWidth / ratio + 'px');
    style.setProperty('--canvas-height', shownHeight / ratio + 'px');
    style.setProperty('--canvas-left', left / ratio + 'px');
    style.setProperty('--canvas-top', top / ratio + 'px');
    canvas.dataset.scale = String(scale);
  }
  layout();
  window.addEventListener('resize', layout);
  document.addEventListener('fullscreenchange', layout);
  // A change of the device pixel ratio (zoom, another screen) fires no
  // resize in every browser; a media query on the current ratio does.
  function watchRatio() {
    const query = window.matchMedia('(resolution: ' + (window.devicePixelRatio || 1) + 'dppx)');
    query.addEventListener('change', function () {
      layout();
      watchRatio();
    }, { once: true });
  }
  if (window.matchMedia) watchRatio();

  // --- Messages --------------------------------------------------------------

  let failed = false;
  function fail(title, text, hint) {
    if (failed) return;
    failed = true;
    body.classList.remove('loading');
    body.classList.add('failed');
    document.getElementById('problem-title').textContent = title;
    document.getElementById('problem-text').textContent = text;
    document.getElementById('problem-hint').textContent = hint || '';
    document.getElementById('problem').hidden = false;
  }
  function failLoading(what) {
    fail('Lintwick could not load',
         'The game\'s files did not arrive (' + what + ').',
         'Check the connection and reload the page. If the page is served from a folder of ' +
         'its own, every file of that folder must be there.');
  }

  const notice = document.getElementById('notice');
  document.getElementById('notice-close').addEventListener('click', function () {
    notice.hidden = true;
    canvas.focus();
  });
  function showNotice(text) {
    document.getElementById('notice-text').textContent = String(text);
    notice.hidden = false;
  }

  // --- Progress --------------------------------------------------------------

  // The program and its data arrive separately; the line adds them up.
  const loads = { wasm: { done: 0, total: 0 }, data: { done: 0, total: 0 } };
  function megabytes(bytes) {
    return (bytes / 1048576).toFixed(1);
  }
  function showProgress() {
    if (failed) return;
    let done = 0;
    let total = 0;
    for (const key in loads) {
      done += loads[key].done;
      total += loads[key].total;
    }
    if (total > 0) {
      progressBar.style.width = Math.min(100, (100 * done) / total).toFixed(1) + '%';
      progressText.textContent = 'Loading Lintwick: ' + megabytes(done) + ' of ' + megabytes(total) + ' MB';
    }
  }
  function starting() {
    if (failed) return;
    progressBar.style.width = '100%';
    progressText.textContent = 'Starting Lintwick\u2026';
  }

  // The canvas shows once the program has presented a picture, so the page
  // never shows an empty black box in place of the progress line.
  function showCanvasOnFirstPicture() {
    if (failed) return;
    const frames = window.Module.lintwickFrames;
    if (typeof frames === 'number' && frames === 0) {
      window.requestAnimationFrame(showCanvasOnFirstPicture);
      return;
    }
    body.classList.remove('loading');
    canvas.focus();
    keepForOffline();
  }

  // The program's .wasm, fetched here rather than by lintwick.js so that its
  // bytes count on the progress line; it still compiles while it streams.
  function fetchWasm(imports, receiveInstance) {
    fetch(kWasm, { credentials: 'same-origin' })
      .then(function (response) {
        if (!response.ok) throw new Error(kWasm + ': HTTP ' + response.status);
        loads.wasm.total = Number(response.headers.get('Content-Length')) || 0;
        const reader = response.body.getReader();
        const counted = new ReadableStream({
          pull: function (controller) {
            return reader.read().then(function (part) {
              if (part.done) {
                controller.close();
                return;
              }
              loads.wasm.done += part.value.byteLength;
              showProgress();
              controller.enqueue(part.value);
            });
          },
        });
        const streamed = new Response(counted, { headers: { 'Content-Type': 'application/wasm' } });
        return WebAssembly.instantiateStreaming(streamed, imports);
      })
      .then(function (result) {
        receiveInstance(result.instance, result.module);
      })
      .catch(function (error) {
        if (error instanceof WebAssembly.CompileError || error instanceof WebAssembly.LinkError) {
          fail('Lintwick could not start', 'The game\'s program is damaged (' + error.message + ').',
               'Reload the page; if that does not help, the copy on this site is broken.');
        } else {
          const text = error.message || String(error);
          failLoading(text.indexOf(kWasm) >= 0 ? text : kWasm + ': ' + text);
        }
      });
    return {};  // the exports arrive through receiveInstance
  }

  // Once loaded the page works offline: the service worker keeps its files.
  // It starts after the game's first picture, when every file has arrived
  // and its copies come from the browser's cache rather than the network.
  // When the worker has every file the page loaded, body[data-offline] says
  // "ready".
  function keepForOffline() {
    if (!('serviceWorker' in navigator) || !window.isSecureContext) return;
    navigator.serviceWorker.register('sw.js')
      .then(function () { return navigator.serviceWorker.ready; })
      .then(function (registration) {
        const here = window.location.href.split('#')[0];
        const urls = [here].concat(performance.getEntriesByType('resource').map(function (entry) {
          return entry.name;
        }));
        const channel = new MessageChannel();
        channel.port1.onmessage = function () {
          body.dataset.offline = 'ready';
        };
        registration.active.postMessage({ keep: urls }, [channel.port2]);
      })
      .catch(function (error) {
        console.warn('Lintwick works online only: ' + error.message);
      });
  }

  // --- The program -----------------------------------------------------------

  function canRunWebAssembly() {
    try {
      return typeof WebAssembly === 'object' && typeof WebAssembly.instantiate === 'function' &&
             WebAssembly.validate(kEmptyModule);
    } catch (e) {
      return false;
    }
  }

  window.Module = {
    canvas: canvas,
    instantiateWasm: fetchWasm,
    setStatus: function (text) {
      const data = kDataProgress.exec(text || '');
      if (data) {
        loads.data.done = Number(data[1]);
        loads.data.total = Number(data[2]);
        showProgress();
      }
    },
    monitorRunDependencies: function (left) {
      if (left === 0) starting();
    },
    onRuntimeInitialized: function () {
      starting();
      window.requestAnimationFrame(showCanvasOnFirstPicture);
    },
    print: function (text) {
      console.log(text);
    },
    printErr: function (text) {
      console.warn(text);
    },
    onAbort: function (what) {
      fail('Lintwick stopped', 'The game ended with an error: ' + String(what || 'unknown') + '.',
           'Reload the page to play on; your saved game is kept.');
    },
    lintwickNotice: showNotice,
  };

  // Anything that throws while the game loads (the data loader reports a
  // failed download this way) ends in a message; once the game runs, the
  // program reports its own errors through onAbort.
  window.addEventListener('error', function (event) {
    if (!body.classList.contains('loading')) return;
    const text = (event.message || (event.error && event.error.message) || 'unknown error')
      .replace(/^Uncaught (Error: )?/, '');
    // The data loader says "<HTTP status> : <address>"; the file's name says more.
    const answer = /^(.*) : \S*?([^/\s]+)$/.exec(text);
    failLoading(answer ? answer[2] + ': ' + (answer[1] || 'no answer') : text);
  });
  window.addEventListener('unhandledrejection', function (event) {
    if (!body.classList.contains('loading')) return;
    const reason = event.reason;
    failLoading((reason && reason.message) || String(reason));
  });

  if (!canRunWebAssembly()) {
    fail('Lintwick cannot run in this browser',
         'The game needs WebAssembly, which this browser does not offer or has switched off.',
         'Any current version of the common browsers runs it; check that WebAssembly and ' +
         'JavaScript are allowed for this site.');
    return;
  }
  const program = document.createElement('script');
  program.src = kProgram;
  program.async = true;
  program.onerror = function () {
    failLoading(kProgram + ' is missing');
  };
  document.body.appendChild(program);

})();
