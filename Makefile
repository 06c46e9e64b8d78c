# Thin wrapper around CMake. `make test` and `make run` install what is missing first.
SHELL := /bin/bash
BUILD     ?= build
ASAN      ?= build-asan
JOBS      ?= $(shell nproc)
PACKAGES  := build-essential cmake ninja-build pkg-config \
             qt6-base-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools libgl-dev libfontconfig-dev \
             libgtest-dev libgmock-dev libbenchmark-dev \
             xvfb xauth libmodbus-dev mbpoll python3-pymodbus python3-serial python3-serial-asyncio socat iproute2 clang libclang-rt-14-dev \
             fonts-wqy-microhei \
             lintian desktop-file-utils appstream shared-mime-info scrot

.PHONY: deps testuser configure build deb asan test run screenshot fuzz bench clean

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  export DEBIAN_FRONTEND=noninteractive; \
	  apt-get update -qq && apt-get install -y -qq --no-install-recommends $$missing; \
	fi

# The ordinary user some tests also run as (root ignores exclusive modes and permissions),
# in the group that may use serial ports.
TEST_USER ?= corvane-test
testuser:
	@if [ "$$(id -u)" = 0 ] && ! id $(TEST_USER) >/dev/null 2>&1; then \
	  useradd --create-home --shell /usr/sbin/nologin --groups dialout $(TEST_USER); \
	fi

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# The Debian package of the program, $(BUILD)/corvane_<version>_<arch>.deb.
deb: build
	cd $(BUILD) && cpack -G DEB

$(ASAN)/build.ninja:
	cmake -S . -B $(ASAN) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCORVANE_SANITIZE=ON -DCORVANE_CORE_ONLY=ON -DCORVANE_BENCH=OFF

asan: deps $(ASAN)/build.ninja
	cmake --build $(ASAN) -j $(JOBS)

# Every test of the normal build (the package's check among them), then the core tests again
# under ASan and UBSan.
test: build deb asan testuser
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --test-dir $(ASAN) --output-on-failure -j $(JOBS) -L core

run: build
	@tools/run-demo.sh $(BUILD)

# The demo's searches on a virtual display, the window's picture in $(BUILD)/demo.png.
screenshot: build
	@xvfb-run -a -s "-screen 0 1280x800x24" tools/run-demo.sh $(BUILD) screenshot

bench: build
	@for b in $(BUILD)/bench/*; do [ -f "$$b" ] && [ -x "$$b" ] && "$$b"; done; true

fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCORVANE_CORE_ONLY=ON -DCORVANE_TESTS=OFF -DCORVANE_BENCH=OFF -DCORVANE_FUZZ=ON
	cmake --build build-fuzz -j $(JOBS)

clean:
	rm -rf $(BUILD) $(ASAN) build-fuzz
