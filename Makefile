# make demo   sets everything up and plays the demo (windowed).
# make test   sets everything up and runs every test.
BUILD      ?= build
BUILD_SAN  ?= build-sanitize
BUILD_TSAN ?= build-tsan
CMAKE_OPTS ?= $(if $(CI),-DDEMO_WERROR=ON,)

.PHONY: all deps build demo demo-fullscreen test test-sanitize test-tsan bench clean

all: build

deps:
	@tools/scripts/install-deps.sh

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release $(CMAKE_OPTS)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD)

demo: build
	cd $(BUILD)/bin && ./demo_windowed

demo-fullscreen: build
	cd $(BUILD)/bin && ./demo_fullscreen

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j2

# AddressSanitizer + UndefinedBehaviorSanitizer; the 160-second runs are left to `make test`.
test-sanitize: deps
	cmake -S . -B $(BUILD_SAN) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DDEMO_SANITIZE=ON $(CMAKE_OPTS)
	cmake --build $(BUILD_SAN)
	ctest --test-dir $(BUILD_SAN) --output-on-failure -j2 -LE long

# ThreadSanitizer over the sound library's tests.
test-tsan: deps
	cmake -S . -B $(BUILD_TSAN) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DDEMO_TSAN=ON $(CMAKE_OPTS)
	cmake --build $(BUILD_TSAN)
	ctest --test-dir $(BUILD_TSAN) --output-on-failure -L sound

bench: build
	cd $(BUILD)/bin && ./demo_bench --benchmark_repetitions=9 --benchmark_report_aggregates_only=true

clean:
	rm -rf $(BUILD) $(BUILD_SAN) $(BUILD_TSAN)
