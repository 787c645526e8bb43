# The two everyday commands (see README.md): `make run` and `make test`. Both install what
# is missing first, then configure and build in ./build.
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_ARGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all deps configure build run test bench package lint-glossary clean

all: build

deps:
	@sh scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD) $(CMAKE_ARGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/ui/qorin

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# Speed of a lookup pass, through the engine and through the real window (offscreen).
bench: build
	QT_QPA_PLATFORM=offscreen $(BUILD)/bench/qorin_bench

# A Debian package of the program, its desktop entry and its icon, in $(BUILD)/.
package: build
	cd $(BUILD) && cpack -G DEB

# Spelling check of the glossary for maintainers (hunspell, Polish and Spanish).
lint-glossary:
	@sh scripts/install-deps hunspell hunspell-pl hunspell-es python3
	python3 tools/lint-glossary

clean:
	rm -rf $(BUILD)
