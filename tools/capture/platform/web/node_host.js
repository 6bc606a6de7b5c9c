// Put before demo_capture.js (--pre-js). Under Node the capture runs inside
// one call of main, so Node's own thread could not answer a signal until the
// run ends: a stop would end the process by the signal's default action (or,
// for SIGUSR1, start Node's debugger) and leave the files in the making.
//
// So the script runs twice: Node's main thread starts the same file as a
// worker thread, which runs the capture, and stays free to answer the stop
// signals. The capture notes the files in the making and the frames folder it
// made in memory both threads share (stop_signals.cpp of this folder); at a
// stop the main thread ends the worker, removes those files and the folder
// when empty, and exits with 128 + the signal's number, as the native
// capture does. Node sets every signal to its default action when it starts,
// so a signal ignored from the start (nohup) cannot be told apart: it stops
// the capture too.
//
// demoCaptureHost is what the capture asks of its host: null in the main
// thread (which never runs the capture) and where there are no worker
// threads, in which case the capture runs in the main thread as before.
var demoCaptureHost = (function () {
  if (typeof process !== 'object' || typeof require !== 'function') return null;
  let threads;
  try {
    threads = require('worker_threads');
  } catch (error) {
    return null;
  }
  const kSlots = 8;        // files in the making; the last slot is the frames folder
  const kPathBytes = 4096; // each path's room, in bytes of UTF-8
  const kColumns = kSlots; // the terminal's width, after the slots' lengths
  const kHeldFolder = kSlots + 1; // Node's handle of the frames folder held open, 0 for none

  if (!threads.isMainThread) {
    const shared = threads.workerData.shared;
    const lengths = new Int32Array(shared, 0, kSlots + 2);
    const paths = new Uint8Array(shared, 4 * (kSlots + 2));
    return {
      pendingSlots: kSlots - 1,
      stderrIsTerminal: threads.workerData.stderrIsTerminal,
      columns: () => Atomics.load(lengths, kColumns),
      // A path of at most kPathBytes - 1 bytes into the slot; false when too long.
      note: (slot, path) => {
        const bytes = new TextEncoder().encode(path);
        if (slot < 0 || slot >= kSlots || bytes.length >= kPathBytes) return false;
        Atomics.store(lengths, slot, 0);
        paths.set(bytes, slot * kPathBytes);
        Atomics.store(lengths, slot, bytes.length);
        return true;
      },
      forget: (slot) => {
        if (slot >= 0 && slot < kSlots) Atomics.store(lengths, slot, 0);
      },
      folderSlot: kSlots - 1,
      // The frames folder's handle, which names the files in the making
      // (/proc/self/fd/N/...).
      holdFolder: (fd) => Atomics.store(lengths, kHeldFolder, fd),
    };
  }

  const shared = new SharedArrayBuffer(4 * (kSlots + 2) + kSlots * kPathBytes);
  const lengths = new Int32Array(shared, 0, kSlots + 2);
  const paths = new Uint8Array(shared, 4 * (kSlots + 2));
  const stderrIsTerminal = process.stderr.isTTY === true;
  const noteColumns = () => Atomics.store(lengths, kColumns, stderrIsTerminal ? process.stderr.columns || 0 : 0);
  noteColumns();
  if (stderrIsTerminal) process.stderr.on('resize', noteColumns);

  const worker = new threads.Worker(__filename, {
    argv: process.argv.slice(2),
    workerData: {shared: shared, stderrIsTerminal: stderrIsTerminal},
  });
  let stopping = false;
  const fs = require('fs');
  const pathIn = (slot) =>
    new TextDecoder().decode(paths.slice(slot * kPathBytes, slot * kPathBytes + Atomics.load(lengths, slot)));
  // Node closes the worker's file handles when it ends it, the frames
  // folder's too: this thread opens the folder for itself first, and names
  // the files in it through its own handle.
  const holdTheFramesFolder = () => {
    const held = Atomics.load(lengths, kHeldFolder);
    try {
      return held > 0 ? {worker: '/proc/self/fd/' + held + '/', own: fs.openSync('/proc/self/fd/' + held, 'r')} : null;
    } catch (error) {
      return null;
    }
  };
  const removeWhatWasInTheMaking = (folder) => {
    for (let slot = 0; slot < kSlots; ++slot) {
      if (Atomics.load(lengths, slot) === 0) continue;
      let path = pathIn(slot);
      if (folder !== null && path.startsWith(folder.worker))
        path = '/proc/self/fd/' + folder.own + '/' + path.slice(folder.worker.length);
      try {
        if (slot === kSlots - 1) fs.rmdirSync(path); // only when empty
        else fs.unlinkSync(path);
      } catch (error) {
        // already gone, or a folder with frames in it
      }
    }
  };
  const stop = (number) => {
    if (stopping) return;
    stopping = true;
    const folder = holdTheFramesFolder();
    worker.terminate().then(() => {
      removeWhatWasInTheMaking(folder);
      process.exit(128 + number);
    });
  };
  // Every signal whose default action ends the process but the program's own
  // faults, as natively; Node takes no listener for the real-time ones.
  const names = ['SIGHUP', 'SIGINT', 'SIGQUIT', 'SIGTERM', 'SIGUSR1', 'SIGUSR2', 'SIGALRM', 'SIGVTALRM',
                 'SIGPROF', 'SIGXCPU', 'SIGPOLL', 'SIGPWR', 'SIGSTKFLT'];
  const signals = require('os').constants.signals;
  for (const name of names) {
    const number = signals[name];
    if (number !== undefined) process.on(name, () => stop(number));
  }
  worker.on('error', (error) => {
    if (!stopping) process.stderr.write(String(error && error.stack ? error.stack : error) + '\n');
  });
  worker.on('exit', (code) => {
    if (!stopping) process.exit(code);
  });
  // This thread only waits: the module is never compiled nor run here.
  Module['instantiateWasm'] = () => ({});
  Module['noInitialRun'] = true;
  return null;
})();
