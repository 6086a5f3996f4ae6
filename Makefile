# The two commands of the README, and the developers' extras.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: run test deps build configure bench format clean dxf-preview

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

# Renders a DXF drawing to PNG: make dxf-preview FILE=job.dxf [OUT=job.png]
dxf-preview:
	@test -n "$(FILE)" || { echo "make dxf-preview FILE=výkres.dxf [OUT=obrázek.png]"; exit 2; }
	tools/dxf-preview "$(FILE)" $(if $(OUT),"$(OUT)")

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD)
