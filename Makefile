# Two commands for a newcomer: `make run` and `make test`.
# Both install what is missing, configure and build the dev preset first.

.PHONY: run test deps build asan fuzz clean

run: build
	./build/dev/bin/kvx --simulate

test: build
	ctest --preset dev

deps:
	@scripts/install-deps

build: deps
	@test -f build/dev/build.ninja || cmake --preset dev
	cmake --build --preset dev

asan: deps
	@test -f build/asan/build.ninja || cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

fuzz: deps
	@test -f build/fuzz/build.ninja || cmake --preset fuzz
	cmake --build --preset fuzz

clean:
	rm -rf build
