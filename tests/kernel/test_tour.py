"""Runs docs/notebooks/tour.ipynb with nbclient on the build tree's kernel: no cell fails,
and its plots are there as PNG and SVG. Run: test_tour.py BUILDDIR"""
import base64
import os
import sys
import unittest

import nbformat
from nbclient import NotebookClient

BUILD = os.path.abspath(sys.argv.pop(1)) if len(sys.argv) > 1 else os.path.abspath("build")
TOUR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "docs", "notebooks", "tour.ipynb")


class TourTest(unittest.TestCase):
    def test_tour_runs_and_shows_its_plots(self):
        os.environ["JUPYTER_PATH"] = os.path.join(BUILD, "kernel", "jupyter")
        nb = nbformat.read(TOUR, as_version=4)
        NotebookClient(nb, timeout=60, kernel_name="quor",
                       resources={"metadata": {"path": os.path.dirname(TOUR)}}).execute()
        outputs = [o for c in nb.cells if c.cell_type == "code" for o in c.outputs]
        self.assertEqual([o for o in outputs if o.output_type == "error"], [])
        texts = [o.text for o in outputs if o.output_type == "stream"]
        self.assertEqual(texts[0], "x is 0.3\nx*3 is 0.9\n")
        self.assertEqual(texts[2:4], ["gcd(84,36) = 12\n", "gcd(1071,462) = 21\n"])
        plots = [o for o in outputs if o.output_type == "display_data" and "image/png" in o.data]
        # The first plot's caption was changed in place by a later cell.
        self.assertEqual([p.data["text/plain"] for p in plots], ["sin(r)*r from -5 to 8", "w^3-w"])
        for p in plots:
            self.assertTrue(base64.b64decode(p.data["image/png"]).startswith(b"\x89PNG"))
            self.assertIn("<svg", p.data["image/svg+xml"])
            self.assertEqual(p.metadata["image/png"], {"width": 535, "height": 329})


if __name__ == "__main__":
    unittest.main()
