// The page around the renderer core: a canvas at device pixels, one tick
// every 50 ms while the page is visible, a new figure for a new size, full
// screen that ends as the Windows saver does, and the files kept for offline.
(function () {
  'use strict';
  const canvas = document.getElementById('fern');
  const message = document.getElementById('message');
  const tickMs = 50;
  const mouseThreshold = 4; // pixels, horizontal plus vertical

  function say(text) {
    canvas.style.display = 'none';
    message.textContent = text;
    message.style.display = 'block';
  }

  // Offline from the second visit on, where a service worker may run (https,
  // localhost); elsewhere, a file:// page say, the page works as it is.
  if ('serviceWorker' in navigator && window.isSecureContext)
    navigator.serviceWorker.register('sw.js').catch(() => {});

  if (typeof WebAssembly !== 'object') {
    say('Verdanelle needs WebAssembly, which this browser does not offer.');
    return;
  }
  const gl = canvas.getContext('webgl', {
    preserveDrawingBuffer: true, // the picture builds up, tick on tick
    antialias: false,
    depth: false,
    stencil: false,
    alpha: false,
  });
  if (!gl) {
    say('Verdanelle needs WebGL, which this browser does not offer or has turned off.');
    return;
  }

  // The program and buffer, made again when a lost context comes back; false
  // when WebGL cannot build them.
  let colour = null;
  function shader(type, source) {
    const s = gl.createShader(type);
    gl.shaderSource(s, source);
    gl.compileShader(s);
    return s;
  }
  function setUpGl() {
    const vertex = shader(gl.VERTEX_SHADER,
      'attribute vec2 p; void main() { gl_Position = vec4(p, 0.0, 1.0); }'); // device coordinates
    const fragment = shader(gl.FRAGMENT_SHADER,
      'precision mediump float; uniform vec3 c; void main() { gl_FragColor = vec4(c, 1.0); }');
    const program = gl.createProgram();
    gl.attachShader(program, vertex);
    gl.attachShader(program, fragment);
    gl.linkProgram(program);
    if (!gl.getShaderParameter(vertex, gl.COMPILE_STATUS) || !gl.getShaderParameter(fragment, gl.COMPILE_STATUS) ||
        !gl.getProgramParameter(program, gl.LINK_STATUS))
      return false;
    gl.useProgram(program);
    colour = gl.getUniformLocation(program, 'c');
    gl.bindBuffer(gl.ARRAY_BUFFER, gl.createBuffer());
    const position = gl.getAttribLocation(program, 'p');
    gl.enableVertexAttribArray(position);
    gl.vertexAttribPointer(position, 2, gl.FLOAT, false, 0, 0);
    gl.clearColor(0, 0, 0, 1);
    return true;
  }
  const webGlFailed = 'Verdanelle cannot draw here: WebGL failed to set up its shaders.';
  if (!setUpGl()) {
    say(webGlFailed);
    return;
  }

  let fern = null;
  let timer = 0;
  const state = { ticks: 0 }; // for tests and benchmarks: ticks drawn by the page

  // Before each tick, so any change of size or of pixel ratio (a resize, a
  // rotation, full screen, a move to another display) starts a new figure.
  let figureSize = '';
  function fitCanvas() {
    const ratio = window.devicePixelRatio || 1;
    const width = Math.max(1, Math.round(canvas.clientWidth * ratio));
    const height = Math.max(1, Math.round(canvas.clientHeight * ratio));
    if (`${width}x${height}` === figureSize)
      return;
    figureSize = `${width}x${height}`;
    canvas.width = width;
    canvas.height = height;
    gl.viewport(0, 0, width, height);
    gl.clear(gl.COLOR_BUFFER_BIT);
    fern._StartPage(width, height);
  }

  function tick() {
    fitCanvas();
    fern._Tick();
    state.ticks++;
  }

  // Ticks only while the page is shown, the module is there and WebGL works.
  let glWorks = true;
  function run() {
    clearInterval(timer);
    timer = document.hidden || !fern || !glWorks ? 0 : setInterval(tick, tickMs);
  }

  canvas.addEventListener('webglcontextlost', (event) => {
    event.preventDefault(); // so the browser gives it back
    glWorks = false;
    run();
  });
  canvas.addEventListener('webglcontextrestored', () => {
    glWorks = setUpGl();
    if (!glWorks) {
      say(webGlFailed);
      return;
    }
    figureSize = ''; // the picture is gone: a new figure
    run();
  });

  // Full screen on a click or F; there any key, button or movement of more
  // than four pixels from where the pointer stood leaves it.
  let lastPointer = null;
  function enterFullScreen() {
    if (!document.fullscreenElement && canvas.requestFullscreen)
      canvas.requestFullscreen().catch(() => {});
  }
  function leaveFullScreen() {
    if (document.fullscreenElement)
      document.exitFullscreen().catch(() => {});
  }
  // The click that ends a press made in full screen must not enter it again.
  let pressedInFullScreen = false;
  canvas.addEventListener('click', () => {
    if (!pressedInFullScreen)
      enterFullScreen();
  });
  // A mouse button, or a touch that starts a tap or a swipe: once a press,
  // without the mouse events a browser makes up for a tap after it.
  document.addEventListener('pointerdown', () => {
    pressedInFullScreen = document.fullscreenElement !== null;
    leaveFullScreen();
  });
  document.addEventListener('keydown', (event) => {
    if (event.repeat) // a key held since before full screen
      return;
    if (document.fullscreenElement)
      leaveFullScreen();
    else if ((event.key === 'f' || event.key === 'F') && !event.ctrlKey && !event.metaKey && !event.altKey)
      enterFullScreen(); // Ctrl+F and the like are the browser's
  });
  document.addEventListener('mousemove', (event) => {
    if (!document.fullscreenElement || lastPointer === null) {
      lastPointer = { x: event.screenX, y: event.screenY };
      return;
    }
    const moved = Math.abs(event.screenX - lastPointer.x) + Math.abs(event.screenY - lastPointer.y);
    if (moved > mouseThreshold)
      leaveFullScreen();
  });
  document.addEventListener('fullscreenchange', () => {
    if (!document.fullscreenElement)
      lastPointer = null;
  });
  document.addEventListener('visibilitychange', run);

  Verdanelle({
    clearPicture() {
      gl.clear(gl.COLOR_BUFFER_BIT);
    },
    uploadVertices(data) {
      gl.bufferData(gl.ARRAY_BUFFER, data, gl.STREAM_DRAW);
    },
    drawLines(first, count, red, green, blue) {
      gl.uniform3f(colour, red / 255, green / 255, blue / 255);
      gl.drawArrays(gl.LINES, first, count);
    },
  }).then((module) => {
    fern = module;
    fern._DigestCalls(location.hash === '#digest' ? 1 : 0); // for tests
    state.fern = module;
    window.verdanelle = state;
    run();
  }, () => say('Verdanelle could not start its WebAssembly module.'));
})();
