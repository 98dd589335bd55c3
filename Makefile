# The two commands of a fresh machine: `make run` and `make test`.
.PHONY: deps build test run bench fuzz dist clean

deps:
	@scripts/install-deps.sh

build: deps
	@scripts/build.sh

test: build
	@scripts/test.sh

run: build
	@scripts/run.sh

bench: deps
	@scripts/bench.sh

dist: build
	@scripts/dist.sh

clean:
	rm -rf build
