// Touch as a mouse and a keyboard. Fingers on the canvas become the very
// events Emscripten's SDL queues for a mouse, so the program never learns a
// finger moved:
// - one finger dragged moves the pointer over the picture, so the tool
//   follows it as it follows the mouse (the finger's landing only places it);
// - a tap is a left click, a tap of two fingers a right click;
// - two fingers dragged up or down together turn the wheel up or down, a
//   step for every wheelStep pixels;
// - a third finger, or a touch the browser cancels, ends the gesture: nothing
//   more moves and nothing is clicked.
// The page's buttons (data-key) press and release their key. Touches on the
// canvas neither scroll nor zoom the page, nor reach Emscripten's own touch
// handling.
mergeInto(LibraryManager.library, {
  $pageTouch__deps: ['$SDL', '$pageInput'],
  $pageTouch: {
    tapMs: 500,     // a touch that ends sooner, having barely moved, is a tap
    slop: 10,       // CSS pixels a tap may wander
    wheelStep: 24,  // CSS pixels of a two-finger drag per step of the wheel
    gesture: null,  // while fingers are down: {fingers, start, moved, x, y, steps, anchor}

    install: function(canvas) {
      var queue = function(type, at, button) {
        var event = {type: type, pageX: at.x, pageY: at.y, button: button || 0};
        SDL.events.push(event);
        return event;
      };
      var centre = function(touches) {
        var x = 0, y = 0;
        for (var i = 0; i < touches.length; i++) {
          x += touches[i].pageX / touches.length;
          y += touches[i].pageY / touches.length;
        }
        return {x: x, y: y};
      };
      var listen = function(type, handle) {
        document.addEventListener(type, function(event) {
          if (event.target !== canvas) return;
          if (event.cancelable) event.preventDefault();
          event.stopPropagation();
          handle(event, event.targetTouches, pageTouch.gesture);
        }, {capture: true, passive: false});
      };

      listen('touchstart', function(event, touches, gesture) {
        var at = centre(touches);
        if (!gesture) {
          pageTouch.gesture = {fingers: 1, start: Date.now(), moved: false, x: at.x, y: at.y, steps: 0};
          pageInput.entering.add(queue('mousemove', at));
        } else if (touches.length === 2 && gesture.fingers === 1) {
          gesture.fingers = 2;
          gesture.x = at.x;
          gesture.y = at.y;
        } else {
          gesture.fingers = 0;
        }
      });
      listen('touchmove', function(event, touches, gesture) {
        if (!gesture || touches.length !== gesture.fingers) return;
        var at = centre(touches);
        var dy = at.y - gesture.y;
        if (Math.abs(at.x - gesture.x) > pageTouch.slop || Math.abs(dy) > pageTouch.slop) gesture.moved = true;
        if (gesture.fingers === 1) {
          var motion = queue('mousemove', at);
          if (gesture.anchor) pageInput.entering.add(motion);
          gesture.anchor = false;
          return;
        }
        // Up the screen is up the wheel: SDL's buttons 4 and 5, as Emscripten's SDL queues a wheel.
        var steps = Math.trunc(-dy / pageTouch.wheelStep);
        for (; gesture.steps < steps; gesture.steps++) {
          queue('mousedown', at, 3);
          queue('mouseup', at, 3);
        }
        for (; gesture.steps > steps; gesture.steps--) {
          queue('mousedown', at, 4);
          queue('mouseup', at, 4);
        }
      });
      var lift = function(event, touches, gesture) {
        if (!gesture) return;
        if (event.type === 'touchcancel') gesture.fingers = 0;
        if (touches.length) return;  // the gesture ends with its last finger
        pageTouch.gesture = null;
        if (gesture.fingers && !gesture.moved && Date.now() - gesture.start < pageTouch.tapMs) {
          var button = gesture.fingers === 1 ? 0 : 2;
          queue('mousedown', gesture, button);
          queue('mouseup', gesture, button);
        }
      };
      listen('touchend', lift);
      listen('touchcancel', lift);
      // A window resized or turned under a finger moves the picture under it: the next motion
      // places the pointer again.
      window.addEventListener('resize', function() {
        if (pageTouch.gesture) pageTouch.gesture.anchor = true;
      });

      document.querySelectorAll('[data-key]').forEach(function(button) {
        var keyCode = button.getAttribute('data-key').toUpperCase().charCodeAt(0);
        button.addEventListener('click', function() {
          SDL.events.push({type: 'keydown', keyCode: keyCode});
          SDL.events.push({type: 'keyup', keyCode: keyCode});
        });
      });
    },
  },
});
