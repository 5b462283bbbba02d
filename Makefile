# The two commands: `make run` and `make test`. Each installs what is missing first.
BUILD := build
NATIVE := build-native
FUZZ := build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_JOBS ?= 1
JOBS := $(shell nproc)

.PHONY: all bootstrap deps build native run test fuzz screenshot dist bench bench-panel soak clean

all: build

bootstrap:
	@tools/bootstrap.sh

deps: bootstrap
	@tools/build-deps.sh $(BUILD)/deps

# The toolchain file counts only at the first configure; named again, CMake warns that it went unused.
build: deps
	@cmake -S . -B $(BUILD) $(if $(wildcard $(BUILD)/CMakeCache.txt),,-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake) \
	   -Wno-dev >/dev/null
	@cmake --build $(BUILD) -j $(JOBS) -- --no-print-directory

native: bootstrap
	@CC=clang CXX=clang++ cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=RelWithDebInfo -Wno-dev >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS) -- --no-print-directory

run: build
	@if [ -n "$$DISPLAY" ]; then tools/wine-run.sh $(BUILD)/orlo.exe; \
	 else xvfb-run -a tools/wine-run.sh $(BUILD)/orlo.exe; fi

# Both suites run even when the first fails; the exit status tells whether any test failed.
test: build native
	@status=0; \
	 (cd $(NATIVE) && ctest --output-on-failure --timeout 900 -j $(JOBS)) || status=1; \
	 tools/with-display.sh sh -c 'cd $(BUILD) && ctest --output-on-failure --timeout 900' || status=1; \
	 exit $$status

# Every decoder's libFuzzer target for FUZZ_SECONDS each, FUZZ_JOBS at a time.
fuzz: bootstrap
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ) -DORLO_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo -Wno-dev >/dev/null
	@cmake --build $(FUZZ) -j $(JOBS) --target fuzz_all
	@tools/run-fuzz.sh $(FUZZ) $(FUZZ_SECONDS) $(FUZZ_JOBS)

screenshot: build
	@tools/with-display.sh tools/screenshot-help.sh $(BUILD)/orlo.hlp docs/help.png
	@tools/with-display.sh tools/screenshot-windows.sh $(BUILD)/shell_tests.exe docs

dist: build
	@rm -rf dist && mkdir -p dist/Muralia/collection
	@cp $(BUILD)/orlo.exe $(BUILD)/orlo.hlp dist/Muralia/
	@cp collection/*.jpg dist/Muralia/collection/ 2>/dev/null || true
	@echo "dist/Muralia is ready to zip"

# Times the conversion against libvips, GraphicsMagick, Pillow and libjpeg-turbo's decode (installs them when
# missing).
bench: build
	@bench/run.sh

# The control panel with 10,000 entries, and its preview of a large JPEG picture against the whole decode.
bench-panel: build
	@bench/panel.sh

# 1,000 changes on the control panel's timer, with handle, GDI, USER and memory figures every 100.
soak: build
	@bench/soak.sh

clean:
	rm -rf $(BUILD) $(NATIVE) $(FUZZ) build-bench dist
