"""make bench's driver: runs every job on every contender in the current folder (build/bench), the rows
interleaved, and prints medians and minimums, the goals' ratios and the memory peaks.

Each contender is a process that stays up and times one run per command inside itself (bench/Timing.h): our
i686 conversion under Wine, our imaging code built natively, libvips and GraphicsMagick through their C
interfaces on one thread and on their default threads, and Pillow (this script itself, started with --pillow).
Every round runs each job once on each contender before the next round starts, so a slow spell of a shared
machine falls on all of them alike.
"""
import os
import statistics
import subprocess
import sys

SCREEN = (1920, 1200)

# name, picture, fitted into the screen (else stretched)
JOBS = [
    ("smooth 6000x4000 JPEG 4:4:4, stretch", "photo-6000x4000.jpg", False),
    ("smooth 6000x4000 JPEG 4:4:4, fit", "photo-6000x4000.jpg", True),
    ("camera 6000x4000 JPEG 4:2:0, stretch", "camera-6000x4000.jpg", False),
    ("4000x3000 PNG, stretch", "photo-4000x3000.png", False),
    ("1200x750 JPEG, enlarged", "photo-1200x750.jpg", False),
    ("2560x1600 JPEG 4:2:0, mild scale", "mild-2560x1600.jpg", False),
]
SIZES = {"photo-6000x4000.jpg": (6000, 4000), "camera-6000x4000.jpg": (6000, 4000),
         "photo-4000x3000.png": (4000, 3000), "photo-1200x750.jpg": (1200, 750), "mild-2560x1600.jpg": (2560, 1600)}
MEMORY_JOBS = [JOBS[0], JOBS[2], JOBS[3]]
RESAMPLE_PICTURE = "photo-6000x4000.jpg"


def fitted(picture, fit):
    """The target size: the screen, or the picture fitted into it by the smaller factor (halves to even)."""
    if not fit:
        return SCREEN
    width, height = SIZES[picture]
    fx, fy = SCREEN[0] / width, SCREEN[1] / height
    return (SCREEN[0], round(height * fx)) if fx < fy else (round(width * fy), SCREEN[1])


class Contender:
    """A benchmark process answering commands: one line in, its lines and "end" out."""

    def __init__(self, command, env=None):
        self.process = subprocess.Popen(command, stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True,
                                        env={**os.environ, **(env or {})})
        self.read_answer("ready")

    def read_answer(self, last="end"):
        lines = []
        while True:
            line = self.process.stdout.readline()
            if not line:
                raise RuntimeError(f"{self.process.args} ended")
            line = line.strip()
            if line == last:
                return lines
            if line.startswith("error "):
                raise RuntimeError(f"{self.process.args}: {line}")
            lines.append(line)

    def ask(self, *words):
        self.process.stdin.write(" ".join(str(w) for w in words) + "\n")
        self.process.stdin.flush()
        return self.read_answer()

    def ms(self, *words):
        return float(next(line.split()[1] for line in self.ask(*words) if line.startswith("ms ")))

    def stages(self, *words):
        return {line.split()[1]: float(line.split()[2]) for line in self.ask(*words) if line.startswith("stage ")}

    def close(self):
        self.process.stdin.write("quit\n")
        self.process.stdin.flush()
        self.process.wait()


def contenders(repo):
    """name -> how to start it. The threads of the libraries' defaults are every core."""
    wine = [f"{repo}/tools/wine-run.sh", "./changer_bench.exe"]
    one = {"OMP_NUM_THREADS": "1", "VIPS_CONCURRENCY": "1"}
    every = {"OMP_NUM_THREADS": str(os.cpu_count()), "VIPS_CONCURRENCY": str(os.cpu_count())}
    return {
        "ours i686": (wine, one),
        "ours native": (["./bench-native"], one),
        "libvips 1": (["./peers", "vips", "1"], one),
        "libvips N": (["./peers", "vips", "0"], every),
        "GM 1": (["./peers", "gm", "1"], one),
        "GM N": (["./peers", "gm", "0"], every),
        "Pillow": ([sys.executable, __file__, "--pillow"], one),
    }


def job_words(name, picture, fit):
    size = fitted(picture, fit)
    if name.startswith("ours"):
        return ("job", picture, "fit" if fit else "stretch", *SCREEN)
    return ("job", picture, *size)


class Table:
    """Times per row and column over the rounds."""

    def __init__(self):
        self.times = {}

    def add(self, row, column, ms):
        self.times.setdefault((row, column), []).append(ms)

    def median(self, row, column):
        return statistics.median(self.times[(row, column)])

    def minimum(self, row, column):
        return min(self.times[(row, column)])

    def print(self, rows, columns):
        print(f"{'':40}" + "".join(f"{c:>17}" for c in columns))
        for row in rows:
            cells = []
            for column in columns:
                cells.append(f"{self.median(row, column):8.1f} ({self.minimum(row, column):6.1f})"
                             if (row, column) in self.times else "-")
            print(f"{row:40}" + "".join(f"{c:>17}" for c in cells))


def run_rounds(repo, rounds):
    started = {name: Contender(*how) for name, how in contenders(repo).items()}
    i686, native = started["ours i686"], started["ours native"]
    jobs, extra, steps = Table(), Table(), Table()
    try:
        for _ in range(rounds):
            for name, picture, fit in JOBS:
                for contender_name, contender in started.items():
                    jobs.add(name, contender_name, contender.ms(*job_words(contender_name, picture, fit)))
                jobs.add(name, "i686 decode", i686.ms("decode", picture))
                jobs.add(name, "native decode", native.ms("decode", picture))
                for stage, ms in i686.stages("steps", picture, "fit" if fit else "stretch", *SCREEN).items():
                    steps.add(name, stage, ms)
            for contender_name, contender in started.items():
                extra.add("6000x4000 resample alone", contender_name,
                          contender.ms("resample", RESAMPLE_PICTURE, *SCREEN))
            for label, contender in (("ours i686", i686), ("ours native", native)):
                extra.add("1920x1200 bitmap save", label, contender.ms("save", *SCREEN))
                extra.add("1920x1200 plain write", label, contender.ms("write", *SCREEN))
    finally:
        for contender in started.values():
            contender.close()
    return jobs, extra, steps


