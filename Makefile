# The two commands: `make run` and `make test`. Each installs what is missing first.
BUILD := build
NATIVE := build-native
JOBS := $(shell nproc)

.PHONY: all bootstrap deps build native run test screenshot dist bench clean

all: build

bootstrap:
	@tools/bootstrap.sh

deps: bootstrap
	@tools/build-deps.sh $(BUILD)/deps

build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -Wno-dev >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

native: bootstrap
	@CC=clang CXX=clang++ cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=RelWithDebInfo -Wno-dev >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS)

run: build
	@if [ -n "$$DISPLAY" ]; then tools/wine-run.sh $(BUILD)/orlo.exe; \
	 else xvfb-run -a tools/wine-run.sh $(BUILD)/orlo.exe; fi

test: build native
	@cd $(NATIVE) && ctest --output-on-failure -j $(JOBS)
	@tools/with-display.sh sh -c 'cd $(BUILD) && ctest --output-on-failure'

screenshot: build
	@tools/with-display.sh tools/screenshot.sh $(BUILD)/orlo.exe screenshot.png

dist: build
	@rm -rf dist && mkdir -p dist/Muralia/collection
	@cp $(BUILD)/orlo.exe dist/Muralia/
	@cp collection/*.jpg dist/Muralia/collection/ 2>/dev/null || true
	@echo "dist/Muralia is ready to zip"

# Times the conversion against Pillow, libvips and libjpeg-turbo (installs them when missing).
bench: build
	@bench/run.sh

clean:
	rm -rf $(BUILD) $(NATIVE) dist
