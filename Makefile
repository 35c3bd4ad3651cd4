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

.PHONY: all deps configure build test demo bench fuzz clean

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

clean:
	rm -rf build build-sanitize build-release build-fuzz
