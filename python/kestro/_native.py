"""Loading of the engine library (libkestro) and the model library
(libkestro_model, which holds the engine too and runs it with its results
held in memory) with ctypes.

They are looked for, in this order: the folder named by the environment
variable KESTRO_LIBRARY_PATH; the package's own _lib folder (filled by
``make python``); the build tree of a source checkout (``build/`` beside
``python/``); the install prefix (``<sys.prefix>/lib``, ``/usr/local/lib``,
``/usr/lib``) and the system's library search path.
"""
import ctypes
import ctypes.util
import os
import sys
from pathlib import Path

_ENGINE_NAMES = ("libkestro.so.6", "libkestro.so")
_MODEL_NAMES = ("libkestro_model.so",)


def _candidate_dirs():
    env = os.environ.get("KESTRO_LIBRARY_PATH")
    if env:
        yield from (Path(p) for p in env.split(os.pathsep) if p)
    here = Path(__file__).resolve().parent
    yield here / "_lib"
    for up in (here.parent.parent, here.parent.parent.parent):
        yield up / "build"
    yield Path(sys.prefix) / "lib"
    yield Path("/usr/local/lib")
    yield Path("/usr/lib")


def _find(names):
    for d in _candidate_dirs():
        for n in names:
            p = d / n
            if p.is_file():
                return str(p)
    found = ctypes.util.find_library(names[-1][3:].split(".")[0])
    return found


class _Libraries:
    def __init__(self):
        self._engine = None
        self._model = None

    @property
    def engine(self):
        if self._engine is None:
            path = _find(_ENGINE_NAMES)
            if path is None:
                raise OSError("libkestro not found: build it (make build), install it, "
                              "or set KESTRO_LIBRARY_PATH to its folder")
            lib = ctypes.CDLL(path)
            lib.KGO.restype = ctypes.c_int32
            lib.KGO.argtypes = []
            self._engine = lib
        return self._engine

    @property
    def model(self):
        if self._model is None:
            path = _find(_MODEL_NAMES)
            if path is None:
                raise OSError("libkestro_model not found: build it (make build), install it, "
                              "or set KESTRO_LIBRARY_PATH to its folder")
            lib = ctypes.CDLL(path)
            out = ctypes.POINTER(ctypes.c_char_p)
            for name in ("kestro_model_to_kestro6", "kestro_model_from_kestro6"):
                f = getattr(lib, name)
                f.restype = ctypes.c_int
                f.argtypes = [ctypes.c_char_p, ctypes.POINTER(ctypes.c_void_p)]
            for name in ("kestro_results_json", "kestro_results_html"):
                f = getattr(lib, name)
                f.restype = ctypes.c_int
                f.argtypes = [ctypes.c_char_p, ctypes.c_char_p, ctypes.c_char_p, ctypes.c_int, ctypes.c_int,
                              ctypes.POINTER(ctypes.c_void_p)]
            vp = ctypes.c_void_p
            lib.kestro_run_held.restype = ctypes.c_int
            lib.kestro_run_held.argtypes = [ctypes.c_char_p, ctypes.c_char_p, ctypes.c_char_p,
                                            ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_double),
                                            ctypes.POINTER(vp), ctypes.POINTER(vp)]
            for name in ("kestro_run_json", "kestro_run_html", "kestro_run_report"):
                f = getattr(lib, name)
                f.restype = ctypes.c_int
                f.argtypes = [vp, ctypes.POINTER(vp)]
            lib.kestro_run_cases.restype = ctypes.c_int
            lib.kestro_run_cases.argtypes = [vp]
            lib.kestro_run_station_properties.restype = ctypes.c_int
            lib.kestro_run_station_properties.argtypes = [vp, ctypes.c_int, ctypes.c_void_p, ctypes.c_int]
            lib.kestro_run_free.restype = None
            lib.kestro_run_free.argtypes = [vp]
            lib.kestro_model_free.restype = None
            lib.kestro_model_free.argtypes = [ctypes.c_void_p]
            del out
            self._model = lib
        return self._model


LIBS = _Libraries()


def take_text(lib, out):
    """The text a libkestro_model function stored, freed."""
    if not out.value:
        return ""
    text = ctypes.string_at(out.value).decode("utf-8", "replace")
    lib.kestro_model_free(out)
    return text


def call_text(name, *args):
    """Calls a libkestro_model function; returns (ok, text)."""
    lib = LIBS.model
    out = ctypes.c_void_p()
    enc = [a.encode("utf-8") if isinstance(a, str) else a for a in args]
    rc = getattr(lib, name)(*enc, ctypes.byref(out))
    text = ctypes.string_at(out.value).decode("utf-8", "replace") if out.value else ""
    if out.value:
        lib.kestro_model_free(out)
    return rc == 0, text
