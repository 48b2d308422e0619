// Runs a harness without libFuzzer: every file named on the command line, and every file below
// every folder named there, is handed to LLVMFuzzerTestOneInput once, in name order. The tests run
// each harness this way over its seeds and the inputs that once found a fault, so the harnesses
// keep building and every such input stays fixed. A harness reports a fault by aborting.
//   fuzz_NAME_replay PATH...
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

namespace fs = std::filesystem;

// The regular files a path names: itself, or the files below it in name order.
bool collect(const fs::path& path, std::vector<fs::path>& out) {
    std::error_code ec;
    if (fs::is_regular_file(path, ec)) {
        out.push_back(path);
        return true;
    }
    if (!fs::is_directory(path, ec)) {
        std::fprintf(stderr, "replay: no such file or folder: %s\n", path.string().c_str());
        return false;
    }
    std::vector<fs::path> found;
    for (fs::recursive_directory_iterator it(path, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->is_regular_file(ec)) found.push_back(it->path());
    }
    if (ec) {
        std::fprintf(stderr, "replay: cannot read %s: %s\n", path.string().c_str(), ec.message().c_str());
        return false;
    }
    std::sort(found.begin(), found.end());
    out.insert(out.end(), found.begin(), found.end());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        if (!collect(argv[i], inputs)) return 1;
    }
    if (inputs.empty()) {
        std::fprintf(stderr, "replay: no inputs (usage: %s FILE-OR-FOLDER...)\n", argc > 0 ? argv[0] : "replay");
        return 1;
    }
    for (const fs::path& input : inputs) {
        std::ifstream in(input, std::ios::binary);
        std::vector<uint8_t> bytes;
        if (in) bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (!in.is_open() || in.bad()) {
            std::fprintf(stderr, "replay: cannot read %s\n", input.string().c_str());
            return 1;
        }
        // Named before it runs: a harness that aborts leaves this as the last line.
        std::printf("%s\n", input.string().c_str());
        std::fflush(stdout);
        // libFuzzer never passes a null pointer, not even for an empty input.
        static const uint8_t empty = 0;
        LLVMFuzzerTestOneInput(bytes.empty() ? &empty : bytes.data(), bytes.size());
    }
    std::printf("%zu inputs run\n", inputs.size());
    return 0;
}
