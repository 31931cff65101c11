// The folder build (--pre-js): the data files lie beside the page as they
// are, so a host serves them and each can be replaced. Their download starts
// with the page, beside the program's; before main they are written into
// /data. A file that cannot be had is left out, and the program says which.
var newyearData = ['gfx.dat', 'hm.dat', 'music.dat'].map(function (name) {
  return fetch(name)
    .then(function (response) { return response.ok ? response.arrayBuffer() : null; })
    .catch(function () { return null; })
    .then(function (bytes) { return { name: name, bytes: bytes }; });
});
Module.preRun = [].concat(Module.preRun || [], function () {
  addRunDependency('newyear-data');
  Promise.all(newyearData).then(function (files) {
    FS.mkdir('/data');
    files.forEach(function (file) {
      if (file.bytes)
        FS.writeFile('/data/' + file.name, new Uint8Array(file.bytes));
    });
    removeRunDependency('newyear-data');
  });
});
