# Padloom: set-up, build, run, test. See README.md.
BUILD      ?= build
TSAN_BUILD ?= build-tsan
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?=
XVFB       := xvfb-run -a -s "-screen 0 1920x1080x24 -nolisten tcp"
DEMO_PRESET := resources/presetexamples/Desktop Navigation.txt
DEMO_SCRIPT := resources/demo/desktop-navigation.replay

.PHONY: all bootstrap configure build run test test-threads bench clean

all: build

bootstrap:
	@scripts/bootstrap

configure: bootstrap
	@cmake -S . -B $(BUILD) -G Ninja -DPADLOOM_WERROR=ON $(CMAKE_ARGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# Starts the desktop app; without a desktop session, shows the engine at work instead.
run: build
	@if [ -x $(BUILD)/padloom ] && { [ -n "$$DISPLAY" ] || [ -n "$$WAYLAND_DISPLAY" ]; }; then \
	  exec $(BUILD)/padloom; \
	elif [ -x $(BUILD)/padloom ]; then \
	  echo "Padloom is a desktop app and needs a desktop session (no DISPLAY or WAYLAND_DISPLAY is set)."; \
	  echo "Here is instead what the engine posts for the example preset \"$(DEMO_PRESET)\" and the script $(DEMO_SCRIPT):"; \
	  echo; \
	  $(BUILD)/padloomctl replay "$(DEMO_PRESET)" "$(DEMO_SCRIPT)"; \
	else \
	  $(BUILD)/padloomctl --help; \
	fi

# The threading tests run under ThreadSanitizer in a build folder of their own.
test-threads: bootstrap
	@cmake -S . -B $(TSAN_BUILD) -G Ninja -DPADLOOM_WERROR=ON -DPADLOOM_SANITIZE=thread \
	  -DPADLOOM_BUILD_DESKTOP=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@if cmake --build $(TSAN_BUILD) --target help | grep -q 'test_threads'; then \
	  cmake --build $(TSAN_BUILD) -j $(JOBS) --target test_threads && \
	  TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" SDL_VIDEODRIVER=dummy $(TSAN_BUILD)/tests/threads/test_threads; \
	fi

# Every test; CTest's summary line comes last.
test: build test-threads
	@cd $(BUILD) && $(XVFB) ctest --output-on-failure -j $(JOBS)

bench: bootstrap
	@cmake -S . -B build-bench -G Ninja -DPADLOOM_BUILD_BENCH=ON -DPADLOOM_BUILD_TESTS=OFF \
	  -DPADLOOM_BUILD_DESKTOP=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build build-bench -j $(JOBS)
	@build-bench/bench/padloom_bench

clean:
	rm -rf $(BUILD) $(TSAN_BUILD) build-bench
