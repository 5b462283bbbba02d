"""Runs every job on every contender in the current folder (build/bench) and prints times and ratios."""
import re
import subprocess
import sys
import time

from PIL import Image

REPO, RUNS = sys.argv[1], int(sys.argv[2])
SCREEN = (1920, 1200)
LANCZOS = Image.Resampling.LANCZOS

# name, picture, fitted into the screen (else stretched), target size
JOBS = [
    ("6000x4000 JPEG stretch", "photo-6000x4000.jpg", False, SCREEN),
    ("6000x4000 JPEG fit", "photo-6000x4000.jpg", True, (1800, 1200)),
    ("4000x3000 PNG stretch", "photo-4000x3000.png", False, SCREEN),
    ("1200x750 JPEG enlarge", "photo-1200x750.jpg", False, SCREEN),
]


def ours(command, *args):
    """The minimum time of our bench, and its stages (name -> ms) when it reports them."""
    output = subprocess.run(command + [str(a) for a in args], check=True, capture_output=True, text=True).stdout
    stages = {name: float(ms) for name, ms in re.findall(r"^stage (\S+) ([0-9.]+)$", output, re.M)}
    return float(re.search(r"^ms ([0-9.]+)$", output, re.M).group(1)), stages


def i686(*args):
    return ours([f"{REPO}/tools/wine-run.sh", "./changer_bench.exe"], *args)


def native(*args):
    return ours(["./bench-native"], *args)


def minimum_ms(work):
    best = float("inf")
    for _ in range(RUNS):
        start = time.perf_counter()
        work()
        best = min(best, (time.perf_counter() - start) * 1000)
    return best


def pillow_job(picture, size):
    def work():
        image = Image.open(picture)
        image.load()
        image.resize(size, LANCZOS).convert("RGBA").save("pillow.bmp", "BMP")
    return minimum_ms(work)


def pillow_resample_alone():
    image = Image.open("photo-6000x4000.jpg")
    image.load()
    return minimum_ms(lambda: image.resize(SCREEN, LANCZOS))


def vips_job(picture, size):
    with Image.open(picture) as image:
        width, height = image.size
    command = ["vips", "resize", picture, "vips.v", str(size[0] / width), "--vscale", str(size[1] / height),
               "--kernel", "lanczos3"]
    return minimum_ms(lambda: subprocess.run(command, check=True))


def tjbench_decode_ms(picture):
    output = subprocess.run(["tjbench", picture, "-bgrx", "-nowrite", "-benchtime", "1", "-warmup", "0.5", "-quiet"],
                            check=True, capture_output=True, text=True).stdout
    fields = output.strip().splitlines()[-1].split()
    width, height, mpixels_per_s = int(fields[-5]), int(fields[-4]), float(fields[-1])
    return width * height / 1e6 / mpixels_per_s * 1000


def i686_breakdown(stages):
    """The conversion's steps; a JPEG picture is decoded during the resampling."""
    return [("load", stages["load"]), ("into TBitmap32", stages["raster"]), ("resample", stages["resample"]),
            ("save", stages["save"])]


def native_breakdown(stages):
    return [("load", stages["load"]), ("resample", stages["resample"]), ("save", stages["save"])]


def show_breakdown(label, steps, whole, decode):
    parts = ", ".join(f"{name} {ms:.1f}" for name, ms in steps)
    total = sum(ms for _, ms in steps)
    print(f"  {label:7} {parts}  (steps {total:.1f}, whole {whole:.1f}; decode alone {decode:.1f})")


def main():
    rows, breakdowns = [], []
    for name, picture, fit, size in JOBS:
        mode = "fit" if fit else "stretch"
        ours_i686, i686_stages = i686("job", picture, mode, *SCREEN, RUNS)
        ours_native, native_stages = native("job", picture, mode, *SCREEN, RUNS, "ours.bmp")
        rows.append((name, ours_i686, ours_native, pillow_job(picture, size), vips_job(picture, size),
                     tjbench_decode_ms(picture) if picture.endswith(".jpg") else None))
        breakdowns.append((name, (i686_breakdown(i686_stages), ours_i686, i686_stages["decode"]),
                           (native_breakdown(native_stages), ours_native, native_stages["decode"])))
    rows.append(("6000x4000 resample alone", i686("resample", 6000, 4000, *SCREEN, RUNS)[0],
                 native("resample", 6000, 4000, *SCREEN, RUNS)[0], pillow_resample_alone(), None, None))

    print(f"min of {RUNS} runs, ms, one thread each. ours i686: TWallpaperChanger::ConvertToBitmap under Wine; "
          "ours native: the imaging code alone.")
    print("libvips is timed as a process (start-up included, about 30 ms), works on 3 channels and writes its own "
          ".v format; tjbench decodes into a warm buffer.")
    print(f"{'job':28}{'ours i686':>11}{'ours native':>13}{'Pillow':>9}{'libvips':>9}{'tj decode':>11}")
    show = lambda v: f"{v:.1f}" if v is not None else "-"
    for name, *values in rows:
        print(f"{name:28}" + "".join(f"{show(v):>{w}}" for v, w in zip(values, (11, 13, 9, 9, 11))))

    print("\nsteps, ms (each the minimum over the runs, timed apart from the whole):")
    for name, i686_steps, native_steps in breakdowns:
        print(name)
        show_breakdown("i686", *i686_steps)
        show_breakdown("native", *native_steps)

    first, alone = rows[0], rows[-1]
    best_peer = min(first[3], first[4])
    print()
    for label, column in (("i686", 1), ("native", 2)):
        print(f"ours {label}: job 1 / best peer {first[column] / best_peer:.2f} (goal <= 0.5), "
              f"job 1 / libjpeg-turbo decode {first[column] / first[5]:.2f} (goal <= 2.2), "
              f"resample alone / Pillow resize {alone[column] / alone[3]:.2f} (goal <= 0.5)")


main()
