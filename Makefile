# Entry points: `make run` and `make test` set up, build and run from a clean clone.
BUILD      ?= build
ASANBUILD  ?= build-asan
FUZZBUILD  ?= build-fuzz
JOBS       ?= 2
# Seconds per fuzz target: `make test` runs each briefly, `make fuzz` as long as asked.
FUZZ_SECONDS ?= 600

.PHONY: setup build build-asan build-fuzz test test-plain test-asan test-fuzz fuzz run paint bench fuzz-diff clean deb notebook mutants

setup:
	@sh scripts/setup.sh

build: setup
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

build-asan: setup
	cmake -S . -B $(ASANBUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUOR_SANITIZE=ON
	cmake --build $(ASANBUILD) -j $(JOBS)

build-fuzz: setup
	cmake -S . -B $(FUZZBUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUOR_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(FUZZBUILD) -j $(JOBS)

test-plain: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# With clang 14 and Debian 12's glibc, LeakSanitizer's handling of dynamic TLS can die at exit
# ("Tracer caught signal 11") in runs that load the plot module; not a fault of ours, so its
# interception is turned off (tests/CMakeLists.txt and scripts/fuzz.sh do the same).
ASAN_TLS = ASAN_OPTIONS="$${ASAN_OPTIONS:+$$ASAN_OPTIONS:}intercept_tls_get_addr=0"

test-asan: build-asan
	cd $(ASANBUILD) && $(ASAN_TLS) ctest --output-on-failure -j $(JOBS)

test-fuzz: build-fuzz
	sh scripts/fuzz.sh $(FUZZBUILD) 20

test: test-plain test-asan test-fuzz

fuzz: build-fuzz
	sh scripts/fuzz.sh $(FUZZBUILD) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

# With a display the tour opens in scriptpad (F5 runs it); without one quor runs it.
run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	  $(BUILD)/scriptpad/scriptpad -u data/examples/util.txt data/examples/tour.txt; \
	else $(BUILD)/cli/quor -u data/examples/util.txt data/examples/tour.txt; fi

paint: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then $(BUILD)/paint/paint; \
	else echo "paint: no display here (DISPLAY and WAYLAND_DISPLAY are empty); start it on a desktop"; fi

# Registers the kernel of the build tree for this user and opens the tour in the notebook.
notebook: build
	@sh scripts/notebook.sh $(BUILD)

bench: build
	@sh scripts/setup.sh lua5.4 bc python3
	sh bench/run.sh $(BUILD)

# Compares N random programs (default 20000) on the fast path and the literal algorithms:
# make fuzz-diff N=100000 [SEED=1]
N    ?= 20000
SEED ?= 100000
fuzz-diff: build
	$(BUILD)/tests/fuzzdiff $(N) $(SEED)

# The Debian package $(BUILD)/quor_VERSION_ARCH.deb of the plain build, then lintian's
# verdict on it (errors fail).
deb: build
	rm -f $(BUILD)/quor_*.deb
	cd $(BUILD) && cpack -G DEB
	lintian --fail-on error $(BUILD)/quor_*.deb

# Mutation testing, in its own build dir (not part of `make test`):
# make mutants [FILES="engine/numtext.cpp plot/moves.cpp"] [N=120] [SEED=1]
# N and SEED count here only when given (their defaults above are fuzz-diff's).
mutants: setup
	@sh scripts/setup.sh python3-clang-14 libclang1-14
	/usr/bin/python3 scripts/mutants.py $(if $(filter command line environment,$(origin N)),--n $(N)) \
	  $(if $(filter command line environment,$(origin SEED)),--seed $(SEED)) $(FILES)

clean:
	rm -rf $(BUILD) $(ASANBUILD) $(FUZZBUILD)
