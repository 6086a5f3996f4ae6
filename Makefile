# The two commands of the README, and the developers' extras.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
PACKAGE_BUILD ?= build-package

.PHONY: run test deps build configure bench format clean screenshots menu-screenshot package package-check dxf-preview

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

bench: build
	bench/run-bench $(BUILD)
	bench/dxf-bench $(BUILD)

# The windows rendered to PNG under $(BUILD)/screenshots, for a person to look at.
screenshots: configure
	cmake --build $(BUILD) -j $(JOBS) --target tarvo-screenshots MenuScreenshot
	QT_QPA_PLATFORM=offscreen ./$(BUILD)/tarvo-screenshots $(BUILD)/screenshots
	QT_QPA_PLATFORM=offscreen ./$(BUILD)/tests/ui/menus/MenuScreenshot $(BUILD)/screenshots/menu.png

# The main window's menu drawn open, for a person to look at.
menu-screenshot: build
	mkdir -p $(BUILD)/screenshots
	QT_QPA_PLATFORM=offscreen ./$(BUILD)/tests/ui/menus/MenuScreenshot $(BUILD)/screenshots/menu.png

# Renders a DXF drawing to PNG: make dxf-preview FILE=job.dxf [OUT=job.png]
dxf-preview:
	@test -n "$(FILE)" || { echo "make dxf-preview FILE=výkres.dxf [OUT=obrázek.png]"; exit 2; }
	tools/dxf-preview "$(FILE)" $(if $(OUT),"$(OUT)")

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

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
