# make run [FILE=path]   install what is missing, build, start the editor
# make test              install what is missing, build, run every test
BUILD ?= build
PACKAGES = build-essential cmake ninja-build qt6-base-dev qt6-qpa-plugins libcurl4-openssl-dev \
           libicu-dev libpcre2-dev pkgconf libgtest-dev googletest poppler-utils libxcb1-dev xvfb x11-utils \
           desktop-file-utils appstream dpkg-dev file man-db qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
JOBS ?= $(shell nproc)

.PHONY: run test build deps sanitize clean

deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing Debian packages:$$missing"; \
	  SUDO=""; [ "$$(id -u)" -ne 0 ] && SUDO=sudo; \
	  $$SUDO apt-get update && DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y $$missing; \
	fi

build: deps
	cmake -S . -B $(BUILD) -G Ninja
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/quorlex $(FILE)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

sanitize: deps
	cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUORLEX_SANITIZE=ON
	cmake --build build-asan -j $(JOBS)
	cd build-asan && ASAN_OPTIONS=detect_leaks=0 ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD) build-asan
