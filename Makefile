# Lintwick: the commands a developer and CI need. Each target installs the
# Debian packages it is missing first.

JOBS      ?= 2
BUILD     ?= build
WEB_BUILD ?= build-web
SAN_BUILD ?= build-sanitize
GENERATOR := -G Ninja
# Rebuilds in several checkouts of the tree share one compiler cache when the
# machine has ccache; nothing depends on it.
LAUNCHER  := $(if $(shell command -v ccache),-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
FUZZ_SECONDS ?= 20


.PHONY: web web-deps
.PHONY: all deps configure build test test-sanitize fuzz fuzz-long reliability-matrix long-run kill-test bench bench-game play package install screenshots format clean
.PHONY: serve-web test-web bench-web

all: build

deps:
	@scripts/install-deps.sh

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) $(GENERATOR) $(LAUNCHER) -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: $(BUILD)/build.ninja

build: deps configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD) -j $(JOBS) --output-on-failure --timeout 300

# The tests and the fuzz targets under AddressSanitizer and
# UndefinedBehaviorSanitizer, built with clang in a folder of their own. Every
# fuzz target runs for a short while on its seed corpus as part of the tests.
$(SAN_BUILD)/build.ninja: | deps
	CC=clang CXX=clang++ cmake -S . -B $(SAN_BUILD) $(GENERATOR) $(LAUNCHER) -DCMAKE_BUILD_TYPE=Debug \
	  -DZING_SANITIZE=ON -DZING_FUZZ=ON -DZING_BENCH=OFF -DZING_FUZZ_SECONDS=$(FUZZ_SECONDS)

test-sanitize: deps $(SAN_BUILD)/build.ninja
	cmake --build $(SAN_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
	  ctest --test-dir $(SAN_BUILD) -j $(JOBS) --output-on-failure --timeout 600

fuzz: test-sanitize

# Every fuzz target for FUZZ_SECONDS (default 60 here) each under the sanitizers, with a
# table of runs, corpus sizes and results.
FUZZ_LONG_SECONDS := $(if $(filter command line environment,$(origin FUZZ_SECONDS)),$(FUZZ_SECONDS),60)
fuzz-long: deps $(SAN_BUILD)/build.ninja
	cmake --build $(SAN_BUILD) -j $(JOBS)
	scripts/fuzz-long.sh $(SAN_BUILD) $(FUZZ_LONG_SECONDS)

# The whole damaged-file matrix against the real program (a few minutes).
reliability-matrix: build
	tests/reliability/damaged_files.sh $(BUILD)/lintwick $(BUILD)/data full

# The real program through all 100 levels from a demo, in a private X server:
# under the sanitizers with leak checking, then in the normal build for the
# memory figures (a few minutes; not part of the tests).
long-run: build deps $(SAN_BUILD)/build.ninja
	cmake --build $(SAN_BUILD) -j $(JOBS) --target lintwick demogen pak_data
	nice tests/reliability/long_run.sh $(SAN_BUILD)
	nice tests/reliability/long_run.sh $(BUILD)

# SIGKILL inside the program's saves, KILL_TRIES times (KILL_SEED repeats a run).
KILL_TRIES ?= 200
KILL_SEED ?=
kill-test: build deps
	nice tests/reliability/kill_while_saving.sh $(BUILD) $(KILL_TRIES) $(KILL_SEED)

bench: build
	@for b in $(BUILD)/bench/*_bench; do echo "== $$b"; $$b --benchmark_min_time=0.2; done

# The game's own figures: start-up, idle cost, the play field's frame and the
# resident memory at the start screen (in a private X server).
bench-game: build
	@$(BUILD)/bench/shell_bench
	@for b in $(BUILD)/bench/gamescreen_bench; do if [ -x $$b ]; then $$b; fi; done
	@bench/start_screen_memory.sh $(BUILD)/lintwick $(BUILD)/tests/e2e/xprobe

# The web build's page, for a browser on this machine (Ctrl+C ends it).
WEB_SITE ?= build-web/site
WEB_PORT ?= 8080
serve-web: web
	@echo "Lintwick is at http://127.0.0.1:$(WEB_PORT)/ (Ctrl+C stops the server)"
	@python3 -m http.server $(WEB_PORT) --bind 127.0.0.1 --directory $(WEB_SITE)

# The web build played in headless Chromium against the desktop program.
test-web: build web
	nice tests/web/run.sh $(BUILD) $(WEB_SITE)

# The web build's figures: download, first picture, start link, frame time
# against the desktop's.
bench-web: build web
	@bench/web/run.sh $(BUILD) $(WEB_SITE)

play: build
	cd $(BUILD) && ./lintwick

# The Debian package build/lintwick_<version>_<arch>.deb (install it with
# apt install ./build/lintwick_*.deb).
package: build
	cmake --build $(BUILD) --target package

# Installs below PREFIX (default /usr/local; root needed there).
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# The README's pictures, made from the real game in a private X server.
screenshots: build
	scripts/screenshots.sh $(BUILD)

# The game as a static web page in $(WEB_BUILD)/site/, built with Debian's
# Emscripten; the C libraries come from Debian's source packages and are
# built once into $(WEB_BUILD)/prefix. The game data and icons come from the
# native build.
web-deps:
	@scripts/web-deps.sh

web: deps configure web-deps
	cmake --build $(BUILD) -j $(JOBS) --target pak_data artgen_icons
	JOBS=$(JOBS) scripts/web-build.sh $(BUILD) $(WEB_BUILD)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(SAN_BUILD) $(WEB_BUILD)
