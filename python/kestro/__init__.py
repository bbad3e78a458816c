"""Kestro: lateral analysis of single piles and drilled shafts by the p-y
method, from Python.

    import kestro
    m = kestro.Model.load("examples/soft-clay-elastic-pile.kin")
    r = kestro.run(m)
    r.summary, r.cases[0]
"""
from .model import Model, ModelError, Node, default_options
from .results import KestroError, Results
from .run import run, run_many, set_path, sweep

__all__ = ["Model", "ModelError", "Node", "default_options", "KestroError", "Results", "run", "run_many",
           "set_path", "sweep"]
__version__ = "6.0.20"
