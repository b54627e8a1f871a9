# Front door: make test | build | run | bench | fuzz | clean
# Works from any directory: make -C path/to/packwright32 test

ROOT := $(patsubst %/,%,$(dir $(abspath $(lastword $(MAKEFILE_LIST)))))
SCRIPTS := $(ROOT)/scripts

.NOTPARALLEL:
.PHONY: all setup build test run bench fuzz clean

all: build

setup:
	@$(SCRIPTS)/setup.sh

build: setup
	@$(SCRIPTS)/build.sh

test: build
	@$(SCRIPTS)/test.sh

run: setup
	@$(SCRIPTS)/run.sh

bench: setup
	@$(SCRIPTS)/bench.sh

fuzz: setup
	@$(SCRIPTS)/fuzz.sh $(FUZZ_SECONDS)

clean:
	rm -rf $(ROOT)/build
