# The two commands a newcomer needs: `make play` and `make test`.
# Both install the Debian packages they need first.

.PHONY: play test deps build build-sanitize soak fuzz screenshot clean

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

screenshot: build
	scripts/screenshot build/default/ui/nubbo docs/screenshot.png

clean:
	rm -rf build
