# Vantrel: `make run` builds and starts it, `make test` builds and runs every test.
BUILD ?= build
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc)
CTEST_ARGS ?=

.PHONY: all deps configure build run test demo bench format install clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/src/app/vantrel

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) $(CTEST_ARGS)

demo: build
	./$(BUILD)/tools/replay/vantrel-replay --config /nonexistent/config.ini --summary < tools/replay/gear-walk.txt
	@echo "The same walk through the virtual shifter (--output shifter):"
	./$(BUILD)/tools/replay/vantrel-replay --config /nonexistent/config.ini --summary --output shifter < tools/replay/gear-walk.txt
	@echo "The same walk through a dog-leg gate (tools/replay/dog-leg.ini: map=R,1,2,3,4,5,-,-):"
	./$(BUILD)/tools/replay/vantrel-replay --config tools/replay/dog-leg.ini --summary < tools/replay/gear-walk.txt
	@echo "The same walk for a game that shifts up with e and down with q (tools/replay/sequential.ini):"
	./$(BUILD)/tools/replay/vantrel-replay --config tools/replay/sequential.ini --summary < tools/replay/gear-walk.txt

bench: build
	@scripts/run-bench.sh $(BUILD)

install: build
	cmake --install $(BUILD)

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD)
