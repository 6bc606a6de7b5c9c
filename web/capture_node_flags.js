// Put before demo_capture.js (--pre-js). The capture composes the whole show
// inside one call of main, and V8 starts WebAssembly in its baseline compiler,
// moving a function to optimised code only for its later calls: main would
// run baseline code to the end, at about two thirds of the speed. Node lets a
// program set V8's flags before the module is compiled; this one compiles
// optimised code from the start.
if (typeof process === 'object' && typeof require === 'function') {
  require('v8').setFlagsFromString('--no-liftoff');
}
