// SDL 1.2's calls as a page can honour them: the few where Emscripten's own
// SDL does something other than what the sandbox asks of a desktop.
//
// - The window: without WebGL the video mode fails, with SDL's error text,
//   as it does on a desktop that cannot draw with OpenGL.
// - The grab: a page may take the pointer only when the user clicks, so the
//   grab the program asks for is kept, and the first click on the canvas takes
//   the pointer (pointer lock); the cursor hides over the canvas. The right
//   button opens no menu.
// - Motion: the pointer entering the canvas, leaving the lock, or coming back
//   with the page from another tab brings no motion of its own; without it
//   the first motion would carry the pointer's whole way from the corner of
//   the page and throw the tool.
// - The wheel: the page itself listens for it, not only the canvas, since
//   Chromium may hand a wheel over a canvas that alone listens to no one (the
//   canvas then neither moves the tool nor lets the page scroll). A step counts
//   once, by its wheel event: a browser may follow it with the older
//   mousewheel or DOMMouseScroll event, which Emscripten's SDL reads the other
//   way round, so that the tool would sink as it rose.
// - The audio device opens at the first click, key or touch, when the
//   browser allows it, instead of being refused with a warning at start-up.
// - Pushed events come out of the queue whole, not cut to a key event's size.
// - Quitting is silent and gives the keys back to the browser; quitting the
//   video lets go of the context, so that the next window starts with one of
//   its own.
mergeInto(LibraryManager.library, {
  // Events the program pushes (SDL_PushEvent, sdl_page.cpp) wait in SDL's queue as whole records,
  // and come out of it whole.
  queueWholeEvent__deps: ['$SDL'],
  queueWholeEvent__postset: function() {
    return 'var makeEvent = SDL.makeCEvent; SDL.makeCEvent = function(event, ptr) {' +
           '  if (!event.whole) return makeEvent(event, ptr);' +
           '  HEAPU8.copyWithin(ptr, event.whole, event.whole + event.bytes);' +
           '  _free(event.whole);' +
           '};';
  },
  queueWholeEvent: function(copy, bytes) {
    SDL.events.push({whole: copy, bytes: bytes});
  },

  $pageInput: {
    grab: 0,              // SDL_GRAB_OFF until the program asks
    cursorShown: 1,
    anchorNext: true,     // the next motion only places the pointer
    entering: null,       // the motion events that do
    installed: false,

    // Listens before SDL does, on the canvas the window opened on.
    install: function(canvas) {
      if (pageInput.installed) return;
      pageInput.installed = true;
      pageInput.entering = new WeakSet();
      canvas.addEventListener('contextmenu', function(event) { event.preventDefault(); });
      ['wheel', 'mousewheel', 'DOMMouseScroll'].forEach(function(type) {
        window.addEventListener(type, function(event) {
          if (event.target !== canvas) return;
          if (type !== 'wheel') event.stopPropagation();
          event.preventDefault();
        }, {capture: true, passive: false});
      });
      canvas.addEventListener('mouseover', function() { pageInput.anchorNext = true; });
      window.addEventListener('resize', function() { pageInput.anchorNext = true; });  // the picture moved
      // Back from another tab, the pointer is wherever the user left it.
      document.addEventListener('visibilitychange', function() { pageInput.anchorNext = true; });
      document.addEventListener('pointerlockchange', function() { pageInput.anchorNext = true; });
      window.addEventListener('mousemove', function(event) {
        if (!pageInput.anchorNext || event.target !== canvas || document.pointerLockElement) return;
        pageInput.anchorNext = false;
        pageInput.entering.add(event);
      }, true);
      canvas.addEventListener('mousedown', function() {
        if (pageInput.grab !== 1 || document.pointerLockElement === canvas) return;
        var request = canvas.requestPointerLock();
        if (request && request.catch) request.catch(function() {});  // refused: the page goes on
      }, true);
      var calculate = Browser.calculateMouseEvent;
      Browser.calculateMouseEvent = function(event) {
        calculate(event);
        if (pageInput.entering.has(event)) Browser.mouseMovementX = Browser.mouseMovementY = 0;
      };
    },
  },

  $emscriptenSetVideoMode: LibraryManager.library.SDL_SetVideoMode,
  SDL_SetVideoMode__deps: ['$emscriptenSetVideoMode', '$pageInput', '$pageTouch', '$SDL', '$GL', '$Browser'],
  SDL_SetVideoMode: function(width, height, depth, flags) {
    var screen = emscriptenSetVideoMode(width, height, depth, flags);
    var opengl = flags & 0x04000000;  // SDL_OPENGL
    if (opengl && !Module.ctx) {
      SDL.errorMessage = allocateUTF8('This browser cannot draw with WebGL');
      return 0;
    }
    pageInput.install(Module['canvas']);
    pageTouch.install(Module['canvas']);  // touch.js
    return screen;
  },

  SDL_WM_GrabInput__deps: ['$pageInput'],
  SDL_WM_GrabInput: function(mode) {
    if (mode === 0 || mode === 1) pageInput.grab = mode;  // SDL_GRAB_QUERY is -1
    return pageInput.grab;
  },

  SDL_ShowCursor__deps: ['$pageInput'],
  SDL_ShowCursor: function(toggle) {
    var shown = pageInput.cursorShown;
    if (toggle === 0 || toggle === 1) {  // SDL_DISABLE, SDL_ENABLE; SDL_QUERY is -1
      pageInput.cursorShown = toggle;
      Module['canvas'].style.cursor = toggle ? '' : 'none';
    }
    return toggle === -1 ? pageInput.cursorShown : shown;
  },

  Mix_OpenAudio__deps: ['$SDL'],
  Mix_OpenAudio: function(frequency, format, channels, chunksize) {
    var gestures = ['mousedown', 'keydown', 'touchend'];
    function open() {
      gestures.forEach(function(type) { document.removeEventListener(type, open, true); });
      if (!SDL.audioContext) SDL.openAudioContext();
    }
    gestures.forEach(function(type) { document.addEventListener(type, open, true); });
    SDL.mixerFrequency = frequency;
    SDL.mixerFormat = format;
    SDL.mixerNumChannels = channels;
    SDL.mixerChunkSize = chunksize;
    return 0;
  },

  SDL_QuitSubSystem__deps: ['$SDL'],
  SDL_QuitSubSystem: function(flags) {
    if (flags & 0x20) Module.ctx = null;  // SDL_INIT_VIDEO: the next window gets a context of its own
  },

  // The program is over: the keys, the pointer and the sound are the
  // page's again (SDL keeps even the reload key from the browser).
  SDL_Quit__deps: ['$SDL'],
  SDL_Quit: function() {
    var keys = Module['keyboardListeningElement'] || document;
    ['keydown', 'keyup', 'keypress'].forEach(function(type) {
      keys.removeEventListener(type, SDL.receiveEvent);
    });
    if (document.pointerLockElement) document.exitPointerLock();
    if (SDL.audioContext) SDL.audioContext.close();
  },
});
