// Runs a fuzz harness over stored inputs without libFuzzer, so the test
// suite replays every input that once failed.
//
//   replay_* DIR_OR_FILE...
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    // Every path is resolved before the first input runs: a harness may
    // change the working directory.
    std::vector<std::filesystem::path> inputs;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path arg = std::filesystem::absolute(argv[i]);
        if (!std::filesystem::is_directory(arg)) {
            inputs.push_back(arg);
            continue;
        }
        for (const auto& entry : std::filesystem::directory_iterator(arg)) {
            if (entry.is_regular_file()) {
                inputs.push_back(entry.path());
            }
        }
    }
    for (const std::filesystem::path& input : inputs) {
        std::ifstream in(input, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "cannot read %s\n", input.string().c_str());
            return 1;
        }
        const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
    std::fprintf(stderr, "replayed %zu inputs\n", inputs.size());
    return 0;
}
