# The two commands of the README: `make run` and `make test`.
# Only run, test, test-asan, bench, fuzz and deps install packages; plain
# `make` (build) never calls apt.
BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
CMAKE_FLAGS ?= -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
# The sanitizer build is for finding faults, not for debugging them: -O1
# and no debug information keep it within a few minutes of the plain build.
ASAN_FLAGS ?= -G Ninja -DCMAKE_BUILD_TYPE=Sanitize -DCMAKE_CXX_FLAGS_SANITIZE=-O1 -DHUELARK_SANITIZE=ON
FUZZ_FLAGS ?= -G Ninja -DCMAKE_BUILD_TYPE=Sanitize -DCMAKE_CXX_FLAGS_SANITIZE="-O1 -g" \
	-DCMAKE_CXX_COMPILER=clang++ -DHUELARK_FUZZ=ON -DBUILD_TESTING=OFF
JOBS ?= $(shell nproc)
CTEST = ctest --output-on-failure -j $(JOBS) --timeout 300

.PHONY: all deps configure build run test test-asan bench fuzz screenshots deb clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

configure: $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: deps
	@$(MAKE) --no-print-directory build
	$(BUILD)/src/gui/huelark

test: deps
	@$(MAKE) --no-print-directory build
	cd $(BUILD) && $(CTEST)

# Every test again, built with AddressSanitizer and UndefinedBehaviorSanitizer
# in its own folder; any report fails the test that caused it.
test-asan: deps
	@[ -f $(ASAN_BUILD)/build.ninja ] || cmake -S . -B $(ASAN_BUILD) $(ASAN_FLAGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && $(CTEST)

bench:
	@scripts/install-deps --peers
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS) -DHUELARK_BENCH=ON
	cmake --build $(BUILD) -j $(JOBS)
	@scripts/bench

# One libFuzzer target per reader of outside data, each run for
# FUZZ_SECONDS (default 60) from its starting inputs in tests/fuzz/.
fuzz:
	@scripts/install-deps --fuzz
	@[ -f $(FUZZ_BUILD)/build.ninja ] || cmake -S . -B $(FUZZ_BUILD) $(FUZZ_FLAGS)
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target huelark_fuzzers
	@BUILD=$(FUZZ_BUILD) scripts/fuzz

# A Debian package of the install tree (CPack), written into $(BUILD)/.
deb: deps
	@$(MAKE) --no-print-directory build
	cd $(BUILD) && cpack -G DEB

screenshots: build
	@scripts/screenshots

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
