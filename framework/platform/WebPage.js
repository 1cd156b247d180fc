// The page's side of the browser platform (WebPlatform.cpp): the canvas and
// its picture, input events queued for the program's loop, the loop's sleep
// that wakes in the browser's frame callback, cursors, full screen, and the
// saved files kept in the browser's storage (IndexedDB through IDBFS).

var LibraryZingWeb = {
  $ZingWeb__deps: ['$FS', '$IDBFS', '$Asyncify'],
  $ZingWeb__postset: 'addOnPreRun(function() { ZingWeb.mountStorage(); });',
  $ZingWeb: {
    canvas: null,
    context: null,
    picture: null,
    width: 640,
    height: 480,
    events: [],
    inside: false,
    buttons: 0,
    lastX: 0,
    lastY: 0,
    fullScreen: false,
    storageRoot: '/home/web_user',
    storageMounted: false,
    syncing: false,
    syncAgain: false,
    noticeGiven: false,
    cursors: ['default', 'pointer', 'grabbing', 'text', 'not-allowed', 'move', 'nesw-resize', 'ns-resize',
              'nwse-resize', 'ew-resize', 'wait', 'none'],

    pendingNotice: null,

    // Says once that nothing will be kept, through the program's notice once
    // it runs (storage is checked before it starts).
    notice: function(text) {
      if (ZingWeb.noticeGiven) return;
      if (!Module['zingNotice']) {
        ZingWeb.pendingNotice = text;
        return;
      }
      ZingWeb.noticeGiven = true;
      Module['zingNotice'](text);
    },

    storageRefused: function() {
      ZingWeb.storageMounted = false;
      ZingWeb.notice('This browser keeps no data for this page: your progress will not be kept.');
    },

    // The saves and settings below the home folder live in IndexedDB. The
    // program starts once they have been read (or refused).
    mountStorage: function() {
      if (typeof indexedDB === 'undefined') {
        ZingWeb.storageRefused();
        return;
      }
      try {
        FS.mount(IDBFS, {}, ZingWeb.storageRoot);
      } catch (e) {
        ZingWeb.storageRefused();
        return;
      }
      addRunDependency('zing-storage');
      FS.syncfs(true, function(error) {
        if (error) ZingWeb.storageRefused();
        else ZingWeb.storageMounted = true;
        removeRunDependency('zing-storage');
      });
    },

    // Puts every file below the home folder into IndexedDB in one
    // transaction, issued before this returns: a write made as the page goes
    // away (a reload, a closed tab) still arrives. False when IndexedDB is
    // not open.
    writeNow: function() {
      var db = IDBFS.dbs[ZingWeb.storageRoot];
      if (!db) return false;
      try {
        var mount = FS.lookupPath(ZingWeb.storageRoot).node.mount;
        var transaction = db.transaction([IDBFS.DB_STORE_NAME], 'readwrite');
        var store = transaction.objectStore(IDBFS.DB_STORE_NAME);
        var ok = true;
        IDBFS.getLocalSet(mount, function(error, local) {
          if (error) {
            ok = false;
            return;
          }
          Object.keys(local.entries).forEach(function(path) {
            IDBFS.loadLocalEntry(path, function(failed, entry) {
              if (!failed) IDBFS.storeRemoteEntry(store, path, entry, function() {});
            });
          });
        });
        // Committed now rather than when this task ends, which a page being
        // unloaded may not reach.
        if (transaction.commit) transaction.commit();
        return ok;
      } catch (e) {
        return false;
      }
    },

    // Hands the files to IndexedDB at once, then lets IDBFS reconcile the
    // two (files removed here go there too): one reconciliation at a time,
    // and one more after it when files changed meanwhile.
    persist: function() {
      if (!ZingWeb.storageMounted) return;
      ZingWeb.writeNow();
      if (ZingWeb.syncing) {
        ZingWeb.syncAgain = true;
        return;
      }
      ZingWeb.syncing = true;
      FS.syncfs(false, function(error) {
        ZingWeb.syncing = false;
        if (error) ZingWeb.storageRefused();
        if (ZingWeb.syncAgain) {
          ZingWeb.syncAgain = false;
          ZingWeb.persist();
        }
      });
    },

    // A mouse event's position in the canvas's CSS box, and the box's size.
    place: function(event) {
      var box = ZingWeb.canvas.getBoundingClientRect();
      ZingWeb.lastX = event.clientX - box.left;
      ZingWeb.lastY = event.clientY - box.top;
      ZingWeb.inside = ZingWeb.lastX >= 0 && ZingWeb.lastY >= 0 && ZingWeb.lastX < box.width &&
                       ZingWeb.lastY < box.height;
      return [ZingWeb.lastX, ZingWeb.lastY, box.width, box.height];
    },

    queue: function(fields) { ZingWeb.events.push(fields); },

    listen: function() {
      var canvas = ZingWeb.canvas;
      canvas.addEventListener('mousedown', function(event) {
        var p = ZingWeb.place(event);
        ZingWeb.buttons |= 1 << event.button;
        ZingWeb.queue([2, event.button, p[0], p[1], p[2], p[3], event.detail]);
        canvas.focus && canvas.focus();
        event.preventDefault();
      });
      // Moves and releases are followed beyond the canvas while a button is
      // held, as a desktop window captures the mouse.
      window.addEventListener('mouseup', function(event) {
        var held = ZingWeb.buttons & (1 << event.button);
        var p = ZingWeb.place(event);
        if (!held && !ZingWeb.inside) return;
        ZingWeb.buttons &= ~(1 << event.button);
        ZingWeb.queue([3, event.button, p[0], p[1], p[2], p[3], event.detail]);
      });
      window.addEventListener('mousemove', function(event) {
        var wasInside = ZingWeb.inside;
        var p = ZingWeb.place(event);
        if (ZingWeb.inside || ZingWeb.buttons) ZingWeb.queue([1, 0, p[0], p[1], p[2], p[3], 0]);
        else if (wasInside) ZingWeb.queue([8]);
      });
      canvas.addEventListener('mouseleave', function(event) {
        ZingWeb.place(event);
        if (!ZingWeb.buttons) {
          ZingWeb.inside = false;
          ZingWeb.queue([8]);
        }
      });
      canvas.addEventListener('contextmenu', function(event) { event.preventDefault(); });
      canvas.addEventListener('wheel', function(event) {
        ZingWeb.queue([4, event.deltaY]);
        event.preventDefault();
      }, {passive: false});
      // Keys go to the game unless another control of the page has the focus.
      var forGame = function(event) {
        var target = event.target;
        return target === canvas || target === document.body || target === document.documentElement ||
               target === window || target === document;
      };
      window.addEventListener('keydown', function(event) {
        if (!forGame(event)) return;
        ZingWeb.queue([5, event.keyCode, event.altKey ? 1 : 0, event.ctrlKey ? 1 : 0]);
        if (event.key && event.key.length === 1 && !event.ctrlKey && !event.altKey && !event.metaKey) {
          ZingWeb.queue([7, event.key.codePointAt(0)]);
        }
        // Keys the game uses stay with the game rather than scrolling the
        // page or moving the browser's focus; the browser's own shortcuts work.
        if (!event.ctrlKey && !event.metaKey && [8, 9, 13, 32, 33, 34, 35, 36, 37, 38, 39, 40, 18].indexOf(event.keyCode) >= 0) {
          event.preventDefault();
        }
      });
      window.addEventListener('keyup', function(event) {
        if (!forGame(event)) return;
        ZingWeb.queue([6, event.keyCode, event.altKey ? 1 : 0, event.ctrlKey ? 1 : 0]);
      });
      window.addEventListener('focus', function() { ZingWeb.queue([9, 1]); });
      window.addEventListener('blur', function() { ZingWeb.queue([9, 0]); });
      document.addEventListener('fullscreenchange', function() {
        if (!document.fullscreenElement && ZingWeb.fullScreen) ZingWeb.queue([10]);
      });
      // The loop cannot run again once the page goes; what must survive is
      // saved at once.
      var leave = function() { Module['_zing_web_leave'](); };
      window.addEventListener('pagehide', leave);
      document.addEventListener('visibilitychange', function() {
        if (document.visibilityState === 'hidden') leave();
        else ZingWeb.queue([11]);
      });
    },
  },

  zing_web_init: function(width, height) {
    var canvas = Module['canvas'] || document.getElementById('canvas');
    ZingWeb.canvas = canvas;
    ZingWeb.width = width;
    ZingWeb.height = height;
    canvas.width = width;
    canvas.height = height;
    ZingWeb.context = canvas.getContext('2d', {alpha: false});
    ZingWeb.picture = ZingWeb.context.createImageData(width, height);
    if (!canvas.hasAttribute('tabindex')) canvas.setAttribute('tabindex', '0');
    Module['zingFrames'] = 0;
    ZingWeb.listen();
    if (ZingWeb.pendingNotice) ZingWeb.notice(ZingWeb.pendingNotice);
  },
  zing_web_init__deps: ['$ZingWeb'],

  zing_web_set_title: function(title) { document.title = UTF8ToString(title); },

  // The loop sleeps at least this long and wakes in the browser's frame
  // callback, after the page has drawn; a hidden page, which gets no frames,
  // still wakes by the timer.
  zing_web_sleep: function(milliseconds) {
    Asyncify.handleSleep(function(wakeUp) {
      var until = performance.now() + milliseconds;
      var woken = false;
      var wake = function() {
        if (woken) return;
        woken = true;
        wakeUp();
      };
      var frame = function() {
        if (woken) return;
        if (performance.now() + 1 >= until) wake();
        else requestAnimationFrame(frame);
      };
      requestAnimationFrame(frame);
      setTimeout(wake, milliseconds + 250);
    });
  },
  zing_web_sleep__deps: ['$Asyncify'],

  zing_web_next_event: function(fields) {
    var event = ZingWeb.events.shift();
    if (!event) return 0;
    for (var i = 0; i < 8; ++i) HEAPF64[(fields >> 3) + i] = event[i] || 0;
    return 1;
  },
  zing_web_next_event__deps: ['$ZingWeb'],

  zing_web_present: function(bytes, width, height) {
    ZingWeb.picture.data.set(HEAPU8.subarray(bytes, bytes + width * height * 4));
    ZingWeb.context.putImageData(ZingWeb.picture, 0, 0);
    Module['zingFrames']++;
  },
  zing_web_present__deps: ['$ZingWeb'],

  zing_web_set_cursor: function(shape) {
    if (!ZingWeb.canvas) return;
    ZingWeb.canvas.style.cursor = ZingWeb.cursors[shape] || 'default';
  },
  zing_web_set_cursor__deps: ['$ZingWeb'],

  zing_web_set_image_cursor: function(bytes, width, height, hotX, hotY) {
    if (!ZingWeb.canvas) return 0;
    try {
      var image = document.createElement('canvas');
      image.width = width;
      image.height = height;
      var context = image.getContext('2d');
      var data = context.createImageData(width, height);
      data.data.set(HEAPU8.subarray(bytes, bytes + width * height * 4));
      context.putImageData(data, 0, 0);
      ZingWeb.canvas.style.cursor = 'url(' + image.toDataURL() + ') ' + hotX + ' ' + hotY + ', default';
      return 1;
    } catch (e) {
      return 0;
    }
  },
  zing_web_set_image_cursor__deps: ['$ZingWeb'],

  // The whole page goes full screen; the page's own layout scales the canvas
  // to the screen. Browsers grant it shortly after a click or key press.
  zing_web_set_full_screen: function(on) {
    ZingWeb.fullScreen = !!on;
    var element = document.documentElement;
    if (on && !document.fullscreenElement) {
      if (!element.requestFullscreen) {
        ZingWeb.queue([10]);
        return;
      }
      element.requestFullscreen().catch(function() {
        if (!document.fullscreenElement) ZingWeb.queue([10]);
      });
    } else if (!on && document.fullscreenElement && document.exitFullscreen) {
      document.exitFullscreen().catch(function() {});
    }
  },
  zing_web_set_full_screen__deps: ['$ZingWeb'],

  zing_web_has_focus: function() { return document.hasFocus() ? 1 : 0; },

  zing_web_pointer: function(fields) {
    if (!ZingWeb.canvas || !ZingWeb.inside) return 0;
    var box = ZingWeb.canvas.getBoundingClientRect();
    HEAPF64[(fields >> 3) + 0] = ZingWeb.lastX;
    HEAPF64[(fields >> 3) + 1] = ZingWeb.lastY;
    HEAPF64[(fields >> 3) + 2] = box.width;
    HEAPF64[(fields >> 3) + 3] = box.height;
    return 1;
  },
  zing_web_pointer__deps: ['$ZingWeb'],

  zing_web_screen_size: function(fields) {
    HEAP32[(fields >> 2) + 0] = window.screen ? window.screen.width : window.innerWidth;
    HEAP32[(fields >> 2) + 1] = window.screen ? window.screen.height : window.innerHeight;
  },

  zing_web_message_box: function(text, yesNo) {
    var shown = UTF8ToString(text);
    if (yesNo) return window.confirm(shown) ? 1 : 0;
    window.alert(shown);
    return 1;
  },

  zing_web_persist: function() { ZingWeb.persist(); },
  zing_web_persist__deps: ['$ZingWeb'],
};

mergeInto(LibraryManager.library, LibraryZingWeb);
