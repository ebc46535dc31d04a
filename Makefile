# The two commands a newcomer needs: `make play` and `make test`.
# Both install the Debian packages they need first.

.PHONY: play test deps build build-sanitize soak fuzz bench screenshot package clean

deps:
	scripts/install-deps

build: deps
	cmake --preset default
	cmake --build --preset default

build-sanitize: deps
	cmake --preset sanitize
	cmake --build --preset sanitize

play: build
	scripts/play build/default/ui/nubbo

# Every test, in the normal build and again under the address and
# undefined-behaviour sanitizers.
test: build build-sanitize
	ctest --preset default
	ctest --preset sanitize

# A million landings of random play, every invariant checked after every
# event, in the sanitizer build.
soak: build-sanitize
	build/sanitize/tests/soak/soak 1000000 $${SEED:-1}

# Each libFuzzer target for FUZZ_SECONDS (default 600) seconds.
fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz
	scripts/fuzz

# Release builds (one with timestamps of fall steps and keys) and one table
# of every performance figure with its goal.
bench: deps
	cmake --preset release
	cmake --build --preset release
	cmake -S . -B build/timing -G Ninja -DCMAKE_BUILD_TYPE=Release -DNUBBO_TIMING=ON \
	  -DNUBBO_BUILD_TESTS=OFF -DNUBBO_BUILD_BENCH=OFF
	cmake --build build/timing --target nubbo
	bench/run.sh

# The README's picture: the real window playing a seeded game, the same on
# every run (tools/screenshot.cpp).
screenshot: build
	build/default/tools/nubbo-screenshot docs/screenshot.png

# A Release build with Debian's hardening flags, packed into
# build/package/deb/nubbo_<version>_<arch>.deb and checked, lintian included.
package: export DEB_BUILD_MAINT_OPTIONS = hardening=+all
package: deps
	cmake -S . -B build/package -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DNUBBO_BUILD_TESTS=OFF -DNUBBO_BUILD_BENCH=OFF \
	  "-DCMAKE_CXX_FLAGS=$$(dpkg-buildflags --get CPPFLAGS) $$(dpkg-buildflags --get CXXFLAGS)" \
	  "-DCMAKE_EXE_LINKER_FLAGS=$$(dpkg-buildflags --get LDFLAGS)"
	cmake --build build/package
	tests/packaging/check.sh deb build/package build/package/deb
	tests/packaging/check.sh lintian build/package/deb/nubbo_*.deb
	@ls build/package/deb/nubbo_*.deb

clean:
	rm -rf build
