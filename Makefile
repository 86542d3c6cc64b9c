# SPDX-License-Identifier: GPL-3.0-or-later
# Two commands for a newcomer: `make run` and `make test`.
# Both install what is missing, configure and build the dev preset first.

.PHONY: run test deps build deb asan tsan fuzz clean

# The simulated box with a first configuration: V1 and V2 against time.
run: build
	./build/dev/bin/kvx --simulate "$(CURDIR)/data/premiers-pas.KVX"

test: build
	ctest --preset dev

deps:
	@scripts/install-deps

build: deps
	@test -f build/dev/build.ninja || cmake --preset dev
	cmake --build --preset dev

# The Debian package, built by dpkg-buildpackage from a copy of the tree in
# build/deb/kvx (it writes beside the tree it builds), leaving kvx_*.deb, the
# -dbgsym package and the .changes in build/deb/. DEB_BUILD_OPTIONS passes
# through: CI gives nocheck, its tests having already run.
deb:
	@scripts/install-deps --package
	rm -rf build/deb
	mkdir -p build/deb/kvx
	tar -c --exclude=./build --exclude=./.git --exclude='./obj-*' . | tar -x -C build/deb/kvx
	cd build/deb/kvx && dpkg-buildpackage -us -uc -b
	@ls build/deb/*.deb

asan: deps
	@test -f build/asan/build.ninja || cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

# The tests that start a trigger worker, under ThreadSanitizer (core only:
# Qt's own libraries are not built for it).
tsan: deps
	@test -f build/tsan/build.ninja || cmake --preset tsan
	cmake --build --preset tsan
	ctest --preset tsan

fuzz: deps
	@test -f build/fuzz/build.ninja || cmake --preset fuzz
	cmake --build --preset fuzz

clean:
	rm -rf build
