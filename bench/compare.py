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
    output = subprocess.run(command + [str(a) for a in args], check=True, capture_output=True, text=True).stdout
    return float(re.search(r"ms ([0-9.]+)", output).group(1))


def i686(*args):
    return ours([f"{REPO}/tools/wine-run.sh", "./bench.exe"], *args)


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


def main():
    rows = []
    for name, picture, fit, size in JOBS:
        mode = "fit" if fit else "stretch"
        rows.append((name, i686("job", picture, mode, *SCREEN, RUNS, "ours.bmp"),
                     native("job", picture, mode, *SCREEN, RUNS, "ours.bmp"),
                     pillow_job(picture, size), vips_job(picture, size),
                     tjbench_decode_ms(picture) if picture.endswith(".jpg") else None))
    rows.append(("6000x4000 resample alone", i686("resample", 6000, 4000, *SCREEN, RUNS),
                 native("resample", 6000, 4000, *SCREEN, RUNS), pillow_resample_alone(), None, None))

    print(f"min of {RUNS} runs, ms, one thread each; libvips is timed as a process (start-up included), "
          "and writes its own .v format")
    print(f"{'job':28}{'ours i686':>11}{'ours native':>13}{'Pillow':>9}{'libvips':>9}{'tj decode':>11}")
    show = lambda v: f"{v:.1f}" if v is not None else "-"
    for name, *values in rows:
        print(f"{name:28}" + "".join(f"{show(v):>{w}}" for v, w in zip(values, (11, 13, 9, 9, 11))))

    first, alone = rows[0], rows[-1]
    best_peer = min(first[3], first[4])
    print()
    for label, column in (("i686", 1), ("native", 2)):
        print(f"ours {label}: job 1 / best peer {first[column] / best_peer:.2f} (goal <= 0.5), "
              f"job 1 / libjpeg-turbo decode {first[column] / first[5]:.2f} (goal <= 2.2), "
              f"resample alone / Pillow resize {alone[column] / alone[3]:.2f} (goal <= 0.5)")


main()
