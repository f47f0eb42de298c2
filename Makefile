# SPDX-License-Identifier: GPL-3.0-or-later
# Padloom: set-up, build, run, test. See README.md.
BUILD      ?= build
TSAN_BUILD ?= build-tsan
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 30
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?=
# ccache stores paths relative to the checkout, so clones and worktrees share its hits.
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := 1
XVFB       := xvfb-run -a -s "-screen 0 1920x1080x24 -nolisten tcp"
DEMO_PRESET := resources/presetexamples/Desktop Navigation.txt
DEMO_SCRIPT := resources/demo/desktop-navigation.replay

DEB_BUILD  ?= build-deb

.PHONY: all bootstrap configure build run test test-threads test-sanitized test-wayland bench fuzz deb clean

all: build

bootstrap:
	@scripts/bootstrap

configure: bootstrap
	@# The benchmarks are built with everything else, so that a change that breaks them fails the build.
	@cmake -S . -B $(BUILD) -G Ninja -DPADLOOM_WERROR=ON -DPADLOOM_BUILD_BENCH=ON $(CMAKE_ARGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# Starts the desktop app; without a desktop session, shows the engine at work instead.
run: build
	@if [ -x $(BUILD)/padloom ] && { [ -n "$$DISPLAY" ] || [ -n "$$WAYLAND_DISPLAY" ]; }; then \
	  exec $(BUILD)/padloom; \
	elif [ -x $(BUILD)/padloom ]; then \
	  echo "Padloom is a desktop app and needs a desktop session (no DISPLAY or WAYLAND_DISPLAY is set)."; \
	  echo "Here is instead what the engine posts for the example preset \"$(DEMO_PRESET)\" and the script $(DEMO_SCRIPT):"; \
	  echo "each script line that makes something happen, then the events it posts, each with a plain reading."; \
	  echo; \
	  $(BUILD)/padloomctl replay --explain "$(DEMO_PRESET)" "$(DEMO_SCRIPT)"; \
	else \
	  $(BUILD)/padloomctl --help; \
	fi

# The threading tests run under ThreadSanitizer in a build folder of their own.
test-threads: bootstrap
	@cmake -S . -B $(TSAN_BUILD) -G Ninja -DPADLOOM_WERROR=ON -DPADLOOM_SANITIZE=thread \
	  -DPADLOOM_BUILD_DESKTOP=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(TSAN_BUILD) -j $(JOBS) --target test_threads
	@TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" SDL_VIDEODRIVER=dummy \
	  $(TSAN_BUILD)/tests/threads/test_threads --gtest_brief=1

# The unit tests that need no display, and padloomctl check over the fuzz corpus, under
# AddressSanitizer and UBSan in a build folder of their own; the first report stops a program.
# Unoptimised with line tables only: it builds about four times faster than -O2 -g. The programs
# run side by side, each into its own log, which is shown when it fails.
SANITIZED_TARGETS := test_preset test_engine test_tools test_app padloomctl
SANITIZER_ENV := ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1 \
  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=dummy
test-sanitized: bootstrap
	@cmake -S . -B $(ASAN_BUILD) -G Ninja -DPADLOOM_WERROR=ON -DPADLOOM_SANITIZE=address,undefined \
	  -DPADLOOM_BUILD_DESKTOP=OFF -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DCMAKE_C_FLAGS_DEBUG=-g1 >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS) --target $(SANITIZED_TARGETS)
	@echo "== $(filter test_%,$(SANITIZED_TARGETS)) and padloomctl check over the fuzz corpus, under AddressSanitizer and UBSan"; \
	for t in $(filter test_%,$(SANITIZED_TARGETS)); do \
	  ( $(SANITIZER_ENV) $(ASAN_BUILD)/tests/$$t --gtest_brief=1 > $(ASAN_BUILD)/$$t.log 2>&1; \
	    echo $$? > $(ASAN_BUILD)/$$t.status ) & \
	done; \
	$(SANITIZER_ENV) $(ASAN_BUILD)/padloomctl check tests/fuzz/corpus/*/* > $(ASAN_BUILD)/corpus.log 2>&1; \
	corpus=$$?; wait; failed=0; \
	for t in $(filter test_%,$(SANITIZED_TARGETS)); do \
	  if [ "$$(cat $(ASAN_BUILD)/$$t.status)" != 0 ]; then cat $(ASAN_BUILD)/$$t.log; echo "$$t failed"; failed=1; fi; \
	done; \
	if [ $$corpus -gt 1 ]; then tail -n 40 $(ASAN_BUILD)/corpus.log; echo "padloomctl check ended with status $$corpus"; failed=1; fi; \
	exit $$failed

# Every test but the compositors'; CTest's summary line comes last.
test: build test-threads test-sanitized
	@scripts/check-layout
	@cd $(BUILD) && $(XVFB) ctest --output-on-failure -j $(JOBS) -LE wayland

# Following the focused program inside real headless compositors (sway, KWin, GNOME Shell), which
# this target installs first (about 1 GB of packages).
test-wayland:
	@scripts/bootstrap wayland
	@$(MAKE) --no-print-directory build
	@cd $(BUILD) && ctest --output-on-failure -L wayland

bench: bootstrap
	@cmake -S . -B build-bench -G Ninja -DPADLOOM_BUILD_BENCH=ON -DPADLOOM_BUILD_TESTS=OFF \
	  -DPADLOOM_BUILD_DESKTOP=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build build-bench -j $(JOBS) --target padloom_bench
	@build-bench/bench/padloom_bench
	@# The memory and list benchmarks run the desktop shell, so they are built in the desktop build folder.
	@cmake -S . -B $(BUILD) -G Ninja -DPADLOOM_WERROR=ON -DPADLOOM_BUILD_BENCH=ON $(CMAKE_ARGS) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS) --target padloom_memory_bench padloom_list_bench
	@$(XVFB) dbus-run-session -- $(BUILD)/bench/padloom_memory_bench
	@$(XVFB) dbus-run-session -- $(BUILD)/bench/padloom_list_bench

# Builds the libFuzzer targets with clang and runs each for FUZZ_SECONDS from its seed corpus;
# what they learn stays in $(FUZZ_BUILD)/work, crashing inputs go to $(FUZZ_BUILD)/artifacts.
fuzz: bootstrap
	@cmake -S tests/fuzz -B $(FUZZ_BUILD) -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS)
	@for t in preset_document bind_text bind_text_scan; do \
	  mkdir -p $(FUZZ_BUILD)/work/$$t $(FUZZ_BUILD)/artifacts; \
	  echo "== fuzz_$$t for $(FUZZ_SECONDS) s"; \
	  $(FUZZ_BUILD)/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -close_fd_mask=1 -timeout=10 \
	    -dict=tests/fuzz/$$t.dict -artifact_prefix=$(FUZZ_BUILD)/artifacts/$$t- \
	    $(FUZZ_BUILD)/work/$$t tests/fuzz/corpus/$$t > $(FUZZ_BUILD)/fuzz_$$t.log 2>&1; \
	  status=$$?; tail -n 2 $(FUZZ_BUILD)/fuzz_$$t.log; \
	  if [ $$status -ne 0 ]; then echo "fuzz_$$t found a fault: see $(FUZZ_BUILD)/fuzz_$$t.log"; exit 1; fi; \
	done

# The Debian package, built for /usr in a folder of its own with Debian's hardening flags, then
# its contents, control fields, metainfo and lintian's verdict checked.
deb: bootstrap
	@export DEB_BUILD_MAINT_OPTIONS=hardening=+all; \
	cmake -S . -B $(DEB_BUILD) -G Ninja -DPADLOOM_WERROR=ON -DPADLOOM_BUILD_TESTS=OFF \
	  -DCMAKE_BUILD_TYPE=None -DCMAKE_INSTALL_PREFIX=/usr \
	  -DCMAKE_C_FLAGS="$$(dpkg-buildflags --get CFLAGS) $$(dpkg-buildflags --get CPPFLAGS)" \
	  -DCMAKE_CXX_FLAGS="$$(dpkg-buildflags --get CXXFLAGS) $$(dpkg-buildflags --get CPPFLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$$(dpkg-buildflags --get LDFLAGS)" >/dev/null
	@cmake --build $(DEB_BUILD) -j $(JOBS)
	@rm -f $(DEB_BUILD)/padloom_*.deb
	@cd $(DEB_BUILD) && cpack -G DEB > cpack.log 2>&1 || { cat cpack.log; exit 1; }
	@packaging/check-deb $(DEB_BUILD)/padloom_*.deb

clean:
	rm -rf $(BUILD) $(TSAN_BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(DEB_BUILD) build-bench

# Pictures of both windows for the README, taken under Xvfb: docs/screenshots/*.png.
.PHONY: screenshots
screenshots: build
	@mkdir -p docs/screenshots
	@$(XVFB) $(BUILD)/padloom_screenshots docs/screenshots
