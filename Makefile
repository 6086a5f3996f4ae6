# The two commands of the README, and the developers' extras.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
PACKAGE_BUILD ?= build-package

FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 300
ASAN_BUILD ?= build-asan
WERROR_BUILD ?= build-werror
TSAN_BUILD ?= build-tsan
TSAN_TESTS ?= ^(LineSettings|PosixSerialDevice|SerialLink|ReceptionTest|ReceptionFuzzer)

.PHONY: run test deps build configure bench format format-check werror clean screenshots menu-screenshot package \
	package-check dxf-preview dxf-check check-figures preview-figures degree-figures fuzz fuzz-build fuzz-smoke fuzz-coverage test-asan test-tsan faults

run: build
	./$(BUILD)/tarvo

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

deps:
	tools/install-deps

configure: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Faults on real files, outside the timed suite: outputs onto a full disk at many fill
# levels, tarvo-cli convert killed at many moments, receptions whose instrument dies,
# whose port disappears or whose disk fills. Prints its figures, which must read
# "0 lost, 0 partial"; FAULTS=short is the version CI runs.
FAULTS ?= full
faults: build
	tools/faults/run-faults $(BUILD) $(FAULTS)

bench: build
	bench/run-bench $(BUILD)
	bench/dxf-bench $(BUILD)
	$(BUILD)/bench/preparation-bench

# The field-book check on made-up jobs with and without a blunder: the share of
# blunders it names, of clean jobs it alarms, and its time against the parser's;
# then tarvo-cli check against tarvo-cli convert on a million records.
check-figures: configure
	cmake --build $(BUILD) -j $(JOBS) --target check-figures tarvo-cli
	./$(BUILD)/bench/check-figures
	bench/check-vs-convert $(BUILD)

# The drawing preview of a 100,000-point job under the offscreen platform: time to
# the whole drawing, a wheel step and a pan, and the memory before, at most and
# after it closes.
preview-figures: configure
	cmake --build $(BUILD) -j $(JOBS) --target preview-figures
	QT_QPA_PLATFORM=offscreen ./$(BUILD)/bench/preview-figures

# Every whole second of a full circle in degrees (both forms the instruments write)
# converted to gon and written to 0.0001 gon: how many came out other than exact.
degree-figures: configure
	cmake --build $(BUILD) -j $(JOBS) --target degree-figures
	./$(BUILD)/bench/degree-figures

# The windows rendered to PNG under $(BUILD)/screenshots, for a person to look at.
screenshots: configure
	cmake --build $(BUILD) -j $(JOBS) --target tarvo-screenshots MenuScreenshot
	QT_QPA_PLATFORM=offscreen ./$(BUILD)/tarvo-screenshots $(BUILD)/screenshots
	QT_QPA_PLATFORM=offscreen ./$(BUILD)/tests/gui/menus/MenuScreenshot $(BUILD)/screenshots/menu.png

# The main window's menu drawn open, for a person to look at.
menu-screenshot: build
	mkdir -p $(BUILD)/screenshots
	QT_QPA_PLATFORM=offscreen ./$(BUILD)/tests/gui/menus/MenuScreenshot $(BUILD)/screenshots/menu.png

# Renders a DXF drawing to PNG: make dxf-preview FILE=job.dxf [OUT=job.png]
dxf-preview:
	@test -n "$(FILE)" || { echo "make dxf-preview FILE=výkres.dxf [OUT=obrázek.png]"; exit 2; }
	tools/dxf-preview "$(FILE)" $(if $(OUT),"$(OUT)")

# The drawings of tarvo-cli read by ezdxf, GDAL and LibreCAD in every variant of
# their axes, layers and heights (the same tests run in make test).
dxf-check: configure
	cmake --build $(BUILD) -j $(JOBS) --target tarvo-cli
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) -R '^Dxf(Readers|EzdxfCheck)'

format: deps
	clang-format -i --style=file $$(git ls-files '*.cpp' '*.h')

# Fails, listing the places, when a source is not formatted as .clang-format says.
format-check: deps
	clang-format --dry-run -Werror --style=file $$(git ls-files '*.cpp' '*.h')

# The whole build with every warning an error, in a directory of its own.
werror: deps
	cmake -S . -B $(WERROR_BUILD) -DTARVO_WERROR=ON
	cmake --build $(WERROR_BUILD) -j $(JOBS)

clean:
	rm -rf $(BUILD)

