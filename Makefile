# Front door: make test | test-slow | build | release | run | bench | fuzz | screenshots | clean
# Works from any directory: make -C path/to/packwright32 test

ROOT := $(patsubst %/,%,$(dir $(abspath $(lastword $(MAKEFILE_LIST)))))
SCRIPTS := $(ROOT)/scripts

.NOTPARALLEL:
.PHONY: all setup build test test-slow release run bench fuzz screenshots clean

all: build

setup:
	@$(SCRIPTS)/setup.sh

build: setup
	@$(SCRIPTS)/build.sh

test: build
	@$(SCRIPTS)/test.sh

# Saves at the 2 GiB limit: writes 2 GiB, so not part of `make test`.
test-slow: setup
	@$(SCRIPTS)/build.sh native -- native_tests
	@cd $(ROOT)/build/native && PACKWRIGHT_SLOW=1 ./native_tests --gtest_filter='SlowTest.*'

# Zips and installers of both Windows builds in build/release.
release: setup
	@$(SCRIPTS)/release.sh

run: setup
	@$(SCRIPTS)/run.sh

bench: setup
	@$(SCRIPTS)/bench.sh

fuzz: setup
	@$(SCRIPTS)/fuzz.sh $(FUZZ_SECONDS)

# The main window and the open menus photographed into docs/ (the README shows them).
screenshots: setup
	@$(SCRIPTS)/screenshots.sh
	@$(SCRIPTS)/screenshots-menus.sh
	@$(SCRIPTS)/screenshots-quickview.sh

clean:
	rm -rf $(ROOT)/build
