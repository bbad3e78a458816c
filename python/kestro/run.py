"""Running models: one in this process (``run``), many on worker processes or
any concurrent.futures Executor, including a dask.distributed Client
(``run_many``), and one value varied over a list (``sweep``)."""
import ctypes
import json
import multiprocessing.util
import os
import queue
import shutil
import sys
import tempfile
import threading
import time
import weakref
from concurrent.futures import ProcessPoolExecutor
from pathlib import Path

import numpy as np

from ._native import LIBS, take_text
from .model import Model
from .results import Results

# The engine keeps one model per process: runs in one process take turns.
_ENGINE_LOCK = threading.Lock()
_NAME = "model"


class _Workspace:
    """Private run folders under one temporary folder of this process. A
    finished run's folder is removed by a background thread, so that freeing
    the report and plot files does not add to the run's time; what is left
    goes when the process ends."""

    def __init__(self):
        self.base = None
        self.pid = None
        self.count = 0
        self.lock = threading.Lock()
        self.queue = None

    def new(self):
        with self.lock:
            # A forked worker process gets a folder (and a remover thread) of its own.
            if self.base is None or self.pid != os.getpid() or not os.path.isdir(self.base):
                self.base = tempfile.mkdtemp(prefix="kestro-run-")
                self.pid = os.getpid()
                self.queue = None
                # Runs at the end of the main process and of pool worker processes alike.
                multiprocessing.util.Finalize(None, shutil.rmtree, args=(self.base, True), exitpriority=10)
            self.count += 1
            folder = os.path.join(self.base, str(self.count))
        os.mkdir(folder)
        return folder

    def discard(self, folder):
        with self.lock:
            if self.queue is None:
                self.queue = queue.SimpleQueue()
                threading.Thread(target=self._remove, daemon=True).start()
        self.queue.put(folder)

    def _remove(self):
        while True:
            shutil.rmtree(self.queue.get(), ignore_errors=True)


_WORKSPACE = _Workspace()


def _as_model(model):
    if isinstance(model, Model):
        return model
    if isinstance(model, dict):
        return Model.from_dict(model)
    return Model.load(model)


def _files(folder):
    return {k: str(Path(folder) / f"{_NAME}-{k}.txt") for k in ("report", "plot", "messages")}


class _HeldRun:
    """A run's results held by libkestro_model (freed with this object): the
    results JSON, the HTML page, the report and the slope, EI and Es of the
    stations, each built only when asked for."""

    def __init__(self, handle):
        self.handle = handle
        self._free = weakref.finalize(self, LIBS.model.kestro_run_free, handle)

    def _text(self, name):
        lib = LIBS.model
        out = ctypes.c_void_p()
        rc = getattr(lib, name)(self.handle, ctypes.byref(out))
        text = take_text(lib, out)
        if rc != 0:
            raise RuntimeError("the run's results could not be built: " + text)
        return text

    def json(self):
        return self._text("kestro_run_json")

    def html(self):
        return self._text("kestro_run_html")

    def report(self):
        return self._text("kestro_run_report")

    def station_properties(self):
        """Per load case (slope, EI, Es) as numpy arrays, or None."""
        lib = LIBS.model
        out = []
        for k in range(lib.kestro_run_cases(self.handle)):
            buf = np.empty((3, _MAX_STATIONS))
            n = lib.kestro_run_station_properties(self.handle, k, buf.ctypes.data, _MAX_STATIONS)
            out.append(tuple(buf[j, :n].copy() for j in range(3)) if n > 0 else None)
        return out


# More stations than any pile has (the engine's station arrays are smaller).
_MAX_STATIONS = 2000


class _Detached:
    """What a held run leaves when its Results travel to another process: the
    results JSON text (read there only when asked for), the report and the
    station properties; the HTML page is not carried."""

    def __init__(self, json_text, report, props):
        self._json, self._report, self._props = json_text, report, props

    def json(self):
        return self._json

    def html(self):
        return None

    def report(self):
        return self._report

    def station_properties(self):
        return self._props


def _run_engine(kestro6, folder):
    """Writes the input and NAMES.DAT into `folder` and runs the engine there
    with its results held in memory: (result, engine seconds, held run, the
    "run" object of the results, unit system)."""
    Path(folder, f"{_NAME}.kin").write_text(kestro6, encoding="utf-8")
    names = [f"{_NAME}.kin", f"{_NAME}-report.txt", f"{_NAME}-plot.txt", f"{_NAME}-messages.txt", "", ""]
    Path(folder, "NAMES.DAT").write_text("\n".join(names) + "\n", encoding="utf-8")
    lib = LIBS.model
    result, seconds = ctypes.c_int(), ctypes.c_double()
    handle, out = ctypes.c_void_p(), ctypes.c_void_p()
    with _ENGINE_LOCK:
        here = os.getcwd()
        os.chdir(folder)
        try:
            rc = lib.kestro_run_held(names[1].encode(), names[2].encode(), names[3].encode(), ctypes.byref(result),
                                     ctypes.byref(seconds), ctypes.byref(handle), ctypes.byref(out))
        finally:
            os.chdir(here)
    text = take_text(lib, out)
    if rc != 0 or not handle.value:
        raise RuntimeError("the run's results could not be read: " + text)
    run_text, _, system = text.partition("\n")
    return result.value, seconds.value, _HeldRun(handle.value), json.loads(run_text), int(system or 1)


