# The two commands a newcomer needs: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps run-deps build test sanitize fuzz run bench clean

all: build

deps:
	@scripts/install-deps.sh build

run-deps:
	@scripts/install-deps.sh run

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The engine and its tests with AddressSanitizer and UndefinedBehaviorSanitizer; the generated
# word database is left out (a million words through the sanitizers only slow it down).
sanitize: deps
	cmake -S . -B $(BUILD)-sanitize -DVELMARA_GUI=OFF -DVELMARA_SANITIZE=ON -DVELMARA_WORD_DATABASE=OFF -DCMAKE_BUILD_TYPE=Debug
	cmake --build $(BUILD)-sanitize -j $(JOBS)
	ctest --test-dir $(BUILD)-sanitize --output-on-failure -j $(JOBS)

# Every fuzz target for FUZZ_SECONDS each (60 by default), then a table of executions and crashes.
FUZZ_SECONDS ?= 60
fuzz:
	FUZZ_SECONDS=$(FUZZ_SECONDS) FUZZ_BUILD=$(BUILD)-fuzz scripts/fuzz.sh

# Builds everything, the word database included, then starts the desktop detector; without it
# (or without a display) checks our sample text in the terminal.
run: run-deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)
	@if [ -x $(BUILD)/bin/velmara ] && [ -n "$$DISPLAY" ]; then \
	  exec $(BUILD)/bin/velmara; \
	fi; \
	$(BUILD)/bin/velmara-check --db $(BUILD)/bin/palabrasbd --color=always resources/muestra.txt; \
	status=$$?; [ $$status -le 1 ] || exit $$status; \
	echo; \
	if [ -x $(BUILD)/bin/velmara ]; then \
	  echo "To start the desktop detector, run $(BUILD)/bin/velmara in a graphical session (or make run with DISPLAY set)."; \
	else \
	  echo "The desktop detector is not built yet (it needs Qt 6); once it is, make run starts $(BUILD)/bin/velmara."; \
	fi

# Speed beside Hunspell and Nuspell on the full word database and a large real text; a Release
# build of its own, so `make test` never builds the benchmark. The check through the window is
# timed from the desktop build, offscreen.
bench:
	@scripts/install-deps.sh run bench
	cmake -S . -B $(BUILD)-bench -DCMAKE_BUILD_TYPE=Release -DVELMARA_BENCH=ON -DVELMARA_GUI=OFF -DVELMARA_TESTS=OFF
	cmake --build $(BUILD)-bench -j $(JOBS)
	$(MAKE) deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target velmara-gui-bench word_database
	GUI_BENCH=$(BUILD)/bin/velmara-gui-bench bench/run-bench.sh $(BUILD)-bench

clean:
	rm -rf $(BUILD) $(BUILD)-sanitize $(BUILD)-fuzz $(BUILD)-bench
