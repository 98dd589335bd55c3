# The two commands of a fresh machine: `make run` and `make test`.
.PHONY: deps build test format-check run bench fuzz dist clean

deps:
	@scripts/install-deps.sh

build: deps
	@scripts/build.sh

test: build format-check
	@scripts/test.sh

# Formatting and the one direction of includes; make test runs it first.
format-check: deps
	@scripts/check-source.sh

run: build
	@scripts/run.sh

bench: deps
	@scripts/bench.sh

dist: build
	@scripts/dist.sh

clean:
	rm -rf build
