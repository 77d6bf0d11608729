# Front door. `make run` and `make test` install what is missing, build, and go.
BUILD    ?= build
JOBS     ?= 2
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVIN_WERROR=ON
# `make test` also runs the suite under ASan and UBSan, and each fuzz target briefly.
SAN_BUILD ?= build-asan
SAN_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" \
             -DTARVIN_WERROR=ON -DTARVIN_SANITIZE=ON -DTARVIN_BENCH=OFF
SAN_ENV  = LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/lsan.supp:print_suppressions=0 UBSAN_OPTIONS=print_stacktrace=1
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 300

.PHONY: all deps configure build run test test-main test-asan test-fuzz bench fuzz clean

all: build

deps:
	@bash scripts/install-deps.sh

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

configure: $(BUILD)/CMakeCache.txt

build: deps configure
	cmake --build $(BUILD) -j$(JOBS)

run: build
	@bash scripts/run.sh $(BUILD)

test: test-main test-asan test-fuzz

test-main: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

test-asan: deps
	test -f $(SAN_BUILD)/CMakeCache.txt || cmake -S . -B $(SAN_BUILD) $(SAN_FLAGS)
	cmake --build $(SAN_BUILD) -j$(JOBS)
	cd $(SAN_BUILD) && $(SAN_ENV) ctest --output-on-failure -j$(JOBS)

test-fuzz: deps
	@bash fuzz/fuzz.sh $(FUZZ_BUILD) $(JOBS) smoke

fuzz: deps
	@bash fuzz/fuzz.sh $(FUZZ_BUILD) $(JOBS) $(FUZZ_SECONDS)

bench: build
	cmake --build $(BUILD) -j$(JOBS) --target bench_all
	@BENCH_TABLE=docs/bench.md bash bench/run.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(SAN_BUILD) $(FUZZ_BUILD)

# The sample host module: the example translation linked into a stub executable.
examples/Deutsch.exe: examples/Deutsch.trvx scripts/make-host-module.py
	python3 scripts/make-host-module.py $< $@ --lang 1031