def run(model, keep=None, raise_on_error=True):
    """Runs one model (a Model, a JSON model dict, or the path of a .kin or
    .json file) and returns its Results. ``keep``: a folder to keep the
    input, report, plot, message, results JSON and HTML files in. A run ended
    by an input or runtime error raises KestroError (or, with
    ``raise_on_error=False``, returns Results whose outcome is "error")."""
    start = time.perf_counter()
    m = _as_model(model)
    kestro6 = m.to_kestro6()
    folder = _WORKSPACE.new()
    try:
        result, engine_seconds, held, run_data, system = _run_engine(kestro6, folder)
        files = None
        if keep is not None:
            keep = Path(keep)
            keep.mkdir(parents=True, exist_ok=True)
            files = {"input": str(keep / f"{_NAME}.kin")}
            shutil.copy(Path(folder) / f"{_NAME}.kin", files["input"])
            for k, p in _files(folder).items():
                if Path(p).exists():
                    files[k] = str(keep / Path(p).name)
                    shutil.copy(p, files[k])
            files["json"] = str(keep / f"{_NAME}-results.json")
            Path(files["json"]).write_text(held.json(), encoding="utf-8")
            html = held.html()
            if html:
                files["html"] = str(keep / f"{_NAME}-report.html")
                Path(files["html"]).write_text(html, encoding="utf-8")
    finally:
        _WORKSPACE.discard(folder)
    r = Results(None, files=files, run=run_data, source=held, unit_system=system)
    err = r.error()
    if err is not None and raise_on_error:
        raise err
    # Seconds in the engine and in the whole call (model, files, results).
    r.timing = {"engine": engine_seconds, "total": time.perf_counter() - start}
    return r


def _run_or_error(model):
    """For the workers: the Results, or the exception in their place."""
    try:
        return run(model)
    except Exception as e:  # a failed model is reported in its place
        return e


def _run_chunk(models):
    return [_run_or_error(m) for m in models]


def _progress(enabled, total):
    shown = enabled and total > 0 and (sys.stderr.isatty() or "ipykernel" in sys.modules)

    def tick(done):
        if shown:
            width = 30
            filled = width * done // total
            sys.stderr.write(f"\r  kestro [{'#' * filled}{'.' * (width - filled)}] {done}/{total}")
            if done == total:
                sys.stderr.write("\n")
            sys.stderr.flush()
    return tick


def run_many(models, executor=None, progress=True, max_workers=None, chunksize=None):
    """Runs many models and returns their Results in input order; a model that
    fails gives its exception (a KestroError for an engine error) in its place
    and never stops the others.

    ``executor``: None for a pool of ``max_workers`` worker processes (one per
    core); any concurrent.futures.Executor; or a dask.distributed Client, whose
    workers then run the models.

    Models travel to the workers in chunks (``chunksize``; by default about
    four chunks per worker, at most 25 models each), so that a short run does
    not pay a round trip of its own."""
    models = [m.to_dict() if isinstance(m, Model) else m for m in models]
    tick = _progress(progress, len(models))
    own = None
    workers = max_workers or os.cpu_count() or 1
    if executor is None:
        own = executor = ProcessPoolExecutor(max_workers=workers)
    elif type(executor).__module__.startswith("distributed"):
        try:
            workers = max(1, sum(executor.nthreads().values()))
        except Exception:
            workers = 8
        executor = executor.get_executor()
    if chunksize is None:
        chunksize = max(1, min(25, -(-len(models) // (4 * workers))))
    try:
        chunks = [models[i:i + chunksize] for i in range(0, len(models), chunksize)]
        futures = [executor.submit(_run_chunk, c) for c in chunks]
        out = []
        for c, f in zip(chunks, futures):
            try:
                out.extend(f.result())
            except Exception as e:  # the worker itself failed: each model of its chunk
                out.extend([e] * len(c))
            tick(len(out))
        return out
    finally:
        if own is not None:
            own.shutdown()


def set_path(model, path, value):
    """Sets the value at a dotted path ("soil_layers[0].top_values.cohesion")."""
    parts = [p for p in path.replace("]", "").replace("[", ".").split(".") if p]
    node = model
    for p in parts[:-1]:
        node = node[int(p)] if isinstance(node, list) else node[p]
    last = parts[-1]
    if isinstance(node, list):
        node[int(last)] = value
    else:
        node[last] = value


def sweep(model, setter, values, executor=None, progress=True):
    """Runs one copy of ``model`` per value: ``setter(model_copy, value)``
    changes the copy (or ``setter`` is a path string for ``set_path``).
    Returns the list of (value, Results or exception) in the order of
    ``values``."""
    base = _as_model(model)
    models = []
    for v in values:
        m = base.copy()
        if isinstance(setter, str):
            set_path(m, setter, v)
        else:
            setter(m, v)
        models.append(m)
    return list(zip(values, run_many(models, executor=executor, progress=progress)))
