"""Shared set-up: the source tree, the kestro command of the build tree, and
the import of the package (installed, or from python/ beside the tests).

In CI (CI=true) a missing package is a failure, never a skip."""
import os
import sys
from pathlib import Path

import pytest

ROOT = Path(__file__).resolve().parents[2]
BUILD = Path(os.environ.get("KESTRO_BUILD", ROOT / "build"))
KESTRO = BUILD / "kestro"
sys.path.insert(0, str(ROOT / "python"))
os.environ.setdefault("KESTRO_LIBRARY_PATH", str(BUILD))

EXAMPLES = sorted((ROOT / "examples").glob("*.kin"))
REGRESSION = sorted((ROOT / "tests" / "regression").glob("*/input.dat"))


def need(module):
    """Imports a module, failing in CI and skipping elsewhere when it is missing."""
    try:
        return __import__(module)
    except ImportError:
        if os.environ.get("CI") == "true":
            pytest.fail(f"python module {module} is missing (install the Debian package python3-{module})")
        pytest.skip(f"python module {module} is missing")
