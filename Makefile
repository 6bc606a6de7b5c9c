# make demo   installs what building and playing need, builds the demo programs
#             and their data only, and plays the demo (windowed).
# make test   sets everything up and runs every test.
# make web    the demo as a static web site in build-web/site; make serve-web serves it.
# make windows / make test-windows: the Windows build (cross-compiled) and its tests under Wine.
# make linux / make test-linux: the Debian package and the self-contained archive, and their tests.
# make linux-arm64 / make test-linux-arm64: the same for 64-bit ARM, cross-built, tested under qemu.
# make release: every download of this commit in dist/, with SHA256SUMS and RELEASE-NOTES.md;
#   make test-release checks that a second build from clean folders gives the same bytes.
BUILD      ?= build
BUILD_SAN  ?= build-sanitize
BUILD_TSAN ?= build-tsan
BUILD_WEB  ?= build-web
BUILD_WIN  ?= build-windows
BUILD_FUZZ ?= build-fuzz
BUILD_ARM64 ?= build-arm64
FUZZ_SECONDS ?= 60
WEB_PORT   ?= 8000
# Every build folder is configured on every run with these options, so a
# changed option (CI=1 turns warnings into errors) takes effect at once.
CMAKE_OPTS ?= -DDEMO_WERROR=$(if $(CI),ON,OFF)
# OFF builds no test or benchmark program where the tests are not run (the
# second build of make test-release).
TESTS      ?= ON

.PHONY: all deps deps-viewer configure build demo-programs programs demo demo-fullscreen release test-release test test-sanitize test-tsan bench bench-web web serve-web test-web windows test-windows linux test-linux linux-arm64 test-linux-arm64 bench-arm64 clean check-format fuzz

all: build

deps:
	@tools/scripts/install-deps.sh

deps-viewer:
	@tools/scripts/install-deps.sh viewer

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DDEMO_TESTS=$(TESTS) $(CMAKE_OPTS) > /dev/null

build: configure
	cmake --build $(BUILD)

# The demo programs and their data files, nothing else. A new build folder is
# made without the tests (no test package needed); one that has them keeps them.
demo-programs: deps-viewer
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  $(if $(wildcard $(BUILD)/CMakeCache.txt),,-DDEMO_TESTS=OFF) $(CMAKE_OPTS) > /dev/null
	cmake --build $(BUILD) --target demo_programs

demo: demo-programs
	cd $(BUILD)/bin && ./demo_windowed

demo-fullscreen: demo-programs
	cd $(BUILD)/bin && ./demo_fullscreen

# What the packages hold: the demo programs, the capture and the data files.
programs: configure
	cmake --build $(BUILD) --target demo_programs demo_capture

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

# WebAssembly: SDL2 and libopenmpt for wasm are built once into
# /var/cache/demo-deps (tools/scripts/web-deps.sh); the data comes from the
# native generator.
web: configure
	cmake --build $(BUILD) --target demo_assetgen
	libs=$$(tools/scripts/web-deps.sh) && \
	cmake -S . -B $(BUILD_WEB) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/web/toolchain.cmake \
	  -DDEMO_WASM_LIBS="$$libs" -DDEMO_HOST_ASSETGEN=$(CURDIR)/$(BUILD)/bin/demo_assetgen $(CMAKE_OPTS)
	cmake --build $(BUILD_WEB) -j2

serve-web: web
	@echo "The demo: http://127.0.0.1:$(WEB_PORT)/index.html"
	cd $(BUILD_WEB)/site && python3 -m http.server $(WEB_PORT) --bind 127.0.0.1

# The wasm capture under Node and the page in headless Chromium, both against
# the native build's frames and soundtrack.
test-web: web build
	tools/scripts/test-web.sh $(BUILD) $(BUILD_WEB)

# libFuzzer on the XM reader and the image loader, FUZZ_SECONDS each; the
# inputs it finds go into $(BUILD_FUZZ)/findings (tools/scripts/fuzz.sh).
fuzz:
	tools/scripts/fuzz.sh $(BUILD_FUZZ) $(FUZZ_SECONDS)

# The CPU time of a whole capture under Node against the native one, and the
# trigonometry's share of it (reported, not checked).
bench-web: web build
	tools/scripts/web-speed.sh $(BUILD) $(BUILD_WEB)

# Every C++ file as .clang-format has it; the layers include only downward.
check-format: deps
	tools/scripts/check-format.sh
	tools/scripts/check-layers.sh

# 64-bit Windows: the programs, their DLLs and data files in dist/qzt-dmbl-VERSION-windows-x86_64.zip.
# The first run builds SDL2, libopenmpt and GoogleTest for Windows (cached outside the checkout).
windows: deps
	tools/scripts/windows-build.sh $(BUILD_WIN) -DDEMO_TESTS=$(TESTS) $(CMAKE_OPTS)

# The Windows unit tests, the capture and demo_windowed.exe under Wine, against the Linux build.
test-windows: build windows
	tests/windows/run.sh $(BUILD) $(BUILD_WIN)

# dist/qzt-dmbl_VERSION_amd64.deb and dist/qzt-dmbl-VERSION-linux-x86_64.tar.gz from the native build.
linux: programs
	tools/scripts/linux-package.sh $(BUILD)

# Both in a minimal Debian 12 (debootstrap, cached outside the checkout) against
# the native build, and the package installed here under Xvfb. Needs root.
test-linux: build linux
	tests/linux/run.sh $(BUILD)

# 64-bit ARM Linux: cross-compiled with Debian's aarch64 toolchain against
# Debian's arm64 SDL2 and libopenmpt (tools/scripts/arm64-deps.sh), the data
# from the native generator; dist/qzt-dmbl_VERSION_arm64.deb and
# dist/qzt-dmbl-VERSION-linux-aarch64.tar.gz.
linux-arm64: build
	tools/scripts/linux-arm64-build.sh $(BUILD) $(BUILD_ARM64) $(CMAKE_OPTS)

# Its unit tests and golden frames, its capture, its package and its archive
# under qemu-aarch64, against the native build.
test-linux-arm64: linux-arm64
	tests/linux-arm64/run.sh $(BUILD) $(BUILD_ARM64)

# The benchmarks of the ARM build under qemu (ratios mean something, times do not).
bench-arm64: build
	DEMO_ARM64_EXTRA_TARGETS=demo_bench tools/scripts/linux-arm64-build.sh $(BUILD) $(BUILD_ARM64) $(CMAKE_OPTS)
	cd $(BUILD_ARM64)/bin && qemu-aarch64-static ./demo_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

# Into dist/: the Windows zip, the Debian package, the Linux archive, the web
# site as a zip, the source archive, SHA256SUMS and RELEASE-NOTES.md; each
# built when missing, reused when built (tools/scripts/release.sh). Dates are
# the commit's, so the same commit gives the same bytes.
release:
	tools/scripts/release.sh $(BUILD) $(BUILD_WEB) $(BUILD_WIN)

# The release made here against one made again from clean build folders in a
# fresh clone elsewhere (tools/scripts/test-release.sh).
test-release: release
	tools/scripts/test-release.sh

clean:
	rm -rf $(BUILD) $(BUILD_SAN) $(BUILD_TSAN) $(BUILD_WEB) $(BUILD_WIN) $(BUILD_FUZZ) $(BUILD_ARM64) dist
