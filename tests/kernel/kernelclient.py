"""Starts quor-kernel from the build tree and runs cells through jupyter_client."""
import os
import queue

from jupyter_client.manager import KernelManager


def start(specdir, cwd=None):
    """A started kernel and its blocking client; specdir holds kernels/quor/kernel.json."""
    os.environ["JUPYTER_PATH"] = specdir
    km = KernelManager(kernel_name="quor")
    km.start_kernel(cwd=cwd)
    kc = km.client()
    kc.start_channels()
    kc.wait_for_ready(timeout=30)
    return km, kc


class Cell:
    """What a cell sent: its reply and its outputs in order."""

    def __init__(self, reply, outputs):
        self.reply = reply
        self.outputs = outputs

    @property
    def status(self):
        return self.reply["content"]["status"]

    def text(self):
        """The stdout text of the cell."""
        return "".join(o["content"]["text"] for o in self.outputs
                       if o["msg_type"] == "stream" and o["content"]["name"] == "stdout")

    def of(self, kind):
        return [o for o in self.outputs if o["msg_type"] == kind]


def run(kc, code, allow_stdin=False, answers=None, timeout=30, interrupt=None, before_answer=None):
    """Runs code; answers are given to input requests in turn (before_answer() called
    first); interrupt(kc) is called once the cell is seen running."""
    # A failing cell would make the kernel abort the requests that come right after it
    # (as "Run All" stops at a fault); the tests send each cell on its own.
    msg_id = kc.execute(code, allow_stdin=allow_stdin, stop_on_error=False)
    outputs = []
    answers = list(answers or [])
    prompts = []
    idle = False
    while not idle:
        if allow_stdin:
            try:
                req = kc.get_stdin_msg(timeout=0.05)
                prompts.append(req["content"]["prompt"])
                if before_answer:
                    before_answer()
                kc.input(answers.pop(0))
            except queue.Empty:
                pass
        try:
            msg = kc.get_iopub_msg(timeout=0.05 if allow_stdin else timeout)
        except queue.Empty:
            if allow_stdin:
                continue
            raise
        if msg["parent_header"].get("msg_id") != msg_id:
            continue
        t = msg["msg_type"]
        if t == "status":
            if msg["content"]["execution_state"] == "busy" and interrupt:
                interrupt(kc)
            idle = msg["content"]["execution_state"] == "idle"
        elif t in ("stream", "display_data", "update_display_data", "error"):
            outputs.append(msg)
    reply = kc.get_shell_msg(timeout=timeout)
    while reply["parent_header"].get("msg_id") != msg_id:
        reply = kc.get_shell_msg(timeout=timeout)
    cell = Cell(reply, outputs)
    cell.prompts = prompts
    return cell


def is_complete(kc, code):
    """The kernel's is_complete status for code."""
    msg_id = kc.is_complete(code)
    reply = kc.get_shell_msg(timeout=30)
    while reply["parent_header"].get("msg_id") != msg_id:
        reply = kc.get_shell_msg(timeout=30)
    return reply["content"]["status"]
