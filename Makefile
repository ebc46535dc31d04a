# The two commands a newcomer needs: `make play` and `make test`.
# Both install the Debian packages they need first. Every build is a preset
# of CMakePresets.json, built in build/<preset>.

.PHONY: play test deps build build-sanitize core soak fuzz bench screenshot package mutants web serve clean

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

# The rules and the simulator alone, built and tested with Qt and X11 made
# unfindable: proof that nothing but the window needs them.
core: deps
	cmake --preset core
	cmake --build --preset core
	ctest --preset core

# Every test, in the normal build (the formatting check included) and again
# under the address and undefined-behaviour sanitizers, plus the core-only
# build. Any compiler warning fails these builds.
test: build build-sanitize core
	ctest --preset default
	ctest --preset sanitize

# The web edition: a static site in build/web, and a local server for it
# (PORT=8000 by default) that prints its address.
web: deps
	scripts/build-web build/web

serve: web
	node web/serve.mjs build/web $${PORT:-8000}

# A million landings of random play, every invariant checked after every
# event, in the sanitizer build; then the page in headless Chromium played
# by random keys for SOAK_MINUTES (default 10) minutes, its memory sampled
# (tests/web/soak/page_soak.js).
soak: build-sanitize
	build/sanitize/tests/soak/soak 1000000 $${SEED:-1}
	scripts/build-web build/web
	cd tests/web && (test -d node_modules/lighthouse -a -d node_modules/axe-core || PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund)
	NUBBO_SITE=$(CURDIR)/build/web SOAK_MINUTES=$${SOAK_MINUTES:-10} SEED=$${SEED:-1} node tests/web/soak/page_soak.js

# Each libFuzzer target for FUZZ_SECONDS (default 600) seconds.
fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz
	scripts/fuzz

# Release builds (one with timestamps of fall steps and keys), the web
# edition with the browser tests' packages (puppeteer-core, lighthouse), and one table of every
# performance figure with its goal.
bench: deps
	cmake --preset release
	cmake --build --preset release
	cmake --preset timing
	cmake --build --preset timing
	scripts/build-web build/web
	cd tests/web && (test -d node_modules/lighthouse -a -d node_modules/axe-core || PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund)
	bench/run.sh

# The README's picture: the real window playing a seeded game, the same on
# every run (tools/screenshot.cpp).
screenshot: build
	build/default/tools/nubbo-screenshot docs/screenshot.png

# A Release build with Debian's hardening flags, packed into
# build/package/deb/nubbo_<version>_<arch>.deb and checked, lintian included.
# The preset reads the flags from the environment that dpkg-buildflags sets.
package: export DEB_BUILD_MAINT_OPTIONS = hardening=+all
package: deps
	eval "$$(dpkg-buildflags --export=sh)" && cmake --preset package
	cmake --build --preset package
	tests/packaging/check.sh deb build/package build/package/deb
	tests/packaging/check.sh lintian build/package/deb/nubbo_*.deb
	@ls build/package/deb/nubbo_*.deb

# Plants small faults in game/*.cpp one at a time and counts those the fast
# tests catch. SEED, MUTANTS, MUTANT_SECONDS, MUTANT_BUDGET and MUTANT_MIN
# tune it; see scripts/mutants.py.
mutants: deps
	scripts/mutants.py

clean:
	rm -rf build
