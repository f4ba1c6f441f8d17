# Everything starts here: `make demo` and `make test` set up a fresh Debian machine as needed.
.PHONY: all deps build native win64 win32 test test-locales unit e2e demo format clean

all: build

deps:
	@scripts/deps.sh

native: deps
	cmake --preset native >/dev/null
	cmake --build --preset native

# A build folder keeps the compilers and flags it was first configured with, whatever the toolchain
# file says later: one made with the posix-thread compilers (before the 32-bit build), or before
# the flags that make builds reproducible, starts anew.
define windows_build
	@if grep -qs -- '-posix$$' build/$(1)/CMakeCache.txt || \
	  { [ -f build/$(1)/CMakeCache.txt ] && ! grep -qs -- 'no-insert-timestamp' build/$(1)/CMakeCache.txt; }; then \
	  rm -rf build/$(1)/CMakeCache.txt build/$(1)/CMakeFiles; fi
	cmake --preset $(1) >/dev/null
	cmake --build --preset $(1)
endef

win64: deps
	$(call windows_build,win64)

win32: deps
	$(call windows_build,win32)

build: native win64 win32

# The unit tests, the packages (made once, signed with a throwaway certificate, into
# build/test-package) and the end-to-end tests, which install them.
test: build
	scripts/test.sh

# The chat round trips in every ANSI code page of tests/e2e/code-pages.txt (make test runs some).
test-locales: build
	scripts/with-display.sh scripts/e2e.sh --locales build/reports/locales

unit: native
	build/native/tests/unit/unit_tests

e2e: win64 win32
	scripts/with-display.sh scripts/e2e.sh

demo: build
	scripts/with-display.sh scripts/demo.sh

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build

# Fuzzing (clang, libFuzzer with ASan and UBSan) and native micro-benchmarks (Google Benchmark).
.PHONY: fuzz bench-native
FUZZ_SECONDS ?= 60

fuzz: deps
	FUZZ_SECONDS=$(FUZZ_SECONDS) scripts/fuzz.sh

bench-native: deps
	scripts/bench-native.sh

# Figures of the real programs under Wine, then the native hot-path benchmarks.
.PHONY: bench
bench: build
	scripts/with-display.sh scripts/bench-wine.sh
	scripts/bench-native.sh

# The release: a zip and an NSIS installer of each Windows build (win64, win32), and SHA256SUMS
# over them, in build/package/; signed when given SIGN_PFX (a PKCS#12 file) and SIGN_PASSWORD_FILE
# (a file holding its password), and time-stamped by the server SIGN_TIMESTAMP_URL if given (the
# packages then differ each time). `make e2e` installs those installers, so it needs them built
# first (`make test` makes its own). reproducible-check packs the last commit (with WORKTREE=1,
# plus this working tree's changes) twice, in two fresh clones in build/reproducible/, and compares
# the files byte for byte.
.PHONY: package reproducible-check

package: win64 win32
	TV_SIGN_PFX='$(SIGN_PFX)' TV_SIGN_PASSWORD_FILE='$(SIGN_PASSWORD_FILE)' \
	  TV_SIGN_TIMESTAMP_URL='$(SIGN_TIMESTAMP_URL)' scripts/package.sh

e2e: package

reproducible-check: deps
	scripts/reproducible-check.sh $(if $(WORKTREE),--worktree)

# Style: clang-format (.clang-format) over every tracked source, changing nothing; clang-tidy
# (.clang-tidy) over the product code that the native build compiles, with its compile commands
# (the Win32 side, src/app and src/platform/win32, is not in it; nor are the fakes). Both print
# only what they find and fail on it.
.PHONY: format-check tidy
TIDY_SOURCES = $(shell git ls-files 'src/*.cpp' | grep -v -e '^src/app/' -e '^src/platform/')

format-check: deps
	clang-format --dry-run --Werror $$(git ls-files '*.cpp' '*.h')

tidy: native
	@out=$$(clang-tidy -p build/native --quiet --warnings-as-errors='*' $(TIDY_SOURCES) 2>&1); \
	  rc=$$?; printf '%s\n' "$$out" | grep -v -e ' generated\.$$' -e '^$$'; exit $$rc
