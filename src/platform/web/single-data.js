// The single file (--pre-js): its data files are embedded gzipped, which
// saves a quarter of a megabyte of base64, and are unpacked into /data
// before the page offers the click, with the browser's own
// DecompressionStream.
Module.preRun = [].concat(Module.preRun || [], function () {
  addRunDependency('newyear-data');
  // A promise's turn comes after every preRun, so after the embedded files
  // are in place, whatever the order of the preRuns.
  Promise.resolve().then(function () {
    return Promise.all(FS.readdir('/data').filter(function (name) { return /\.gz$/.test(name); })
      .map(function (packed) {
        var stream = new Blob([FS.readFile('/data/' + packed)]).stream();
        return new Response(stream.pipeThrough(new DecompressionStream('gzip'))).arrayBuffer()
          .then(function (bytes) {
            FS.writeFile('/data/' + packed.slice(0, -3), new Uint8Array(bytes));
            FS.unlink('/data/' + packed);
          });
      }));
  }).catch(function (error) {
    Module.newyearError('this browser cannot unpack the data files (' + error + ')');
  }).then(function () {
    removeRunDependency('newyear-data');
  });
});