# The Debian package, built in a directory of its own with Debian's release and
# hardening flags; only what the package holds is compiled.
package: deps
	export DEB_BUILD_MAINT_OPTIONS=hardening=+all; \
	cmake -S . -B $(PACKAGE_BUILD) -DCMAKE_BUILD_TYPE=Release -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
	    -DCMAKE_CXX_FLAGS="$$(dpkg-buildflags --get CPPFLAGS) $$(dpkg-buildflags --get CXXFLAGS)" \
	    -DCMAKE_EXE_LINKER_FLAGS="$$(dpkg-buildflags --get LDFLAGS)"
	cmake --build $(PACKAGE_BUILD) -j $(JOBS) --target package-contents
	cd $(PACKAGE_BUILD) && cpack -G DEB

package-check: package
	tests/package/check-package $(PACKAGE_BUILD)

# The fuzz targets of tests/fuzz, built with clang in a directory of their own, run
# FUZZ_SECONDS each; new inputs are kept in tests/fuzz/corpus/<target>/.
fuzz-build: deps
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DTARVO_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS)

fuzz: fuzz-build
	tests/fuzz/run-fuzzers $(FUZZ_BUILD) $(FUZZ_SECONDS)

fuzz-smoke:
	$(MAKE) fuzz FUZZ_SECONDS=60

# Line coverage of the core libraries over the committed corpus.
fuzz-coverage: deps
	cmake -S . -B $(FUZZ_BUILD)-coverage -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	    -DTARVO_FUZZ=ON -DCMAKE_CXX_FLAGS="-fprofile-instr-generate -fcoverage-mapping"
	cmake --build $(FUZZ_BUILD)-coverage -j $(JOBS)
	tests/fuzz/coverage-report $(FUZZ_BUILD)-coverage

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer; any report
# fails its test.
test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVO_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && QTEST_DISABLE_STACK_DUMP=1 ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 \
	    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	    ctest --output-on-failure -j $(JOBS)

# The serial link and reception tests under ThreadSanitizer.
test-tsan: deps
	cmake -S . -B $(TSAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVO_TSAN=ON
	targets=$$(cd $(TSAN_BUILD) && ctest -N -R '$(TSAN_TESTS)' | sed -n 's/^ *Test *#[0-9]*: \([^ .]*\).*/\1/p' | sed 's/Replay$$//' | sort -u); \
	if [ -n "$$targets" ]; then cmake --build $(TSAN_BUILD) -j $(JOBS) --target $$targets; fi
	cd $(TSAN_BUILD) && QTEST_DISABLE_STACK_DUMP=1 TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=$(CURDIR)/tests/sanitizers/tsan.supp \
	    ctest --output-on-failure --no-tests=ignore -R '$(TSAN_TESTS)'

# --- Windows: cross-built with MinGW-w64 and the static Qt of the shared toolchain
# folder, tested under Wine on a private X server (tools/windows/). ---
WINDOWS_BUILD ?= build-windows
WINDOWS_QT = $(CURDIR)/.windows/qt6-mingw
# What a Windows build runs while it builds, and the Linux side of its tests.
WINDOWS_HOST_TOOLS = tarvo-make-manual tarvo-render-icon tarvo-screenshots tarvo-sim tarvo-cli

.PHONY: windows-deps windows-host-tools windows test-windows windows-package screenshots-windows

windows-deps: deps
	tools/install-windows-deps

windows-host-tools: configure
	cmake --build $(BUILD) -j $(JOBS) --target $(WINDOWS_HOST_TOOLS)

windows: windows-deps windows-host-tools
	cmake -S . -B $(WINDOWS_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	    -DCMAKE_TOOLCHAIN_FILE=$(WINDOWS_QT)/lib/cmake/Qt6/qt.toolchain.cmake \
	    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
	    -DTARVO_HOST_TOOLS_DIR=$(CURDIR)/$(BUILD) \
	    -DCMAKE_CROSSCOMPILING_EMULATOR=$(CURDIR)/tools/windows/wine-run
	cmake --build $(WINDOWS_BUILD) -j $(JOBS)

# The suite of the Windows build under Wine: the core and window tests, the golden
# files of the Linux suite, a COM port against the simulated instrument, the registry.
test-windows: windows
	tools/windows/wine-session ctest --test-dir $(WINDOWS_BUILD) --output-on-failure -j $(JOBS)

# tarvo-<version>-setup.exe and tarvo-<version>-win64.zip in $(WINDOWS_BUILD),
# then a silent install and uninstall under Wine.
windows-package: windows
	cmake --build $(WINDOWS_BUILD) -j $(JOBS) --target windows-package
	tools/windows/wine-session tests/windows/check-installer $(WINDOWS_BUILD) $(BUILD)/tarvo-cli examples

# The windows rendered under Wine to PNG in $(WINDOWS_BUILD)/screenshots-windows.
screenshots-windows: windows
	tools/windows/wine-session tools/windows/screenshots $(WINDOWS_BUILD) $(WINDOWS_BUILD)/screenshots-windows
