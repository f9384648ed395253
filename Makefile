# Vandoro 4.1 — build entry points. `make run` and `make test` work alone on a fresh Debian 12.
BUILD    ?= build
JOBS     ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_GEN = $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")
PACKAGES  = build-essential cmake ninja-build pkg-config libgtest-dev libgmock-dev libbenchmark-dev \
            qt6-base-dev qt6-charts-dev qt6-translations-l10n libgl-dev libgdal-dev fonts-dejavu-core fonts-liberation \
            dpkg-dev file desktop-file-utils libxml2-utils shared-mime-info poppler-utils
FUZZ_PACKAGES = clang libclang-rt-14-dev
TELAS_PACKAGES = xvfb xauth
# gdaldem is the reference the commands are timed against; time gives their peak memory.
BENCH_PACKAGES = gdal-bin time
SUDO      = $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: deps deps-fuzz deps-telas build test atualizar-referencias run telas pacote bench test-asan fuzz fuzz-run clean

# Installs those of the packages $(1) that are missing, so a second run is quick.
define instalar
@faltam=""; for p in $(1); do \
  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || faltam="$$faltam $$p"; \
done; \
if [ -n "$$faltam" ]; then \
  echo "Instalando:$$faltam"; \
  $(SUDO) apt-get update && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y $$faltam; \
fi
endef

deps:
	$(call instalar,$(PACKAGES))

deps-fuzz: deps
	$(call instalar,$(FUZZ_PACKAGES))

deps-telas: deps
	$(call instalar,$(TELAS_PACKAGES))

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DVANDORO_WERROR=ON
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# Rewrites the checked report files (tests/data/relatorios/) from this build, for a change
# that alters a report on purpose: review the diff before committing. ctest only compares.
atualizar-referencias: build
	VANDORO_ATUALIZAR_REFERENCIAS=1 $(BUILD)/tests/test_sizing --gtest_filter='Relatorio*'
	VANDORO_ATUALIZAR_REFERENCIAS=1 $(BUILD)/tests/test_rainfall --gtest_filter='Relatorio*'
	@git diff --stat -- tests/data/relatorios 2>/dev/null || true

EXEMPLO = $(BUILD)/bin/Exemplos/Terraco em nivel.kzp

# The desktop program on the level-terrace example; without a display, the same example
# sized on the command line.
run: build
	@if [ -n "$$DISPLAY" ] || [ -n "$$WAYLAND_DISPLAY" ]; then \
	  $(BUILD)/bin/vandoro "$(EXEMPLO)"; \
	else \
	  echo "Sem tela (DISPLAY e WAYLAND_DISPLAY vazios): dimensionamento do exemplo pela linha de comando."; \
	  $(BUILD)/bin/vandoro-cli dimensionar "$(EXEMPLO)"; \
	fi

# The Debian package $(BUILD)/vandoro_<versão>_amd64.deb; install it with
# sudo apt install ./$(BUILD)/vandoro_4.1.0_amd64.deb (or dpkg -i).
pacote: build
	cd $(BUILD) && cpack -G DEB
	@ls -l $(BUILD)/vandoro_*.deb

# Pictures of the program's real windows under a virtual 1366x768 screen, in build/telas/,
# taken by the build's own tool (tools/telas).
telas: build deps-telas
	rm -rf $(BUILD)/telas
	LANG=pt_BR.UTF-8 QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1366x768x24" $(BUILD)/bin/vandoro-telas $(BUILD)/telas

bench: deps
	$(call instalar,$(BENCH_PACKAGES))
	cmake -S . -B $(BUILD)-bench $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DVANDORO_BENCH=ON -DVANDORO_TESTS=OFF
	cmake --build $(BUILD)-bench -j $(JOBS)
	@for b in $(BUILD)-bench/bench/bench_*; do if [ -f "$$b" ] && [ -x "$$b" ]; then "$$b" || exit 1; fi; done
	bench/comparar.sh $(BUILD)-bench/bin/vandoro-cli

test-asan: deps
	cmake -S . -B $(BUILD)-asan $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DVANDORO_SANITIZE=ON
	cmake --build $(BUILD)-asan -j $(JOBS)
	@# Qt's libraries keep no frame pointers: the window tests take the slow unwinder, so that a
	@# leak is traced to whoever made it and tests/lsan.supp can name those that are Qt's own.
	cd $(BUILD)-asan && export LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp UBSAN_OPTIONS=print_stacktrace=1; \
	  ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j $(JOBS) -LE gui; r=$$?; \
	  ASAN_OPTIONS=detect_leaks=1:fast_unwind_on_malloc=0 ctest --output-on-failure -j $(JOBS) -L gui && exit $$r

# Builds the libFuzzer targets; run one with e.g. build-fuzz/fuzz/fuzz_ini -max_total_time=120
fuzz: deps-fuzz
	CXX=clang++ cmake -S . -B $(BUILD)-fuzz $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANDORO_FUZZ=ON -DVANDORO_TESTS=OFF -DVANDORO_GUI=OFF
	cmake --build $(BUILD)-fuzz -j $(JOBS)

# Runs every fuzz target over its seed corpus (fuzz/corpus/<target>/) for MINUTOS minutes each;
# new inputs go to build-fuzz/corpus, anything that crashes is kept under fuzz/crashers/<target>/.
# A library's own leaks named in fuzz/crashers/<target>.lsan do not stop the run.
MINUTOS ?= 1
fuzz-run: fuzz
	@for alvo in $(BUILD)-fuzz/fuzz/fuzz_*; do \
	  nome=$$(basename $$alvo); \
	  mkdir -p $(BUILD)-fuzz/corpus/$$nome fuzz/crashers/$$nome; \
	  echo "== $$nome ($(MINUTOS) min)"; \
	  supp=fuzz/crashers/$$nome.lsan; [ -f $$supp ] && export LSAN_OPTIONS=suppressions=$(CURDIR)/$$supp || unset LSAN_OPTIONS; \
	  $$alvo -max_total_time=$$(( $(MINUTOS) * 60 )) -timeout=20 -rss_limit_mb=4096 -print_final_stats=1 \
	    -artifact_prefix=fuzz/crashers/$$nome/ $(BUILD)-fuzz/corpus/$$nome fuzz/corpus/$$nome || falhou="$$falhou $$nome"; \
	done; \
	if [ -n "$$falhou" ]; then echo "Falharam:$$falhou (entradas em fuzz/crashers/)"; exit 1; fi

clean:
	rm -rf $(BUILD) $(BUILD)-asan $(BUILD)-bench $(BUILD)-fuzz
