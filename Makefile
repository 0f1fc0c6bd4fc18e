# make run  - install what is missing, build, start the game
# make test - install the test tools too, build, run every test (normal build and sanitizer build)
BUILD_DIR ?= build
ASAN_DIR ?= build-asan
JOBS ?= $(shell nproc)

PREFIX ?= /usr/local

.PHONY: deps deps-test build run test test-normal test-asan bench fuzz clean install uninstall package

deps:
	@bash tools/install-deps.sh

deps-test:
	@bash tools/install-deps.sh --test

build: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	./$(BUILD_DIR)/bin/kasample

test: test-normal test-asan

test-normal: deps-test build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

test-asan: deps-test
	cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKA_SANITIZE=ON
	cmake --build $(ASAN_DIR) -j $(JOBS)
	cd $(ASAN_DIR) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

bench: build
	cmake --build $(BUILD_DIR) --target benchmarks -j $(JOBS)
	./$(BUILD_DIR)/bin/benchmarks

fuzz:
	@bash tools/install-deps.sh --fuzz
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKA_FUZZ=ON
	cmake --build build-fuzz --target fuzzers -j $(JOBS)

# make install [PREFIX=/usr/local] [DESTDIR=staging folder]; make uninstall
# [DESTDIR=the same folder] removes what the last install wrote
# (build/install_manifest.txt).
install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

uninstall:
	cmake --build $(BUILD_DIR) --target uninstall

# The Debian package: build/package/kasample_VERSION_ARCH.deb
# (cpack rewrites the install manifest: the one of `make install` is kept.)
package: deps-test build
	@cd $(BUILD_DIR) && { [ ! -f install_manifest.txt ] || cp -p install_manifest.txt install_manifest.kept; } \
	  && cpack; status=$$?; \
	  if [ -f install_manifest.kept ]; then mv install_manifest.kept install_manifest.txt; else rm -f install_manifest.txt; fi; \
	  exit $$status

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) build-fuzz
