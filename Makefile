# The two commands of the README, and the developers' extras.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: run test deps build configure bench format clean screenshots menu-screenshot

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

# The windows rendered to PNG under $(BUILD)/screenshots, for a person to look at.
screenshots: configure
	cmake --build $(BUILD) -j $(JOBS) --target tarvo-screenshots
	QT_QPA_PLATFORM=offscreen ./$(BUILD)/tarvo-screenshots $(BUILD)/screenshots

# The main window's menu drawn open, for a person to look at.
menu-screenshot: build
	mkdir -p $(BUILD)/screenshots
	QT_QPA_PLATFORM=offscreen ./$(BUILD)/tests/ui/menus/MenuScreenshot $(BUILD)/screenshots/menu.png

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD)
