#pragma once

// Each target is one libFuzzer entry point; Replay.cpp gives it a plain main() that runs a
// corpus, so builds without libFuzzer (the GCC sanitizer build) still run every input.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

// A broken invariant: say which and stop, so the fuzzer keeps the input.
[[noreturn]] inline void FuzzFail(const std::string& what) {
    std::fprintf(stderr, "fuzz invariant broken: %s\n", what.c_str());
    std::abort();
}
