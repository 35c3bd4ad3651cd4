# Thin wrapper over CMake: every target installs what is missing first.
BUILD ?= build
JOBS ?= 2
SANITIZE ?= 0
FUZZ_SECONDS ?= 30

CMAKE_FLAGS := -DCMAKE_BUILD_TYPE=Debug
ifeq ($(SANITIZE),1)
  BUILD := build-sanitize
  CMAKE_FLAGS += -DZRM_SANITIZE=ON
endif

.PHONY: all deps configure build test demo release bench fuzz lint configure-package package fresh-check clean

all: build

deps:
	./scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j$(JOBS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

# Builds only what it runs: the window and the emulated instrument.
demo: configure
	./scripts/demo.sh $(BUILD)

# Every target optimised, with the warnings as errors: GCC at -O2 warns
# where the Debug build does not, so CI builds this too.
release: deps
	cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release
	cmake --build build-release -j$(JOBS)

bench: release
	./scripts/bench.sh build-release

# libFuzzer targets (clang), each run for FUZZ_SECONDS.
fuzz: deps
	BUILD=build-fuzz JOBS=$(JOBS) ./scripts/fuzz.sh $(FUZZ_SECONDS)

# The Debian package, built with Debian's own compiler and hardening flags,
# without the tests; lintian must find no error in it.
PACKAGE_BUILD := build-package
configure-package: deps
	DEB_BUILD_MAINT_OPTIONS=hardening=+all; export DEB_BUILD_MAINT_OPTIONS; \
	cmake -S . -B $(PACKAGE_BUILD) -DCMAKE_BUILD_TYPE=None -DZRM_BUILD_TESTS=OFF \
	  -DZRM_MANPAGES=ON -DCMAKE_INSTALL_PREFIX=/usr \
	  -DCMAKE_CXX_FLAGS="$$(dpkg-buildflags --get CXXFLAGS) $$(dpkg-buildflags --get CPPFLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$$(dpkg-buildflags --get LDFLAGS)"

package: configure-package
	cmake --build $(PACKAGE_BUILD) -j$(JOBS)
	cd $(PACKAGE_BUILD) && rm -f zrm48setup_*.deb && cpack -G DEB
	lintian --fail-on error $(PACKAGE_BUILD)/zrm48setup_*.deb

# The set-up on throwaway minimal Debian 12 roots (needs root).
fresh-check:
	./scripts/fresh-check.sh

# A style report, not a gate: the files clang-format (.clang-format) would
# lay out otherwise, then what clang-tidy's naming check (.clang-tidy, the
# rules of docs/HACKING.md) finds in the sources of the build. clang-tidy
# reads each file without the build's precompiled headers (GCC's, which
# clang cannot use), so a file that misses an include shows here too.
LINT_SOURCES := '^$(CURDIR)/(src|sim|tests|bench)/'
lint: build
	@echo "== clang-format: files laid out otherwise"
	@git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run 2>&1 | \
	  sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: warning:.*/\1/p' | sort | uniq -c || true
	@echo "== clang-tidy: readability-identifier-naming"
	@mkdir -p $(BUILD)/lint
	@sed -E 's/ -include [^ ]*cmake_pch\.hxx//g' $(BUILD)/compile_commands.json \
	  >$(BUILD)/lint/compile_commands.json
	@run-clang-tidy -p $(BUILD)/lint -j$(JOBS) -quiet -extra-arg=-Wno-unknown-warning-option \
	  $(LINT_SOURCES) 2>/dev/null | sed 's/\x1b\[[0-9;]*m//g' | grep 'warning:' | grep -v '_autogen/' | sort -u || true

clean:
	rm -rf build build-sanitize build-release build-fuzz build-package build-fresh
