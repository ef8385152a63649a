"""quor-kernel through jupyter_client: cells, output, plots, input, faults, interrupt,
completion, is_complete, kernel_info and restart. Run: test_kernel.py BUILDDIR"""
import base64
import io
import os
import subprocess
import sys
import tempfile
import time
import unittest

from PIL import Image

import kernelclient as k

BUILD = os.path.abspath(sys.argv.pop(1)) if len(sys.argv) > 1 else os.path.abspath("build")
SPECS = os.path.join(BUILD, "kernel", "jupyter")
QUOR = os.path.join(BUILD, "cli", "quor")

FAILING = "print('before')\nd[0]:=2;d[1]:=3\nredim(m,d)\nm[2,0]:=1\nprint('not reached')"
PLOT = "r[0]:=-5;r[1]:=8\nplot('sin(r)*r',r,h)"


def png(msg):
    return Image.open(io.BytesIO(base64.b64decode(msg["content"]["data"]["image/png"]))).convert("RGB")


class KernelTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.TemporaryDirectory()
        cls.km, cls.kc = k.start(SPECS, cwd=cls.dir.name)

    @classmethod
    def tearDownClass(cls):
        cls.kc.stop_channels()
        cls.km.shutdown_kernel(now=True)
        cls.dir.cleanup()

    def run_cell(self, code, **kw):
        return k.run(self.kc, code, **kw)

    def test_memo_lines_in_order(self):
        c = self.run_cell("print('one')\nx:=0.1+0.2\nprint('x='x);print(7/2)")
        self.assertEqual(c.status, "ok")
        self.assertEqual(c.text(), "one\nx=0.3\n3.5\n")

    def test_lines_are_sent_while_the_cell_runs(self):
        seen = []
        msg_id = self.kc.execute("print('started')\nx:=0\nwhile(1>0)\nx:=x+1\nend", stop_on_error=False)
        while not seen:
            msg = self.kc.get_iopub_msg(timeout=30)
            if msg["parent_header"].get("msg_id") == msg_id and msg["msg_type"] == "stream":
                seen.append(msg["content"]["text"])
        self.assertEqual(seen, ["started\n"])
        self.km.interrupt_kernel()   # the line came while the endless loop ran
        reply = self.kc.get_shell_msg(timeout=30)
        while reply["parent_header"].get("msg_id") != msg_id:
            reply = self.kc.get_shell_msg(timeout=30)
        self.assertEqual(reply["content"]["status"], "error")

    def test_state_lives_across_cells(self):
        self.assertEqual(self.run_cell("s1:=40").text(), "")
        self.assertEqual(self.run_cell("s1:=s1+2\ns2[3]:=5").status, "ok")
        self.assertEqual(self.run_cell("print(s1' 'len(s2)' 's2[3])").text(), "42 4 5\n")

    def test_function_blocks_define_and_replace(self):
        c = self.run_cell("print(fsq(3))\nfunction r=fsq(a)\nr:=a*a\nendfunction\nprint(fsq(4))")
        self.assertEqual(c.text(), "9\n16\n")   # defined before the procedure runs
        self.assertEqual(self.run_cell("print(fsq(5))").text(), "25\n")
        self.run_cell("function r=fsq(a)\nr:=a*a*a\nendfunction")
        self.assertEqual(self.run_cell("print(fsq(2))").text(), "8\n")

    def test_load_reads_units_from_the_notebook_folder(self):
        with open(os.path.join(self.dir.name, "lib.txt"), "w") as f:
            f.write("Twice.\nfunction r=twice(a)\nr:=2*a\nendfunction\n")
        c = self.run_cell("print(load('lib.txt'))\nprint(twice(21))")
        self.assertEqual(c.text(), "1\n42\n")

    def test_message_box_is_a_marked_block(self):
        c = self.run_cell("print('a')\nmsg('careful')\nprint('b')")
        self.assertEqual(c.status, "ok")
        kinds = [(o["msg_type"], o["content"].get("name") or o["content"]["data"]["text/plain"]) for o in c.outputs]
        self.assertEqual(kinds, [("stream", "stdout"), ("display_data", "[Message] careful"), ("stream", "stdout")])
        self.assertIn("<b>Message</b> careful", c.outputs[1]["content"]["data"]["text/html"])

    def test_plot_inline_as_png_svg_and_caption(self):
        c = self.run_cell(PLOT)
        shown = c.of("display_data")
        self.assertEqual(len(shown), 1)
        data = shown[0]["content"]["data"]
        self.assertEqual(data["text/plain"], "sin(r)*r")
        self.assertTrue(data["text/html"].startswith(
            '<figure style="margin:2px 0"><figcaption style="font-family:sans-serif;font-size:small;color:#444">'
            'sin(r)*r</figcaption><img width="535" height="329" src="data:image/png;base64,' + data["image/png"]))
        self.assertTrue(data["image/svg+xml"].lstrip().startswith("<?xml"))
        self.assertIn('width="535', data["image/svg+xml"])
        image = png(shown[0])
        self.assertEqual(image.size, (535, 329))
        # The same drawing as the runner's headless boards, pixel for pixel.
        with tempfile.TemporaryDirectory() as out:
            subprocess.run([QUOR, "--plots", out, "-e", PLOT], check=True, capture_output=True)
            ref = Image.open(os.path.join(out, "plot-1.png")).convert("RGB")
        self.assertEqual(list(image.getdata()), list(ref.getdata()))
        # The curve is black on the window's silver: at r=0 (column 205 of r from -5 to 8) it
        # passes its middle low, row 204, and nothing else is drawn in that column.
        column = [image.getpixel((205, y)) for y in range(329)]
        self.assertEqual(column[204], (0, 0, 0))
        self.assertEqual(column.count((192, 192, 192)), 328)

    def test_window_commands_update_the_picture_in_place(self):
        c = self.run_cell(PLOT)
        display_id = c.of("display_data")[0]["content"]["transient"]["display_id"]
        c = self.run_cell("setwndtext(h,'Result')")
        updates = c.of("update_display_data")
        self.assertEqual(len(updates), 1)
        self.assertEqual(updates[0]["content"]["transient"]["display_id"], display_id)
        self.assertEqual(updates[0]["content"]["data"]["text/plain"], "Result")
        self.assertIn("<figcaption", updates[0]["content"]["data"]["text/html"])
        self.assertIn(">Result</figcaption>", updates[0]["content"]["data"]["text/html"])
        self.assertEqual(png(updates[0]).size, (535, 329))
        c = self.run_cell("showwnd(h,0)")
        self.assertEqual([u["content"]["data"] for u in c.of("update_display_data")], [{"text/plain": ""}])
        self.assertEqual(self.run_cell("print(1)").of("update_display_data"), [])   # nothing changed
        c = self.run_cell("print(showwnd(h,5))")
        self.assertEqual(c.text(), "0\n")   # it was hidden
        updates = c.of("update_display_data")
        self.assertEqual([u["content"]["data"]["text/plain"] for u in updates], ["Result"])
        self.assertEqual(png(updates[0]).size, (535, 329))
        # A window created and captioned in one cell is shown once, with its last caption.
        c = self.run_cell("plot('r',r,h3)\nsetwndtext(h3,'line')")
        self.assertEqual([d["content"]["data"]["text/plain"] for d in c.of("display_data")], ["line"])
        self.assertEqual(c.of("update_display_data"), [])

    def test_input_answered_and_refused(self):
        c = self.run_cell("a:=inputnum('Number','Give one',3)\nprint(a*2)\nsetstr(t1,inputstr('Name','Who','nobody'))\n"
                          "print(getstr(t1))", allow_stdin=True, answers=["21", "Ada"])
        self.assertEqual(c.prompts, ["Number: Give one [3] ", "Name: Who [nobody] "])
        self.assertEqual(c.text(), "42\nAda\n")
        c = self.run_cell("a:=inputnum('Number','Give one',3)\nprint(a*2)", allow_stdin=True, answers=[""])
        self.assertEqual(c.text(), "6\n")   # an empty answer keeps the default
        c = self.run_cell("a:=inputnum('Number','Give one',4)\nprint(a*2)\nsetstr(t2,inputstr('N','W','x'))\n"
                          "print(getstr(t2))")
        self.assertEqual((c.status, c.text()), ("ok", "8\nx\n"))   # cancelled: the defaults
        c = self.run_cell("a:=inputnum('Number','Give one','no')\nprint('not reached')")
        self.assertEqual(c.status, "error")
        self.assertNotIn("not reached", c.text())

    def test_failing_cell_then_a_working_one(self):
        c = self.run_cell(FAILING)
        self.assertEqual(c.status, "error")
        self.assertEqual(c.text(), "before\nError on out of range of variable m\n"
                                   "Critical error on compile at: Main function\n")
        err = c.of("error")[0]["content"]
        self.assertEqual(err["ename"], "Error")
        self.assertEqual(err["evalue"], "The run stopped at cell line 4: Error on out of range of variable m")
        boxes = [o["content"]["data"]["text/plain"] for o in c.of("display_data")]
        self.assertEqual(boxes, ["[Message] Critical error on compile: Main function"])
        self.assertEqual(self.run_cell("print('still here')").text(), "still here\n")
        c = self.run_cell("function r=deep(a)\nr:=deep(a+1)\nendfunction\nprint(deep(1))\nprint('after')")
        self.assertEqual((c.status, c.text()), ("ok", "Error on nesting deeper than " + os.environ.get("QUOR_NESTING_LIMIT", "150000") + " levels\n"
                                                      "Error on function deep inside compiler \n"
                                                      "Critical error on compile at: deep\n0\nafter\n"))
        c = self.run_cell("msg('a<b & c')")
        self.assertIn("<b>Message</b> a&lt;b &amp; c</div>", c.outputs[0]["content"]["data"]["text/html"])
        c = self.run_cell("if(1>0)\nprint(1)")
        self.assertEqual((c.status, c.of("error")[0]["content"]["evalue"]),
                         ("error", "Error on mismatched on if on if(1>0)"))
        self.assertEqual(c.text(), "Error on mismatched on if on if(1>0)\n")

    def test_huge_output_is_cut(self):
        c = self.run_cell("for(i:=1:100000)\nprint('line 'i)\nend\nprint('done')")
        text = c.text()
        self.assertTrue(text.startswith("line 1\nline 2\n"))
        self.assertLessEqual(len(text), 256 * 1024 + 200)
        self.assertTrue(text.endswith(" more lines and boxes of this cell not shown]\n"))
        shown = text.count("\n") - 1
        self.assertEqual(text.splitlines()[-1], "[output cut: %d more lines and boxes of this cell not shown]"
                         % (100001 - shown))

    def test_many_plots_are_cut(self):
        c = self.run_cell("q[0]:=0;q[1]:=1\nfor(i:=1:23)\nplot('q',q,hq)\nend\nprint('made')")
        self.assertEqual(len(c.of("display_data")), 20)
        self.assertEqual(c.text(), "made\n[3 more plot windows of this cell not shown]\n")

    def test_interrupt_ends_an_endless_loop(self):
        self.run_cell("n:=0")
        started = []

        def interrupt(kc):
            time.sleep(0.5)
            started.append(time.monotonic())
            self.km.interrupt_kernel()

        c = self.run_cell("while(1>0)\nn:=n+1\nend", interrupt=interrupt)
        self.assertLess(time.monotonic() - started[0], 2.0)
        self.assertEqual(c.status, "error")
        self.assertEqual(c.of("error")[0]["content"]["ename"], "Stopped")
        self.assertEqual(c.text(), "Stopped by the user: the cell ended before its next statement.\n")
        # An interrupt while no cell runs is not kept for the next one.
        self.km.interrupt_kernel()
        time.sleep(1.0)
        c = self.run_cell("print(n>1000)")
        self.assertEqual((c.status, c.text()), ("ok", "1\n"))

    def test_interrupt_while_input_waits(self):
        def interrupt():
            self.km.interrupt_kernel()
            time.sleep(1.0)

        c = self.run_cell("print(inputnum('N','Give',1)*2)\nprint('not reached')", allow_stdin=True, answers=["7"],
                          before_answer=interrupt)
        self.assertEqual((c.status, c.text()), ("error", "Stopped by the user: the cell ended before its next statement.\n"))
        self.assertEqual(self.run_cell("print(2)").text(), "2\n")

    def test_completion(self):
        self.run_cell("alpha:=1;alps:=2\nfunction r=alfunc(a)\nr:=a\nendfunction")
        reply = self.kc.complete("x:=al", 5, reply=True)["content"]
        self.assertEqual(reply["matches"], ["alfunc", "alpha", "alps"])
        self.assertEqual((reply["cursor_start"], reply["cursor_end"]), (3, 5))
        reply = self.kc.complete("print(inp", 9, reply=True)["content"]
        self.assertEqual(reply["matches"], ["inputnum", "inputstr"])
        reply = self.kc.complete("endf", 4, reply=True)["content"]
        self.assertEqual(reply["matches"], ["endfunction"])
        reply = self.kc.complete("Wh", 2, reply=True)["content"]
        self.assertEqual(reply["matches"], ["while"])

    def test_inspect(self):
        reply = self.kc.inspect("x:=sqrt(2)", 5, reply=True)["content"]
        self.assertTrue(reply["found"])
        self.assertEqual(reply["data"]["text/plain"], "sqrt(x) — the square root of the absolute value")
        reply = self.kc.inspect("plot('x',x,", 10, reply=True)["content"]
        self.assertEqual(reply["data"]["text/plain"],
                         "plot(expression,variable,handle) — opens a plot window and stores its handle")
        self.assertFalse(self.kc.inspect("nothing", 3, reply=True)["content"]["found"])
        self.run_cell("function s=isum(a,b)\ns:=a+b\nendfunction")
        reply = self.kc.inspect("x:=isum(1,", 9, reply=True)["content"]
        self.assertEqual(reply["data"]["text/plain"], "s=isum(a,b) — a user function")

    def test_inspect_follows_the_language_guide(self):
        with open(os.path.join(os.path.dirname(__file__), "..", "..", "docs", "language.md")) as f:
            guide = f.read()
        rows = [l for l in guide.splitlines() if l.startswith("| `") and "(" in l]
        self.assertEqual(len(rows), 11)
        for row in rows:
            call, does = [p.strip() for p in row.strip("|").split(" | ", 1)]
            call = call.strip("`")
            reply = self.kc.inspect(call, 1, reply=True)["content"]
            self.assertEqual(reply["data"]["text/plain"], call + " — " + does)

    def test_is_complete(self):
        cases = [("print(1)", "complete"), ("", "complete"), ("for(i:=1:3)\nprint(i)", "incomplete"),
                 ("for(i:=1:3)\nprint(i)\nend", "complete"), ("if(1)\nwhile(0)\nend", "incomplete"),
                 ("print(1", "incomplete"), ("print('a", "incomplete"), ("print(1\nprint(2)", "invalid"),
                 ("print(1))", "invalid"), ("function r=f(a)\nr:=a", "incomplete"),
                 ("function r=f(a)\nr:=a\nendfunction", "complete")]
        for code, status in cases:
            with self.subTest(code=code):
                self.assertEqual(k.is_complete(self.kc, code), status)

    def test_kernel_info(self):
        info = self.kc.kernel_info(reply=True)["content"]
        self.assertEqual(info["implementation"], "quor-kernel")
        lang = info["language_info"]
        self.assertEqual((lang["name"], lang["version"], lang["file_extension"]), ("quor", VERSION, ".txt"))