def rss_kb(pid, field):
    with open(f"/proc/{pid}/status") as status:
        return next(int(line.split()[1]) for line in status if line.startswith(field + ":"))


def memory_peaks(repo):
    """MB that each contender's resident memory rose by during one job, in a fresh process."""
    peaks = {}
    for name, picture, fit in MEMORY_JOBS:
        for contender_name, how in contenders(repo).items():
            contender = Contender(*how)
            pid = contender.process.pid
            before = rss_kb(pid, "VmRSS")
            with open(f"/proc/{pid}/clear_refs", "w") as refs:
                refs.write("5")  # the peak starts again from here
            contender.ms(*job_words(contender_name, picture, fit))
            peaks[(name, contender_name)] = (rss_kb(pid, "VmHWM") - before) / 1024
            contender.close()
    return peaks


def ratio_line(label, value, goal):
    verdict = "met" if value <= goal else "NOT met"
    print(f"  {label:66} {value:5.2f}  (goal <= {goal}, {verdict})")


def print_goals(jobs, extra):
    med = jobs.median
    print("\nratios of medians:")
    for job in (JOBS[0][0], JOBS[2][0]):
        ratio_line(f"{job}: i686 / i686 decode", med(job, "ours i686") / med(job, "i686 decode"), 1.15)
        ratio_line(f"{job}: i686 / libvips 1", med(job, "ours i686") / med(job, "libvips 1"), 0.5)
        ratio_line(f"{job}: native / libvips 1", med(job, "ours native") / med(job, "libvips 1"), 0.45)
    png = JOBS[3][0]
    best = min(("libvips 1", "GM 1", "Pillow"), key=lambda peer: med(png, peer))
    ratio_line(f"{png}: i686 / {best}", med(png, "ours i686") / med(png, best), 0.8)
    ratio_line(f"{png}: native / {best}", med(png, "ours native") / med(png, best), 0.6)
    save, write = "1920x1200 bitmap save", "1920x1200 plain write"
    ratio_line("bitmap save / plain write, i686", extra.median(save, "ours i686") / extra.median(write, "ours i686"),
               1.3)
    alone = "6000x4000 resample alone"
    for ours in ("ours i686", "ours native"):
        for peer in ("libvips 1", "libvips N"):
            print(f"  resample alone, {ours} / {peer}: {extra.median(alone, ours) / extra.median(alone, peer):.2f}")


def main(repo, rounds):
    jobs, extra, steps = run_rounds(repo, rounds)
    columns = ["ours i686", "ours native", "i686 decode", "native decode", "libvips 1", "libvips N", "GM 1",
               "GM N", "Pillow"]
    print(f"ms to a {SCREEN[0]}x{SCREEN[1]} bitmap: median (minimum) of {rounds} interleaved rounds, each run timed "
          "inside its own process.")
    print("ours i686: TWallpaperChanger::ConvertToBitmap under Wine; ours native: the imaging code alone; decode: "
          "libjpeg-turbo's (libpng's) decode of the file in that build;")
    print("libvips and GraphicsMagick (GM) through their C interfaces, 1 thread or every core (N); libvips writes "
          "4 bands as its raw format, GM and Pillow a Windows bitmap. GM works in 16 bits per sample.")
    jobs.print([job[0] for job in JOBS], columns)
    print()
    extra.print(["6000x4000 resample alone", "1920x1200 bitmap save", "1920x1200 plain write"],
                [c for c in columns if "decode" not in c])
    print("\nsteps of ours i686, each timed apart (the picture is decoded during the resampling):")
    steps.print([job[0] for job in JOBS], ["load", "raster", "resample", "save"])
    print_goals(jobs, extra)
    peaks = memory_peaks(repo)
    print("\nMB of resident memory that one job adds to a fresh process at its peak:")
    names = list(contenders(repo))
    print(f"{'':40}" + "".join(f"{n:>13}" for n in names))
    for name, _, _ in MEMORY_JOBS:
        print(f"{name:40}" + "".join(f"{peaks[(name, n)]:13.1f}" for n in names))


def serve_pillow():
    """Pillow as a contender: the same commands as the others, timed in this process."""
    import time
    from PIL import Image
    lanczos = Image.Resampling.LANCZOS
    decoded = {}

    def timed(work):
        start = time.perf_counter()
        work()
        return (time.perf_counter() - start) * 1000

    def job(picture, size):
        image = Image.open(picture)
        image.load()
        image.resize(size, lanczos).convert("RGBA").save("pillow.bmp", "BMP")

    print("ready", flush=True)
    for line in sys.stdin:
        words = line.split()
        if not words or words[0] == "quit":
            break
        size = (int(words[2]), int(words[3]))
        if words[0] == "job":
            ms = timed(lambda: job(words[1], size))
        else:
            if words[1] not in decoded:
                decoded[words[1]] = Image.open(words[1]).convert("RGBA")
            ms = timed(lambda: decoded[words[1]].resize(size, lanczos))
        print(f"ms {ms:.2f}\nend", flush=True)


if __name__ == "__main__":
    if sys.argv[1:] == ["--pillow"]:
        serve_pillow()
    else:
        main(sys.argv[1], int(sys.argv[2]))
