# The two commands a newcomer needs: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
# COUNTRY=es_MX (es_AR, es_CO, ...) builds the word database of that country's dictionary.
COUNTRY ?=
COUNTRY_DEPS := $(if $(filter-out es_ES,$(COUNTRY)),country)

.PHONY: all deps run-deps build test sanitize fuzz run bench clean package test-package test-countries

all: build

deps:
	@scripts/install-deps.sh build $(COUNTRY_DEPS)

run-deps:
	@scripts/install-deps.sh run $(COUNTRY_DEPS)

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS) $(if $(COUNTRY),-DVELMARA_DICTIONARY_COUNTRY=$(COUNTRY))

build: deps $(BUILD)/CMakeCache.txt
	$(if $(COUNTRY),cmake -S . -B $(BUILD) -DVELMARA_DICTIONARY_COUNTRY=$(COUNTRY))
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
	$(if $(COUNTRY),cmake -S . -B $(BUILD) -DVELMARA_DICTIONARY_COUNTRY=$(COUNTRY))
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
	cmake --build $(BUILD) -j $(JOBS) --target velmara-gui-bench velmara word_database
	GUI_BENCH=$(BUILD)/bin/velmara-gui-bench DESKTOP=$(BUILD)/bin/velmara bench/run-bench.sh $(BUILD)-bench

# The Debian package of everything `cmake --install` installs, in $(BUILD).
# Every Spanish-speaking country goes in: the other countries' dictionaries are fetched with npm
# and kept as differences from the database (once; later builds reuse them).
package: deps $(BUILD)/CMakeCache.txt
	@scripts/install-deps.sh package country
	cmake -S . -B $(BUILD) -DVELMARA_ALL_COUNTRIES=ON
	cmake --build $(BUILD) -j $(JOBS)
	rm -f $(BUILD)/velmara_*.deb
	cd $(BUILD) && cpack -G DEB

# lintian over the package, then the package unpacked into a scratch root and run by an ordinary
# user, every country included.
test-package: package
	tests/package/installed_package_test.sh $(lastword $(sort $(wildcard $(BUILD)/velmara_*.deb)))

# The databases of Mexico and Argentina against Spain's, from the countries' own dictionaries
# (fetched with npm), also loaded as differences from the build's database by velmara-check;
# skipped when they cannot be fetched.
test-countries:
	@scripts/install-deps.sh country
	python3 tests/scripts/countries_test.py --work $(BUILD)/countries \
	  $(if $(wildcard $(BUILD)/bin/velmara-check),--check $(BUILD)/bin/velmara-check)

clean:
	rm -rf $(BUILD) $(BUILD)-sanitize $(BUILD)-fuzz $(BUILD)-bench