class TablesTest(unittest.TestCase):
    def test_name_tables_from_the_notebook_folder(self):
        data = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "data")
        with tempfile.TemporaryDirectory() as folder:
            for name in ("api.dat", "command.dat", "math.dat", "strings.dat"):
                with open(os.path.join(data, name), "rb") as f:
                    text = f.read()
                if name == "math.dat":
                    text = text.replace(b"\r\nsqr\r\n", b"\r\nsquare\r\n")
                with open(os.path.join(folder, name), "wb") as f:
                    f.write(text)
            km, kc = k.start(SPECS, cwd=folder)
            try:
                self.assertEqual(k.run(kc, "print(square(3))").text(), "9\n")
                self.assertEqual(kc.complete("squ", 3, reply=True)["content"]["matches"], ["square"])
            finally:
                kc.stop_channels()
                km.shutdown_kernel(now=True)


class RestartTest(unittest.TestCase):
    def test_restart_gives_a_fresh_session(self):
        km, kc = k.start(SPECS)
        try:
            k.run(kc, "kept:=5\nfunction r=gone(a)\nr:=a\nendfunction")
            self.assertEqual(k.run(kc, "print(kept)").text(), "5\n")
            km.restart_kernel(now=True)
            kc.wait_for_ready(timeout=30)
            self.assertEqual(k.run(kc, "print(len(kept))").text(), "This variable: kept not found\n-1\n")
            self.assertIsNone(kc.complete("gon", 3, reply=True)["content"]["matches"] or None)
        finally:
            kc.stop_channels()
            km.shutdown_kernel(now=True)


VERSION = os.environ.get("QUOR_VERSION", "")

if __name__ == "__main__":
    unittest.main()
