# Keyholm: `make run` builds and starts the program, `make test` runs every test,
# `make install` (PREFIX, DESTDIR) installs it, `make package` makes a .deb.
# Both install what is missing first (Debian packages, through scripts/setup.sh).

SANITIZE ?= 0
ifeq ($(SANITIZE),1)
BUILD ?= build-asan
CMAKE_FLAGS += -DKEYHOLM_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
export ASAN_OPTIONS ?= detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS ?= print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS ?= suppressions=$(CURDIR)/scripts/lsan.supp
else
BUILD ?= build
CMAKE_FLAGS += -DCMAKE_BUILD_TYPE=RelWithDebInfo
endif
JOBS ?= $(shell nproc)
# make install PREFIX=/usr DESTDIR=/tmp/root installs below DESTDIR.
PREFIX ?= /usr/local

.PHONY: all setup configure build test run bench fuzz screenshots format clean install package

all: build

setup:
	@scripts/setup.sh

$(BUILD)/build.ninja: CMakeLists.txt
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

configure: setup $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

run: build
	@scripts/run.sh $(BUILD)/keyholm

bench: build
	@scripts/bench.sh $(BUILD)

fuzz:
	@KEYHOLM_FUZZ=1 scripts/setup.sh
	@scripts/fuzz.sh

screenshots: build
	@scripts/screenshots.sh $(BUILD)

# Only the two programs are built for these.
install: configure
	cmake --build $(BUILD) -j $(JOBS) --target keyholm keyholm-cli
	DESTDIR=$(DESTDIR) cmake --install $(BUILD) --prefix $(PREFIX)

package: configure
	cmake --build $(BUILD) -j $(JOBS) --target keyholm keyholm-cli
	cd $(BUILD) && cpack -G DEB

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build build-asan build-fuzz
