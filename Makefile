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

.PHONY: all deps configure build test demo bench fuzz lint clean

all: build

deps:
	./scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j$(JOBS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

demo: build
	./scripts/demo.sh $(BUILD)

bench: deps
	cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release
	cmake --build build-release -j$(JOBS)
	./scripts/bench.sh build-release

# libFuzzer targets (clang), each run for FUZZ_SECONDS.
fuzz: deps
	BUILD=build-fuzz JOBS=$(JOBS) ./scripts/fuzz.sh $(FUZZ_SECONDS)

# A style report, not a gate: the files clang-format (.clang-format) would
# lay out otherwise, then what clang-tidy's naming check (.clang-tidy, the
# rules of docs/HACKING.md) finds in the sources of the build.
LINT_SOURCES := '^$(CURDIR)/(src|sim|tests|bench)/'
lint: build
	@echo "== clang-format: files laid out otherwise"
	@git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run 2>&1 | \
	  sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: warning:.*/\1/p' | sort | uniq -c || true
	@echo "== clang-tidy: readability-identifier-naming"
	@run-clang-tidy -p $(BUILD) -j$(JOBS) -quiet -extra-arg=-Wno-unknown-warning-option \
	  $(LINT_SOURCES) 2>/dev/null | sed 's/\x1b\[[0-9;]*m//g' | grep 'warning:' | grep -v '_autogen/' | sort -u || true

clean:
	rm -rf build build-sanitize build-release build-fuzz
