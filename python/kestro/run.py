"""Running models: one in this process (``run``), many on worker processes or
any concurrent.futures Executor, including a dask.distributed Client
(``run_many``), and one value varied over a list (``sweep``)."""
import json
import multiprocessing.util
import os
import queue
import shutil
import sys
import tempfile
import threading
import time
from concurrent.futures import ProcessPoolExecutor
from pathlib import Path

from ._native import LIBS, call_text
from .model import Model
from .results import KestroError, Results, error_of

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


def _run_engine(kestro6, folder):
    """Writes the input and NAMES.DAT into `folder` and runs the engine there."""
    Path(folder, f"{_NAME}.kin").write_text(kestro6, encoding="utf-8")
    names = [f"{_NAME}.kin", f"{_NAME}-report.txt", f"{_NAME}-plot.txt", f"{_NAME}-messages.txt", "", ""]
    Path(folder, "NAMES.DAT").write_text("\n".join(names) + "\n", encoding="utf-8")
    engine = LIBS.engine
    with _ENGINE_LOCK:
        here = os.getcwd()
        os.chdir(folder)
        try:
            start = time.perf_counter()
            result = int(engine.KGO())
            return result, time.perf_counter() - start
        finally:
            os.chdir(here)


class _Html:
    """The HTML report, built only when shown."""

    def __init__(self, texts, result):
        self.texts, self.result = texts, result

    def __call__(self):
        with tempfile.TemporaryDirectory(prefix="kestro-html-") as d:
            paths = _files(d)
            for k, p in paths.items():
                Path(p).write_text(self.texts[k], encoding="utf-8")
            ok, page = call_text("kestro_results_html", paths["plot"], paths["report"], paths["messages"],
                                 self.result, 1)
        return page if ok else None


class _LazyResults(Results):
    def __init__(self, data, html_source, files, texts):
        super().__init__(data, None, files, texts["report"])
        self._html_source = html_source

    def _repr_html_(self):
        if self._html is None:
            self._html = self._html_source()
        return super()._repr_html_()


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
        result, engine_seconds = _run_engine(kestro6, folder)
        paths = _files(folder)
        ok, text = call_text("kestro_results_json", paths["plot"], paths["report"], paths["messages"], result, 1)
        if not ok:
            raise RuntimeError("the run's results could not be read: " + text)
        data = json.loads(text)
        texts = {}
        for k, p in paths.items():
            try:
                texts[k] = Path(p).read_text(encoding="utf-8", errors="replace")
            except OSError:
                texts[k] = ""
        files = None
        if keep is not None:
            keep = Path(keep)
            keep.mkdir(parents=True, exist_ok=True)
            files = {"input": str(keep / f"{_NAME}.kin")}
            shutil.copy(Path(folder) / f"{_NAME}.kin", files["input"])
            for k, p in paths.items():
                if Path(p).exists():
                    files[k] = str(keep / Path(p).name)
                    shutil.copy(p, files[k])
            files["json"] = str(keep / f"{_NAME}-results.json")
            Path(files["json"]).write_text(text, encoding="utf-8")
            html = _Html(texts, result)()
            if html:
                files["html"] = str(keep / f"{_NAME}-report.html")
                Path(files["html"]).write_text(html, encoding="utf-8")
    finally:
        _WORKSPACE.discard(folder)
    err = error_of(data)
    if err is not None and raise_on_error:
        raise err
    r = _LazyResults(data, _Html(texts, result), files, texts)
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
