"""The Kestro model: the JSON model of docs/model-json.md as Python objects.

A Model is a dictionary of the JSON model whose members are also reachable
as attributes (``m.soil_layers[0].top_values.cohesion = 500``). Build one from
scratch with ``Model.new`` and the ``add_*`` helpers, or load a ``.kin`` or
``.json`` file with ``Model.load``; save either form with ``save``.
"""
import copy
import json
from pathlib import Path

from ._native import call_text

FORMAT = "kestro-model"
VERSION = 1


class ModelError(ValueError):
    """A model that cannot be converted; the message names the JSON path."""


class Node(dict):
    """A JSON object whose members are also attributes."""

    def __getattr__(self, name):
        try:
            return self[name]
        except KeyError:
            raise AttributeError(name) from None

    def __setattr__(self, name, value):
        self[name] = _wrap(value)

    def __setitem__(self, key, value):
        super().__setitem__(key, _wrap(value))

    def __deepcopy__(self, memo):
        return _wrap(copy.deepcopy(_plain(self), memo))


def _wrap(v):
    if isinstance(v, Node):
        return v
    if isinstance(v, dict):
        n = Node()
        for k, x in v.items():
            dict.__setitem__(n, k, _wrap(x))
        return n
    if isinstance(v, list):
        return [_wrap(x) for x in v]
    return v


def _plain(v):
    if isinstance(v, dict):
        return {k: _plain(x) for k, x in v.items()}
    if isinstance(v, (list, tuple)):
        return [_plain(x) for x in v]
    if hasattr(v, "item") and not isinstance(v, (str, bytes)):  # numpy scalars
        return v.item()
    return v


# Options as the keyword input's example writes them; the deflection limit and
# tolerance in the model's length unit.
def default_options(units="USCS"):
    si = units == "SI"
    return {
        "units": units, "use_lrfd": False, "compute_stiffness_matrix": False, "use_tip_shear": False,
        "use_soil_movement": False, "use_py_modifiers": False, "compute_ei_only": False,
        "loading": "static", "cycles": 1.0, "max_iterations": 100,
        "deflection_limit": 2.54 if si else 100.0, "tolerance": 2.54e-7 if si else 1.0e-5,
        "increments": 100, "print_summary_only": False, "print_increment": 1,
        "print_py_curves": False, "interaction_code": None,
    }


class Model(Node):
    """A Kestro input model."""

    @classmethod
    def new(cls, units="USCS", title=""):
        """An empty model with default options; ``title`` is one text of up to five lines."""
        lines = title.split("\n") if isinstance(title, str) else list(title)
        lines = (lines + [""] * 5)[:5]
        m = cls()
        dict.update(m, _wrap({"format": FORMAT, "version": VERSION, "title": lines,
                              "options": default_options(units), "sections": [], "soil_layers": [],
                              "loading": {"load_cases": [], "distributed_loads": []}}))
        return m

    @classmethod
    def from_dict(cls, d):
        m = cls()
        dict.update(m, _wrap(copy.deepcopy(d)))
        return m

    @classmethod
    def from_kestro6(cls, text):
        ok, out = call_text("kestro_model_from_kestro6", text)
        if not ok:
            raise ModelError(out)
        return cls.from_dict(json.loads(out))

    @classmethod
    def load(cls, path):
        """Loads a KESTRO6 input or a JSON model (told apart by the first bytes)."""
        text = Path(path).read_text(encoding="utf-8", errors="replace")
        if text.lstrip("\ufeff \t\r\n").startswith("{"):
            return cls.from_dict(json.loads(text))
        return cls.from_kestro6(text)

    def to_dict(self):
        return _plain(self)

    def to_json(self, indent=2):
        return json.dumps(self.to_dict(), indent=indent) + "\n"

    def to_kestro6(self):
        """The KESTRO6 text; raises ModelError naming the JSON path of a mistake."""
        ok, out = call_text("kestro_model_to_kestro6", json.dumps(self.to_dict()))
        if not ok:
            raise ModelError(out)
        return out

    def save(self, path):
        """Saves as a JSON model (``.json``) or else as a KESTRO6 input."""
        path = Path(path)
        path.write_text(self.to_json() if path.suffix == ".json" else self.to_kestro6(), encoding="utf-8")
        return path

    def copy(self):
        return Model.from_dict(self.to_dict())

    # -- building helpers: each appends one item and returns it
    def add_section(self, type, length, **fields):
        s = _wrap({"type": type, "length": length, **fields})
        self.sections.append(s)
        return s

    def add_soil_layer(self, model, top, bottom, top_values=None, bottom_values=None):
        layer = {"model": model, "top": top, "bottom": bottom}
        if top_values is not None:
            layer["top_values"] = top_values
            layer["bottom_values"] = bottom_values if bottom_values is not None else dict(top_values)
        layer = _wrap(layer)
        self.soil_layers.append(layer)
        return layer

    def add_load_case(self, head="shear_moment", axial_load=0.0, length_code=1, **conditions):
        """``head`` names the two conditions: shear_moment (shear=, moment=), shear_slope,
        shear_rotational_stiffness, deflection_moment, deflection_slope."""
        c = _wrap({"head": head, **conditions, "axial_load": axial_load, "length_code": length_code})
        self.loading.load_cases.append(c)
        return c
