# Entry points for people and CI. Each target installs what is missing first.
.PHONY: all deps native test test-native windows run dist test-windows bench clean

JOBS ?= $(shell nproc 2>/dev/null || echo 2)

all: native

deps:
	bash scripts/install-deps.sh

native: deps
	cmake --preset native
	cmake --build --preset native -j $(JOBS)

test-native: native
	ctest --preset native -j $(JOBS)

# The native suite, then the Windows build's suites under Wine.
test: test-native
	bash scripts/test-windows.sh

windows: deps
	bash scripts/build-windows.sh

test-windows: deps
	bash scripts/test-windows.sh

# make run PACK=path/to/pack starts the program on that pack folder in place.
run: deps
	bash scripts/run.sh $(if $(PACK),--pack '$(PACK)')

# build/dist/pallo-<version>-win64.zip: the programs, the demo pack and README.txt.
dist: deps
	bash scripts/dist.sh

bench: deps
	cmake --preset release
	cmake --build --preset release -j $(JOBS)
	@for b in build/release/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

# The libraries' cache (~/.cache/pallo) stays; README says how to clear it.
clean:
	rm -rf build
